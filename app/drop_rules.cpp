#include "drop_rules.h"

#include <QFileInfo>

QList<TDropAction> ClassifyDrops(const QStringList& files, const std::function<bool(const QString&)>& isPicture) {
  QList<TDropAction> actions;
  const auto add = [&actions](const char* kind, const QString& file, const TShellLink* link = nullptr) {
    TDropAction a;
    a.Kind = QLatin1String(kind);
    a.File = file;
    if (link) {
      a.FromShortcut = true;
      a.Shortcut = *link;
    }
    actions.append(a);
  };
  for (const QString& dropped : files) {
    const QString name = dropped.left(256);
    const QFileInfo fi(name);
    const QString ext = fi.suffix().toLower();
    if (ext == QLatin1String("url")) continue;
    if (IsShortcutFile(name)) {
      const TShellLink link = ReadShellLink(name);
      if (link.Ok && QFileInfo(link.Target).isFile()) add("app", IsApplicationLauncher(name) ? name : link.Target, &link);
      continue;
    }
    if (IsProgramFile(name)) {
      add("app", name);
      continue;
    }
    if (!ext.isEmpty() && isPicture && isPicture(ext)) {
      if (fi.isFile()) add("image", name);
      continue;
    }
    if (fi.isDir()) add("listview", name);
  }
  return actions;
}
