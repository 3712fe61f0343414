#pragma once

#include <array>
#include <optional>

#include <QColor>
#include <QLine>
#include <QPen>
#include <QPoint>
#include <QRect>

class QImage;
class QPainter;

// The shapes the Relation Manager draws, kept apart from the painting so their
// geometry can be checked on its own.

// The direction from p to q in degrees, y pointing down: 0 < a <= 360, so a
// point straight to the right gives 360 and straight down 90. p and q must
// differ.
double RelationDirection(QPoint p, QPoint q);

// A relation arrow: the line from p to q, a 10 x 10 square centred on p and a
// triangular head with its tip on q, 50 pixels long, opened 20 degrees to
// either side.
struct TRelationArrow {
  QLine Line;
  QRect Square;
  std::array<QPoint, 3> Head;  // q, q + 50 at a + 200 degrees, q + 50 at a + 160
};
// None when p and q coincide: there is nothing to point at.
std::optional<TRelationArrow> RelationArrowShape(QPoint p, QPoint q);

// A clear mark: the line and square of the arrow, and an X of four 25-pixel
// strokes from q at a + 45, a - 45, a + 225 and a + 135 degrees.
struct TClearMark {
  QLine Line;
  QRect Square;
  std::array<QLine, 4> Strokes;
};
// When p and q coincide there is no direction; the X is then drawn upright
// (as for a drag to the right) instead of from undefined angles.
TClearMark ClearMarkShape(QPoint p, QPoint q);

// The pens of the Relation Manager: solid, round ends and joins.
QPen RelationPen(const QColor& color, int width);

// Draw with the painter's current pen and brush. The clear mark draws its X
// first with an 18-pixel pen in the current pen colour, then with an 8-pixel
// white pen, and restores the pen afterwards.
void DrawRelationArrow(QPainter& canvas, QPoint p, QPoint q);
void DrawClearMark(QPainter& canvas, QPoint p, QPoint q);
// An object's outline: the edge pixels of bounds, and optionally both
// diagonals (top-left to bottom-right, top-right to bottom-left).
void DrawObjectOutline(QPainter& canvas, const QRect& bounds, bool diagonals);

// Darkens a picture as the Relation Manager's background: converted to 24
// bits per pixel, every colour byte becomes byte * 26 div 32, twice.
void DarkenBitmap(QImage& picture);
