#include "grid_scroll_box.h"

#include <QChildEvent>
#include <QMouseEvent>
#include <QPainter>

TGridHost::TGridHost(TGridScrollBox* owner) : FOwner(owner) {
  setObjectName(QStringLiteral("GridHost"));
  setAutoFillBackground(true);
}

void TGridHost::paintEvent(QPaintEvent*) {
  if (!FOwner->ShowGrid()) return;
  QPainter p(this);
  const int lw = FOwner->GridLineWidth();
  p.setPen(QPen(Qt::black, lw > 0 ? lw : 1));
  const int step = FOwner->GridSize(), w = width(), h = height();
  for (int x = 0; x < w - 1; x += step) p.drawLine(x, 0, x, h - 1);
  for (int y = 0; y < h - 1; y += step) p.drawLine(0, y, w - 1, y);
}

void TGridHost::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit Clicked();
  QWidget::mousePressEvent(event);
}

void TGridHost::childEvent(QChildEvent* event) {
  if (event->child()->isWidgetType()) {
    if (event->added()) event->child()->installEventFilter(this);
    FitChildren();
  }
  QWidget::childEvent(event);
}

bool TGridHost::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide: FitChildren(); break;
    default: break;
  }
  return QWidget::eventFilter(watched, event);
}

void TGridHost::FitChildren() {
  QRect all;
  for (QObject* o : children()) {
    auto* w = qobject_cast<QWidget*>(o);
    if (w && !w->isHidden() && !w->isWindow()) all |= w->geometry();
  }
  setMinimumSize(qMax(0, all.right() + 1), qMax(0, all.bottom() + 1));
}

TGridScrollBox::TGridScrollBox(QWidget* parent) : QScrollArea(parent), FHost(new TGridHost(this)) {
  setObjectName(QStringLiteral("GridScrollBox"));
  setFrameShape(QFrame::NoFrame);
  setWidgetResizable(true);
  setWidget(FHost);
  connect(FHost, &TGridHost::Clicked, this, &TGridScrollBox::Clicked);
}

void TGridScrollBox::SetShowGrid(bool on) {
  FShowGrid = on;
  FHost->update();
}
