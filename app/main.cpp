#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QStandardPaths>

#include "automation.h"
#include "environment.h"
#include "project_manager.h"
#include "single_instance.h"

int main(int argc, char** argv) {
  // Web views created inside add-on modules need shared GL contexts.
  QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  // The lock file records the program's name; it must be the executable's own
  // so that a lock left by a dead instance is recognised as stale.
  QCoreApplication::setApplicationName(QFileInfo(QCoreApplication::applicationFilePath()).fileName());

  Environment::SetProgramFolder(QCoreApplication::applicationDirPath());
  TSingleInstance instance;
  if (!instance.Acquire()) return 0;

  QGuiApplication::setDesktopFileName(QStringLiteral("deskloom"));
  QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
  // Real camera photos exceed Qt's default 128 MB; bombs beyond 1 GB are still refused.
  QImageReader::setAllocationLimit(1024);
  // The trash needs its data folder to exist, or moving to it fails in odd ways.
  QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));

  auto* window = new TProjectManager(Environment::ProgramFolder());
  TAutomation::StartIfRequested(window);
  window->show();
  return app.exec();
}
