#include "temp_world.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "environment.h"

TTempWorld::TTempWorld() {
  FOldProgram = Environment::ProgramFolder();
  FOldTemp = Environment::SystemTempFolder();
  for (const QString& f : {ProgramFolder(), Home(), Temp()}) QDir().mkpath(f);
  Environment::SetProgramFolder(ProgramFolder());
  Environment::SetSystemTempFolder(Temp());
  Environment::SetHomeFolder(Home());
}

TTempWorld::~TTempWorld() {
  Environment::SetProgramFolder(FOldProgram);
  Environment::SetSystemTempFolder(FOldTemp);
}

QString TTempWorld::Write(const QString& relative, const QByteArray& text) const {
  const QString path = Root() + u'/' + relative;
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  f.open(QIODevice::WriteOnly | QIODevice::Truncate);
  f.write(text);
  return path;
}

QByteArray TTempWorld::Read(const QString& relative) const {
  QFile f(Root() + u'/' + relative);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
