#include "register_kinds.h"

#include "debug_bound.h"
#include "image_bound.h"
#include "label_bound.h"
#include "launcher_bound.h"
#include "memo_pad_bound.h"
#include "object_registry.h"

void RegisterBuiltInKinds() {
  RegisterBoundKind(QStringLiteral("label"), [](QWidget* w) { return std::make_unique<TLabelBound>(w); });
  RegisterBoundKind(QStringLiteral("image"), [](QWidget* w) { return std::make_unique<TImageBound>(w); });
  RegisterBoundKind(QStringLiteral("app"), [](QWidget* w) { return std::make_unique<TLauncherBound>(w); });
  RegisterBoundKind(QStringLiteral("memopad"), [](QWidget* w) { return std::make_unique<TMemoPadBound>(w); });
  RegisterBoundKind(QStringLiteral("debug"), [](QWidget* w) { return std::make_unique<TDebugBound>(w); });
}
