#include "relation_drawing.h"

#include <cmath>
#include <numbers>

#include <QImage>
#include <QPainter>

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

// Offsets round half to even, as the drawing always has.
QPoint Offset(double degrees, double length) {
  return QPoint(int(std::nearbyint(length * std::cos(degrees * kDegree))),
                int(std::nearbyint(length * std::sin(degrees * kDegree))));
}

QRect SquareAround(QPoint p) { return QRect(p.x() - 5, p.y() - 5, 10, 10); }

}  // namespace

double RelationDirection(QPoint p, QPoint q) {
  const double dx = q.x() - p.x(), dy = q.y() - p.y();
  const double d = std::hypot(dx, dy);
  const double a = std::acos(qBound(-1.0, dx / d, 1.0)) / kDegree;
  return std::asin(qBound(-1.0, dy / d, 1.0)) > 0 ? a : 360.0 - a;
}

std::optional<TRelationArrow> RelationArrowShape(QPoint p, QPoint q) {
  if (p == q) return std::nullopt;
  const double a = RelationDirection(p, q);
  return TRelationArrow{QLine(p, q), SquareAround(p), {q, q + Offset(a + 200, 50), q + Offset(a + 160, 50)}};
}

TClearMark ClearMarkShape(QPoint p, QPoint q) {
  const double a = p == q ? 0.0 : RelationDirection(p, q);
  TClearMark m{QLine(p, q), SquareAround(p), {}};
  const double directions[4] = {a + 45, a - 45, a + 225, a + 135};
  for (int i = 0; i < 4; ++i) m.Strokes[size_t(i)] = QLine(q, q + Offset(directions[i], 25));
  return m;
}

QPen RelationPen(const QColor& color, int width) {
  return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawRelationArrow(QPainter& canvas, QPoint p, QPoint q) {
  const auto arrow = RelationArrowShape(p, q);
  if (!arrow) return;
  canvas.drawLine(arrow->Line);
  canvas.drawRect(arrow->Square);
  canvas.drawPolygon(arrow->Head.data(), 3);
}

void DrawClearMark(QPainter& canvas, QPoint p, QPoint q) {
  const TClearMark mark = ClearMarkShape(p, q);
  canvas.drawLine(mark.Line);
  canvas.drawRect(mark.Square);
  const QPen saved = canvas.pen();
  for (const auto& [color, width] : {std::pair{saved.color(), 18}, std::pair{QColor(Qt::white), 8}}) {
    canvas.setPen(RelationPen(color, width));
    for (const QLine& stroke : mark.Strokes) canvas.drawLine(stroke);
  }
  canvas.setPen(saved);
}

void DrawObjectOutline(QPainter& canvas, const QRect& bounds, bool diagonals) {
  if (bounds.width() <= 0 || bounds.height() <= 0) return;
  const int l = bounds.left(), t = bounds.top(), r = bounds.right(), b = bounds.bottom();
  canvas.drawRect(QRect(l, t, bounds.width() - 1, bounds.height() - 1));
  if (!diagonals) return;
  canvas.drawLine(l, t, r, b);
  canvas.drawLine(r, t, l, b);
}

void DarkenBitmap(QImage& picture) {
  if (picture.format() != QImage::Format_BGR888) picture = picture.convertToFormat(QImage::Format_BGR888);
  const int bytes = picture.width() * 3;
  for (int y = 0; y < picture.height(); ++y) {
    uchar* row = picture.scanLine(y);
    // Twice, each step truncating: not the same as one step by 676 / 1024.
    for (int i = 0; i < bytes; ++i) row[i] = uchar((((row[i] * 26) >> 5) * 26) >> 5);
  }
}
