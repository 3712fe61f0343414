#include "user_folders.h"

#include <QFile>
#include <QHash>

#include "environment.h"
#include "string_list_ex.h"

namespace {

// XDG_xxx_DIR entries of user-dirs.dirs, "$HOME" expanded.
QHash<QString, QString> ReadUserDirs() {
  QHash<QString, QString> dirs;
  TStringListEx lines;
  if (!lines.LoadFromFile(Environment::ConfigHome() + QLatin1String("/user-dirs.dirs"))) return dirs;
  const QString home = Environment::HomeFolder();
  for (const QString& raw : lines.Lines()) {
    const QString line = raw.trimmed();
    if (line.startsWith(u'#')) continue;
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) continue;
    const QString key = line.left(eq).trimmed();
    if (!key.startsWith(QLatin1String("XDG_")) || !key.endsWith(QLatin1String("_DIR"))) continue;
    QString value = line.mid(eq + 1).trimmed();
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"')) value = value.mid(1, value.size() - 2);
    value.replace(QLatin1String("\\\""), QLatin1String("\""));
    if (value.startsWith(QLatin1String("$HOME")))
      value = home + value.mid(5);
    else if (!value.startsWith(u'/'))
      continue;
    while (value.size() > 1 && value.endsWith(u'/')) value.chop(1);
    dirs.insert(key.mid(4, key.size() - 8), value);
  }
  return dirs;
}

QString XdgUserDir(const QString& name, const QString& fallback) {
  const QString v = ReadUserDirs().value(name);
  return v.isEmpty() ? Environment::HomeFolder() + u'/' + fallback : v;
}

}  // namespace

QString UserFolderPath(const QString& valueName) {
  struct TEntry {
    const char* Names[2];
    const char* Xdg;  // user-dirs key, or null
    const char* Fallback;
  };
  static const TEntry table[] = {
      {{"Desktop", "DESKTOP"}, "DESKTOP", "Desktop"},
      {{"Personal", "DOCUMENTS"}, "DOCUMENTS", "Documents"},
      {{"My Pictures", "PICTURES"}, "PICTURES", "Pictures"},
      {{"My Music", "MUSIC"}, "MUSIC", "Music"},
      {{"My Video", "VIDEOS"}, "VIDEOS", "Videos"},
      {{"Templates", "TEMPLATES"}, "TEMPLATES", "Templates"},
      {{"Downloads", "DOWNLOAD"}, "DOWNLOAD", "Downloads"},
      {{"PUBLICSHARE", nullptr}, "PUBLICSHARE", "Public"},
  };
  for (const TEntry& e : table) {
    for (const char* n : e.Names) {
      if (n && valueName.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
        return XdgUserDir(QLatin1String(e.Xdg), QLatin1String(e.Fallback));
    }
  }
  if (valueName.compare(QLatin1String("Fonts"), Qt::CaseInsensitive) == 0)
    return Environment::DataHome() + QLatin1String("/fonts");
  if (valueName.compare(QLatin1String("AppData"), Qt::CaseInsensitive) == 0) return Environment::ConfigHome();
  if (valueName.compare(QLatin1String("Local AppData"), Qt::CaseInsensitive) == 0) return Environment::DataHome();
  if (valueName.compare(QLatin1String("Cache"), Qt::CaseInsensitive) == 0) return Environment::CacheHome();
  return {};
}
