#include "paint_box_ex.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

TPaintBoxEx::TPaintBoxEx(QWidget* parent) : QWidget(parent) {
  // Every pixel comes from the off-screen bitmap.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBoxEx::Render(const QRect& clip) {
  if (FBitmap.size() != size()) FBitmap = QImage(size(), QImage::Format_RGB32);
  const QRect r = clip & rect();
  if (r.isEmpty()) return;
  QPainter canvas(&FBitmap);
  canvas.setClipRect(r);
  canvas.fillRect(r, palette().color(QPalette::Window));
  if (Background && !Background->isNull()) canvas.drawImage(r.topLeft(), *Background, r);
  if (OnPaint) OnPaint(this, canvas);
}

void TPaintBoxEx::paintEvent(QPaintEvent* e) {
  Render(e->rect());
  QPainter screen(this);
  screen.drawImage(e->rect().topLeft(), FBitmap, e->rect());
}

void TPaintBoxEx::resizeEvent(QResizeEvent* e) {
  FBitmap = QImage(size(), QImage::Format_RGB32);
  QWidget::resizeEvent(e);
}

void TPaintBoxEx::mousePressEvent(QMouseEvent* e) {
  if (OnMouseDown) OnMouseDown(this, e);
}

void TPaintBoxEx::mouseMoveEvent(QMouseEvent* e) {
  if (OnMouseMove) OnMouseMove(this, e);
}

void TPaintBoxEx::mouseReleaseEvent(QMouseEvent* e) {
  if (OnMouseUp) OnMouseUp(this, e);
}
