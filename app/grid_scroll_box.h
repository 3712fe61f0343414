#pragma once

#include <QScrollArea>

class TGridScrollBox;

// The surface the objects' panels sit on. It grows with its children so the
// scroll box can scroll to every panel, and paints the grid when asked.
class TGridHost : public QWidget {
  Q_OBJECT
public:
  explicit TGridHost(TGridScrollBox* owner);

signals:
  void Clicked();

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void childEvent(QChildEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void FitChildren();
  TGridScrollBox* FOwner;
};

// The client area of the main window: a scroll box without a border of its
// own, holding the objects' panels, able to paint a grid.
class TGridScrollBox : public QScrollArea {
  Q_OBJECT
public:
  explicit TGridScrollBox(QWidget* parent);

  int GridSize() const { return FGridSize; }
  int GridLineWidth() const { return FGridLineWidth; }
  bool ShowGrid() const { return FShowGrid; }
  void SetShowGrid(bool on);

  // The widget the objects' panels are children of.
  TGridHost* Host() const { return FHost; }

signals:
  // A click on the empty grid area.
  void Clicked();

private:
  const int FGridSize = 4;
  const int FGridLineWidth = 0;
  bool FShowGrid = false;
  TGridHost* FHost;
};
