#include "single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include "environment.h"

TSingleInstance::TSingleInstance() = default;
TSingleInstance::~TSingleInstance() = default;

QString TSingleInstance::LockFileName() {
  QString folder;
  if (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QFileInfo(runtime).isDir()) folder = runtime;
  }
  if (folder.isEmpty()) folder = Environment::SystemTempFolder();
  return QDir(folder).filePath(QStringLiteral("ZEL-32 Deskloom Mutex"));
}

bool TSingleInstance::Acquire() {
  FLock = std::make_unique<QLockFile>(LockFileName());
  // Never stale by age: only a lock whose process has died is taken over.
  FLock->setStaleLockTime(0);
  if (FLock->tryLock(0)) return true;
  FLock.reset();
  return false;
}
