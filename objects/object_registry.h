#pragma once

#include <functional>
#include <memory>

#include <QString>

class QWidget;
class TCustomBound;

// The kinds of object the factory can make, by keyword (compared in lower
// case). A keyword without a registered kind makes nothing.
using TBoundMaker = std::function<std::unique_ptr<TCustomBound>(QWidget* mainWindow)>;

void RegisterBoundKind(const QString& keyword, TBoundMaker maker);
bool IsBoundKindRegistered(const QString& keyword);
std::unique_ptr<TCustomBound> MakeBound(const QString& keyword, QWidget* mainWindow);
