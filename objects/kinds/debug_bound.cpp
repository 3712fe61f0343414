#include "debug_bound.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTimer>

#include "command_trace.h"

namespace {
std::function<QString()>& Describer() {
  static std::function<QString()> describe = [] { return QStringLiteral("NONE"); };
  return describe;
}
}  // namespace

void SetLibraryListDescriber(std::function<QString()> describe) { Describer() = std::move(describe); }

QString LibraryListDescription() { return Describer() ? Describer()() : QStringLiteral("nil"); }

TDebugBound::TDebugBound(QWidget* mainWindow) : TCustomBound(mainWindow, "TDebugBound") {
  IncKindLevel();
  Panel()->SetCaption(QString());
  RecvMask = 0;
  SendMask = 0;
  FTitleLabel = new QLabel(Panel());
  FTitleLabel->setObjectName(QStringLiteral("TitleLabel"));
  FTraceLabel = new QLabel(Panel());
  FTraceLabel->setObjectName(QStringLiteral("TraceLabel"));
  FInstanceMemo = new QPlainTextEdit(Panel());
  FInstanceMemo->setObjectName(QStringLiteral("InstanceMemo"));
  FTraceView = new TTraceView(Panel());
  FTraceView->setObjectName(QStringLiteral("TraceView"));
  for (QAbstractScrollArea* a : {static_cast<QAbstractScrollArea*>(FInstanceMemo.data()),
                                 static_cast<QAbstractScrollArea*>(FTraceView.data())}) {
    a->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    a->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  }
  FInstanceMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
  FInstanceMemo->setReadOnly(true);
  FTraceView->Tag = 0;
  FTimer = new QTimer(Panel());
  FTimer->setInterval(1000);
  connect(FTimer, &QTimer::timeout, this, &TDebugBound::Refresh);
  AddTraceView(FTraceView);
  for (QWidget* w : {static_cast<QWidget*>(FTitleLabel.data()), static_cast<QWidget*>(FTraceLabel.data()),
                     static_cast<QWidget*>(FInstanceMemo.data()), static_cast<QWidget*>(FTraceView.data())})
    w->hide();
  LocalizePopup();
}

TDebugBound::~TDebugBound() {
  if (FTraceView) {
    FTraceView->Tag = 0;
    RemoveTraceView(FTraceView);
  }
  if (FTimer) {
    FTimer->stop();
    disconnect(FTimer, nullptr, this, nullptr);
  }
}

void TDebugBound::SetParentControl(QWidget* parent) {
  TCustomBound::SetParentControl(parent);
  FTitleLabel->setText(QStringLiteral("INTERFACE READY"));
  FTraceLabel->setText(QStringLiteral("INITIALIZING..."));
  for (QWidget* w : {static_cast<QWidget*>(FTitleLabel.data()), static_cast<QWidget*>(FTraceLabel.data()),
                     static_cast<QWidget*>(FInstanceMemo.data()), static_cast<QWidget*>(FTraceView.data())})
    w->show();
  Panel()->RouteMouse(FTitleLabel, false);
  FTraceView->Tag = 255;
  Arrange();
}

void TDebugBound::Arrange() {
  TCustomBound::Arrange();
  if (!ParentControl()) {
    FTimer->stop();
    return;
  }
  FTimer->start();
  const int W = Panel()->width(), H = Panel()->height();
  FTitleLabel->setGeometry(4, 4, W - 8, FTitleLabel->sizeHint().height());
  const int memoTop = FTitleLabel->geometry().bottom() + 1 + 4;
  FInstanceMemo->setGeometry(4, memoTop, W - 8, qMax(1, (H - memoTop - 8) / 4));
  const int traceLabelTop = FInstanceMemo->geometry().bottom() + 1 + 4;
  FTraceLabel->setGeometry(4, traceLabelTop, W - 8, FTraceLabel->sizeHint().height());
  const int traceBottom = FTraceLabel->geometry().bottom() + 1;
  FTraceView->setGeometry(4, traceBottom + 2, W - 8, qMax(1, H - traceBottom - 8));
  QPalette p = FTraceView->palette();
  p.setColor(QPalette::Base, QColor(0x00, 0x00, 0x80));
  p.setColor(QPalette::Text, Qt::white);
  FTraceView->setPalette(p);
  FTraceView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  if (!Panel()->isVisible()) Panel()->show();
}

void TDebugBound::Refresh() {
  FTitleLabel->setText(QStringLiteral("Module Instnace"));
  FTraceLabel->setText(QStringLiteral("Command Trace"));
  const QString text = LibraryListDescription();
  if (FInstanceMemo->toPlainText() != text) FInstanceMemo->setPlainText(text);
}

QString TDebugBound::GetRecord() {
  return ExtendRecord(TCustomBound::GetRecord(), QStringLiteral("debug"),
                      {QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"),
                       QStringLiteral("-")});
}

void TDebugBound::SetRecord(const QString& text) {
  TCustomBound::SetRecord(text);
  if (!text.isEmpty()) Arrange();
}
