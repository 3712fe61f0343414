#pragma once

#include <QWidget>

// A pie-shaped progress gauge.
class TGauge : public QWidget {
  Q_OBJECT
public:
  explicit TGauge(QWidget* parent);
  int MaxValue() const { return FMax; }
  int Progress() const { return FProgress; }
  void SetMaxValue(int max);
  void SetProgress(int progress);

protected:
  void paintEvent(QPaintEvent* e) override;

private:
  int FMax = 100;
  int FProgress = 0;
};
