#pragma once

#include <functional>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>

#include "command_trace.h"
#include "custom_bound.h"

// A diagnostic pane: the loaded add-on libraries and the command trace.
class TDebugBound : public TCustomBound {
  Q_OBJECT
public:
  explicit TDebugBound(QWidget* mainWindow);
  ~TDebugBound() override;

  QLabel* TitleLabel() const { return FTitleLabel; }
  QLabel* TraceLabel() const { return FTraceLabel; }
  QPlainTextEdit* InstanceMemo() const { return FInstanceMemo; }
  TTraceView* TraceView() const { return FTraceView; }
  QTimer* Timer() const { return FTimer; }

  void SetParentControl(QWidget* parent) override;
  void Arrange() override;
  QString GetRecord() override;
  void SetRecord(const QString& text) override;
  void Refresh();

private:
  QPointer<QLabel> FTitleLabel, FTraceLabel;
  QPointer<QPlainTextEdit> FInstanceMemo;
  QPointer<TTraceView> FTraceView;
  QPointer<QTimer> FTimer;
};

// The text of the loaded add-on library list ("NONE" while no module is
// loaded); the add-on layer installs its own.
void SetLibraryListDescriber(std::function<QString()> describe);
QString LibraryListDescription();
