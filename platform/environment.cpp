#include "environment.h"

#include <QCoreApplication>
#include <QDir>

namespace {

struct TFacts {
  bool ProgramSet = false;
  QString Program;
  QString Temp;
  bool HomeSet = false;
  QString Home, Config, Data, Cache;
};

TFacts& Facts() {
  static TFacts f;
  return f;
}

QString StripSlash(QString s) {
  while (s.size() > 1 && s.endsWith(u'/')) s.chop(1);
  return s;
}

QString XdgOr(const char* var, const QString& fallback) {
  const QString v = qEnvironmentVariable(var);
  return v.startsWith(u'/') ? StripSlash(v) : fallback;
}

void EnsureHome() {
  TFacts& f = Facts();
  if (f.HomeSet) return;
  f.HomeSet = true;
  f.Home = StripSlash(QDir::homePath());
  f.Config = XdgOr("XDG_CONFIG_HOME", f.Home + QLatin1String("/.config"));
  f.Data = XdgOr("XDG_DATA_HOME", f.Home + QLatin1String("/.local/share"));
  f.Cache = XdgOr("XDG_CACHE_HOME", f.Home + QLatin1String("/.cache"));
}

}  // namespace

namespace Environment {

QString ProgramFolder() {
  TFacts& f = Facts();
  if (!f.ProgramSet) {
    f.ProgramSet = true;
    f.Program = QCoreApplication::instance() ? StripSlash(QCoreApplication::applicationDirPath())
                                              : StripSlash(QDir::currentPath());
  }
  return f.Program;
}

void SetProgramFolder(const QString& folder) {
  Facts().ProgramSet = true;
  Facts().Program = StripSlash(folder);
}

QString SystemTempFolder() {
  TFacts& f = Facts();
  if (f.Temp.isEmpty()) f.Temp = StripSlash(QDir::tempPath());
  return f.Temp;
}

void SetSystemTempFolder(const QString& folder) { Facts().Temp = StripSlash(folder); }

QString HomeFolder() { EnsureHome(); return Facts().Home; }
QString ConfigHome() { EnsureHome(); return Facts().Config; }
QString DataHome() { EnsureHome(); return Facts().Data; }
QString CacheHome() { EnsureHome(); return Facts().Cache; }

void SetHomeFolder(const QString& home) {
  TFacts& f = Facts();
  f.HomeSet = true;
  f.Home = StripSlash(home);
  f.Config = f.Home + QLatin1String("/.config");
  f.Data = f.Home + QLatin1String("/.local/share");
  f.Cache = f.Home + QLatin1String("/.cache");
}

}  // namespace Environment
