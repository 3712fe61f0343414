#include "object_registry.h"

#include <QHash>

#include "custom_bound.h"

namespace {
QHash<QString, TBoundMaker>& Kinds() {
  static QHash<QString, TBoundMaker> kinds;
  return kinds;
}
}  // namespace

void RegisterBoundKind(const QString& keyword, TBoundMaker maker) { Kinds().insert(keyword.toLower(), std::move(maker)); }

bool IsBoundKindRegistered(const QString& keyword) { return Kinds().contains(keyword.toLower()); }

std::unique_ptr<TCustomBound> MakeBound(const QString& keyword, QWidget* mainWindow) {
  const auto it = Kinds().constFind(keyword.toLower());
  return it == Kinds().constEnd() ? nullptr : (*it)(mainWindow);
}
