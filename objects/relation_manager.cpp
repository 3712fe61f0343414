// The Relation Manager of the object list: the darkened picture of the project
// window, the outlines and arrows drawn over it, and relating by dragging.
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include "bound_keeper.h"
#include "bound_relater.h"
#include "colors.h"
#include "custom_bound.h"
#include "paint_box_ex.h"
#include "relation_drawing.h"

namespace {

QColor Blue() { return ColorToQColor(clBlue); }
QColor Yellow() { return ColorToQColor(clYellow); }
QColor Red() { return ColorToQColor(clRed); }
QColor White() { return ColorToQColor(clWhite); }

QPoint Centre(const QRect& r) { return QPoint(r.left() + r.width() / 2, r.top() + r.height() / 2); }

}  // namespace

void TBoundRelater::ShowRelationManager(QWidget* mainWindow) {
  if (RelationManagerShown() || !mainWindow) return;

  // The client area: the central widget of a main window (the project
  // window's scroll box), otherwise the whole widget.
  QWidget* client = mainWindow;
  QRect area = mainWindow->rect();
  if (auto* main = qobject_cast<QMainWindow*>(mainWindow); main && main->centralWidget()) {
    client = main->centralWidget();
    area = client->geometry();
  }

  QImage shot = client->grab().toImage();
  shot.setDevicePixelRatio(1);
  if (shot.size() != area.size()) shot = shot.scaled(area.size());
  DarkenBitmap(shot);
  FRelationPicture = shot;

  auto* image = new QLabel(mainWindow);
  image->setObjectName(QStringLiteral("RelationImage"));
  image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  image->setPixmap(QPixmap::fromImage(FRelationPicture));
  image->setGeometry(area);
  FRelationImage = image;

  auto* surface = new TPaintBoxEx(mainWindow);
  surface->setObjectName(QStringLiteral("RelationManager"));
  surface->setGeometry(area);
  surface->Background = &FRelationPicture;
  surface->OnPaint = [this](TPaintBoxEx*, QPainter& canvas) { RelationPaint(canvas); };
  surface->OnMouseDown = [this](TPaintBoxEx*, QMouseEvent* e) { RelationMouseDown(e); };
  surface->OnMouseMove = [this](TPaintBoxEx*, QMouseEvent* e) { RelationMouseMove(e); };
  surface->OnMouseUp = [this](TPaintBoxEx*, QMouseEvent* e) { RelationMouseUp(e); };
  FRelationSurface = surface;

  // Panels are compared with surface points; when the project window is
  // scrolled their parent's origin is not the surface's.
  FPanelOrigin = QPoint();
  for (const auto& o : FItems) {
    const QWidget* parent = o->Panel() ? o->Panel()->parentWidget() : nullptr;
    if (!parent) continue;
    FPanelOrigin = parent->mapToGlobal(QPoint()) - surface->mapToGlobal(QPoint());
    break;
  }
  FDragging = false;

  image->show();
  surface->show();
  surface->raise();
  surface->update();
}

void TBoundRelater::HideRelationManager() {
  FDragging = false;
  std::unique_ptr<TPaintBoxEx> surface(FRelationSurface.data());
  surface.reset();
  std::unique_ptr<QLabel> image(FRelationImage.data());
  image.reset();
  FRelationPicture = QImage();
}

TCustomBound* TBoundRelater::RelationObjectAt(QPoint surfacePoint) const {
  const QPoint p = surfacePoint - FPanelOrigin;
  return ObjectAt(p.x(), p.y());
}

QRect TBoundRelater::RelationBounds(const TCustomBound* object) const {
  return object && object->Panel() ? object->Panel()->geometry().translated(FPanelOrigin) : QRect();
}

void TBoundRelater::DrawRelationObjects(QPainter& canvas, const TCustomBound* source) {
  canvas.setBrush(Qt::NoBrush);
  for (const auto& o : FItems) {
    if (!o->Panel()) continue;
    canvas.setPen(RelationPen(source && CanRelate(source, o.get()) ? Yellow() : Blue(), 1));
    DrawObjectOutline(canvas, RelationBounds(o.get()), true);
  }
  canvas.setPen(RelationPen(Blue(), 5));
  canvas.setBrush(White());
  for (const auto& o : FItems) {
    if (!o->Panel()) continue;
    const TBoundKeeper* k = o->Keeper();
    for (int i = 0; i < k->TargetCount(); ++i) {
      const TCustomBound* target = k->Target(i);
      if (!target->Panel()) continue;
      DrawRelationArrow(canvas, Centre(RelationBounds(o.get())), Centre(RelationBounds(target)));
    }
  }
}

void TBoundRelater::RelationPaint(QPainter& canvas) {
  DrawRelationObjects(canvas, nullptr);
  if (!FDragging) return;
  TCustomBound* s = RelationObjectAt(FDragStart);
  TCustomBound* t = RelationObjectAt(FDragCurrent);
  if (s) {
    DrawRelationObjects(canvas, s);
    canvas.setPen(RelationPen(Red(), 2));
    canvas.setBrush(Qt::NoBrush);
    DrawObjectOutline(canvas, RelationBounds(s), false);
  }
  if (t) {
    canvas.setPen(RelationPen(s && CanRelate(s, t) ? Yellow() : Blue(), 2));
    canvas.setBrush(Qt::NoBrush);
    DrawObjectOutline(canvas, RelationBounds(t), false);
  }
  canvas.setPen(RelationPen(Red(), 5));
  canvas.setBrush(White());
  if (!s || !t || CanRelate(s, t))
    DrawRelationArrow(canvas, FDragStart, FDragCurrent);
  else
    DrawClearMark(canvas, FDragStart, FDragCurrent);
}

void TBoundRelater::RelationMouseDown(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  const QPoint p = e->position().toPoint();
  if (!RelationObjectAt(p)) return;
  FDragging = true;
  FDragStart = p;
  // The drag starts where it is; a point left over from an earlier drag
  // would relate to whatever lay under it.
  FDragCurrent = p;
}

void TBoundRelater::RelationMouseMove(QMouseEvent* e) {
  if (!(e->buttons() & Qt::LeftButton)) return;
  FDragCurrent = e->position().toPoint();
  if (FRelationSurface) FRelationSurface->update();
}

void TBoundRelater::RelationMouseUp(QMouseEvent*) {
  if (FDragging) {
    TCustomBound* s = RelationObjectAt(FDragStart);
    TCustomBound* t = RelationObjectAt(FDragCurrent);
    if (s && t) {
      // Onto itself, or onto an object it may not send to: the gesture that
      // takes every relation of the source away.
      if (t == s || !CanRelate(s, t))
        s->Keeper()->ClearRelations();
      else
        s->Keeper()->AddRelation(t);
    }
    if (FRelationSurface) FRelationSurface->update();
  }
  FDragging = false;
}
