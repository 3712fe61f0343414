#include "bound_relater.h"

#include "custom_bound.h"

TBoundRelater::TBoundRelater() = default;

TBoundRelater::~TBoundRelater() {
  HideRelationManager();
  Clear();
}

int TBoundRelater::IndexOf(const TCustomBound* object) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == object) return int(i);
  return -1;
}

TCustomBound* TBoundRelater::Add(std::unique_ptr<TCustomBound> object) {
  FItems.push_back(std::move(object));
  return FItems.back().get();
}

void TBoundRelater::Insert(int index, std::unique_ptr<TCustomBound> object) {
  FItems.insert(FItems.begin() + qBound(0, index, Count()), std::move(object));
}

std::unique_ptr<TCustomBound> TBoundRelater::Take(const TCustomBound* object) {
  const int i = IndexOf(object);
  if (i < 0) return nullptr;
  std::unique_ptr<TCustomBound> taken = std::move(FItems[size_t(i)]);
  FItems.erase(FItems.begin() + i);
  return taken;
}

void TBoundRelater::Delete(int i) {
  std::unique_ptr<TCustomBound> doomed = std::move(FItems.at(size_t(i)));
  FItems.erase(FItems.begin() + i);
  doomed.reset();
}

void TBoundRelater::Clear() {
  while (!FItems.empty()) {
    std::unique_ptr<TCustomBound> doomed = std::move(FItems.back());
    FItems.pop_back();
    doomed.reset();
  }
}

void TBoundRelater::MoveFirst(const TCustomBound* object) {
  if (auto o = Take(object)) Insert(0, std::move(o));
}

void TBoundRelater::MoveLast(const TCustomBound* object) {
  if (auto o = Take(object)) Add(std::move(o));
}

TCustomBound* TBoundRelater::ObjectAt(int x, int y) const {
  for (const auto& o : FItems) {
    const TOverallPanel* p = o->Panel();
    if (!p) continue;
    if (p->x() < x && x < p->x() + p->width() && p->y() < y && y < p->y() + p->height()) return o.get();
  }
  return nullptr;
}

QList<TCustomBound*> TBoundRelater::Items() const {
  QList<TCustomBound*> out;
  out.reserve(qsizetype(FItems.size()));
  for (const auto& o : FItems) out.append(o.get());
  return out;
}
