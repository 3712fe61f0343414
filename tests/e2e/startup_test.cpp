#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QThread>

#include "harness.h"

TEST(Startup, FirstRunOpensTheWindowAndWritesTheDataFileAtExit) {
  TE2eWorld w;
  ASSERT_TRUE(w.X().Ok());
  QProcess* zel = w.Start();
  const QStringList windows = w.WaitForWindows(QStringLiteral("^Deskloom$"));
  ASSERT_EQ(windows.size(), 1);
  QThread::msleep(300);
  const QString shot = w.Screenshot(QStringLiteral("startup-main-window"), windows.first());
  const QImage picture(shot);
  EXPECT_GE(picture.width(), 400);
  EXPECT_GE(picture.height(), 300);

  // File > Exit from the keyboard.
  w.Keys(windows.first(), {QStringLiteral("alt+f"), QStringLiteral("e")});
  ASSERT_TRUE(TE2eWorld::WaitExit(zel));
  EXPECT_EQ(zel->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(zel->exitCode(), 0);

  const QString ini = QString::fromUtf8(w.ReadFile(QStringLiteral("program/zel32.ini")));
  ASSERT_TRUE(ini.startsWith(QStringLiteral("[QUORVANE -Deskloom v1.8 -]\r\n[Application]\r\n\r\nWindowState=Normal\r\n")))
      << ini.toStdString();
  EXPECT_TRUE(ini.endsWith(QStringLiteral("DEBUG=No\r\n[Project]\r\n"))) << ini.toStdString();
  EXPECT_EQ(ini.count(QStringLiteral("\r\n")), 4 + 24);
  EXPECT_TRUE(ini.contains(QStringLiteral("\r\nProject=Deskloom\r\n")));
  EXPECT_TRUE(ini.contains(QStringLiteral("\r\nTemporaryPath=") + QFileInfo(w.Temp()).canonicalFilePath() +
                           QStringLiteral("/quorvane_zel32\r\n")))
      << ini.toStdString();
  EXPECT_TRUE(QFileInfo(w.Temp() + QStringLiteral("/quorvane_zel32")).isDir());
}

TEST(Startup, ASecondInstanceEndsAtOnceWithoutAWindow) {
  TE2eWorld w;
  ASSERT_TRUE(w.X().Ok());
  QProcess* first = w.Start();
  const QStringList windows = w.WaitForWindows(QStringLiteral("^Deskloom$"));
  ASSERT_EQ(windows.size(), 1);

  QProcess* second = w.Start();
  ASSERT_TRUE(TE2eWorld::WaitExit(second, 10000));
  EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second->exitCode(), 0);
  EXPECT_EQ(w.Windows(QStringLiteral("^Deskloom$")).size(), 1);
  EXPECT_EQ(first->state(), QProcess::Running);

  w.Keys(windows.first(), {QStringLiteral("alt+f"), QStringLiteral("e")});
  ASSERT_TRUE(TE2eWorld::WaitExit(first));
  // Once the first one has ended, the program starts again.
  QProcess* third = w.Start();
  EXPECT_EQ(w.WaitForWindows(QStringLiteral("^Deskloom$")).size(), 1);
  third->terminate();
}
