#pragma once

#include <memory>
#include <vector>

#include <QImage>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>

#include "paint_box_ex.h"

class QLabel;
class QMouseEvent;
class QPainter;
class QWidget;
class TCustomBound;

// The object list of the open project, in order: the order of the records
// when saving, of creation when loading, and the stacking order after a load.
// It owns its objects.
class TBoundRelater : public QObject {
  Q_OBJECT
public:
  TBoundRelater();
  ~TBoundRelater() override;

  int Count() const { return int(FItems.size()); }
  TCustomBound* Item(int i) const { return FItems.at(size_t(i)).get(); }
  int IndexOf(const TCustomBound* object) const;
  bool Contains(const TCustomBound* object) const { return IndexOf(object) >= 0; }
  TCustomBound* Add(std::unique_ptr<TCustomBound> object);
  void Insert(int index, std::unique_ptr<TCustomBound> object);
  // Takes an object out of the list without freeing it.
  std::unique_ptr<TCustomBound> Take(const TCustomBound* object);
  // Frees the object at index i.
  void Delete(int i);
  // Frees every object, from the last to the first.
  void Clear();
  void MoveFirst(const TCustomBound* object);
  void MoveLast(const TCustomBound* object);
  // The first object whose panel holds the point strictly inside its edges
  // (coordinates of the panels' parent).
  TCustomBound* ObjectAt(int x, int y) const;

  // A snapshot of the objects in order, safe to walk while the list changes.
  QList<TCustomBound*> Items() const;

  // The Relation Manager: over the main window's client area, a darkened
  // picture of it with every object outlined and every relation drawn as an
  // arrow; dragging from one object to another relates them.
  void ShowRelationManager(QWidget* mainWindow);
  void HideRelationManager();
  bool RelationManagerShown() const { return !FRelationSurface.isNull(); }
  // The drawing surface and its darkened background while shown.
  TPaintBoxEx* RelationSurface() const { return FRelationSurface; }
  const QImage& RelationPicture() const { return FRelationPicture; }
  // The object under a point of the drawing surface.
  TCustomBound* RelationObjectAt(QPoint surfacePoint) const;
  // An object's panel bounds in the drawing surface's coordinates.
  QRect RelationBounds(const TCustomBound* object) const;

private:
  void RelationPaint(QPainter& canvas);
  void DrawRelationObjects(QPainter& canvas, const TCustomBound* source);
  void RelationMouseDown(QMouseEvent* e);
  void RelationMouseMove(QMouseEvent* e);
  void RelationMouseUp(QMouseEvent* e);

  std::vector<std::unique_ptr<TCustomBound>> FItems;

  QImage FRelationPicture;
  QPointer<QLabel> FRelationImage;
  QPointer<TPaintBoxEx> FRelationSurface;
  // Where the panels' parent has its origin on the drawing surface; (0,0)
  // unless the project window was scrolled.
  QPoint FPanelOrigin;
  bool FDragging = false;
  QPoint FDragStart, FDragCurrent;
};
