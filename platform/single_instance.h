#pragma once

#include <memory>

#include <QString>

class QLockFile;

// The one-instance marker: a lock file named "ZEL-32 Deskloom Mutex" in the
// user's runtime folder (the temporary folder when there is none), held for
// the life of the process. A lock left by a dead process is taken over.
class TSingleInstance {
public:
  TSingleInstance();
  ~TSingleInstance();
  // True when this process is now the only instance.
  bool Acquire();
  static QString LockFileName();

private:
  std::unique_ptr<QLockFile> FLock;
};
