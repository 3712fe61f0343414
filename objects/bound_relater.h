#pragma once

#include <memory>
#include <vector>

#include <QList>
#include <QObject>

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

private:
  std::vector<std::unique_ptr<TCustomBound>> FItems;
};
