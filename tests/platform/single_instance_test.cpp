#include <gtest/gtest.h>

#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>

#include "single_instance.h"

TEST(SingleInstance, SecondAcquireFailsUntilTheFirstEnds) {
  QTemporaryDir runtime;
  qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
  EXPECT_TRUE(TSingleInstance::LockFileName().startsWith(runtime.path()));
  {
    TSingleInstance first;
    ASSERT_TRUE(first.Acquire());
    TSingleInstance second;
    EXPECT_FALSE(second.Acquire());
  }
  TSingleInstance third;
  EXPECT_TRUE(third.Acquire());
}

TEST(SingleInstance, ALockOfADeadProcessIsTakenOver) {
  QTemporaryDir runtime;
  qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
  // A lock file as a process that no longer exists would have left it.
  QFile f(TSingleInstance::LockFileName());
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("999999999\nzel32\n" + QSysInfo::machineHostName().toUtf8() + "\n");
  f.close();
  TSingleInstance instance;
  EXPECT_TRUE(instance.Acquire());
}
