#include "overall_panel.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

const QEvent::Type TOverallPanel::ClosePrefenceEvent = QEvent::Type(QEvent::User + 200);

TOverallPanel::TOverallPanel(QWidget* parent) : QFrame(parent) {
  setAutoFillBackground(true);
  setMouseTracking(true);
  setContextMenuPolicy(Qt::DefaultContextMenu);
}

void TOverallPanel::SetCaption(const QString& caption) {
  if (FCaption == caption) return;
  FCaption = caption;
  update();
}

void TOverallPanel::SetBevelOuter(TBevel b) {
  FBevelOuter = b;
  update();
}

void TOverallPanel::SetBevelInner(TBevel b) {
  FBevelInner = b;
  update();
}

int TOverallPanel::BevelWidth() const {
  return (FBevelOuter != TBevel::None ? 1 : 0) + (FBevelInner != TBevel::None ? 1 : 0);
}

void TOverallPanel::PostClosePrefence() {
  QCoreApplication::postEvent(this, new QEvent(ClosePrefenceEvent));
}

bool TOverallPanel::event(QEvent* e) {
  if (e->type() == ClosePrefenceEvent) {
    if (OnClosePrefence) OnClosePrefence(this);
    return true;
  }
  return QFrame::event(e);
}

void TOverallPanel::paintEvent(QPaintEvent* e) {
  QFrame::paintEvent(e);
  QPainter p(this);
  QRect r = rect();
  for (TBevel b : {FBevelOuter, FBevelInner}) {
    if (b == TBevel::None) continue;
    qDrawShadePanel(&p, r, palette(), b == TBevel::Lowered, 1);
    r.adjust(1, 1, -1, -1);
  }
  if (!FCaption.isEmpty()) {
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(r, Qt::AlignCenter, FCaption);
  }
}

void TOverallPanel::mousePressEvent(QMouseEvent* e) {
  if (OnMouseDown) OnMouseDown(this, e);
}

void TOverallPanel::mouseMoveEvent(QMouseEvent* e) {
  if (OnMouseMove) OnMouseMove(this, e);
}

void TOverallPanel::mouseReleaseEvent(QMouseEvent* e) {
  if (OnMouseUp) OnMouseUp(this, e);
}

void TOverallPanel::mouseDoubleClickEvent(QMouseEvent* e) {
  if (OnDblClick)
    OnDblClick(this);
  else
    QFrame::mouseDoubleClickEvent(e);
}

void TOverallPanel::contextMenuEvent(QContextMenuEvent* e) {
  if (FPopupMenu) {
    FPopupMenu->popup(e->globalPos());
    e->accept();
  }
}

void TOverallPanel::RouteMouse(QWidget* child, bool dblClick) {
  child->setMouseTracking(true);
  child->setProperty("zelRouteDblClick", dblClick);
  child->installEventFilter(this);
}

bool TOverallPanel::eventFilter(QObject* watched, QEvent* e) {
  auto* child = qobject_cast<QWidget*>(watched);
  if (!child || child == this) return QFrame::eventFilter(watched, e);
  switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
      auto* me = static_cast<QMouseEvent*>(e);
      QMouseEvent translated(me->type(), mapFromGlobal(me->globalPosition()), me->globalPosition(), me->button(),
                             me->buttons(), me->modifiers());
      if (e->type() == QEvent::MouseButtonPress && OnMouseDown) OnMouseDown(child, &translated);
      if (e->type() == QEvent::MouseMove && OnMouseMove) OnMouseMove(child, &translated);
      if (e->type() == QEvent::MouseButtonRelease && OnMouseUp) OnMouseUp(child, &translated);
      return false;
    }
    case QEvent::MouseButtonDblClick:
      if (child->property("zelRouteDblClick").toBool() && OnDblClick) {
        OnDblClick(child);
        return true;
      }
      return false;
    default: return QFrame::eventFilter(watched, e);
  }
}
