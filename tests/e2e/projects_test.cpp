#include <gtest/gtest.h>

#include <QPoint>
#include <QThread>

#include "harness.h"

TEST(Projects, ASavedLayoutComesBackAfterARestart) {
  TE2eWorld w;
  ASSERT_TRUE(w.X().Ok());
  QProcess* zel = nullptr;
  QStringList windows{w.StartPlaced(900, 700, {}, &zel)};
  ASSERT_FALSE(windows.first().isEmpty());

  w.ChooseMenu(QStringLiteral("Objects1"), QStringLiteral("mnuAddLabel1"));
  w.ChooseMenu(QStringLiteral("Objects1"), QStringLiteral("MemoPad1"));
  const QList<TE2eObject> objects = w.Objects();
  ASSERT_EQ(objects.size(), 2);
  const QString label = objects[0].ID, memo = objects[1].ID;
  // Place the memo pad by dragging its frame, and relate the label to it.
  const QPoint grip(objects[1].Rect.x() + 2, objects[1].Rect.center().y());
  w.DragMouse(grip, grip + QPoint(300, 120));
  w.ClickAt(objects[0].Rect.center(), 2);
  w.Click(QStringLiteral("Relation"));
  w.TypeText(memo);
  w.Click(QStringLiteral("Caption"));
  w.Keys(windows.first(), {QStringLiteral("ctrl+a")});
  w.TypeText(QStringLiteral("Inbox"));
  w.Keys(windows.first(), {QStringLiteral("Return")});
  QThread::msleep(300);
  const QStringList before = w.Ask(QStringLiteral("objects")).split(u'\n', Qt::SkipEmptyParts);
  const QString labelRecord = w.Ask(QStringLiteral("record ") + label);
  EXPECT_TRUE(labelRecord.contains(u',' + memo + u',')) << labelRecord.toStdString();
  EXPECT_TRUE(labelRecord.endsWith(QStringLiteral(",Inbox"))) << labelRecord.toStdString();

  // File > Save Project, name it, OK.
  w.ChooseMenu(QStringLiteral("File1"), QStringLiteral("Save1"));
  ASSERT_EQ(w.WaitForWindows(QStringLiteral("^Project$")).size(), 1);
  w.Keys(w.Windows(QStringLiteral("^Project$")).first(), {QStringLiteral("ctrl+a")});
  w.TypeText(QStringLiteral("Mail desk"));
  w.Keys(w.Windows(QStringLiteral("^Project$")).first(), {QStringLiteral("Return")});
  QThread::msleep(300);
  EXPECT_EQ(w.Ask(QStringLiteral("title")), QStringLiteral("Mail desk"));
  w.Keys(w.Windows(QStringLiteral("^Mail desk$")).value(0), {QStringLiteral("alt+f"), QStringLiteral("e")});
  ASSERT_TRUE(TE2eWorld::WaitExit(zel));

  QString ini = QString::fromUtf8(w.ReadFile(QStringLiteral("program/zel32.ini")));
  EXPECT_TRUE(ini.contains(QStringLiteral("\r\nMail desk=\"Label,") + label)) << ini.toStdString();
  EXPECT_TRUE(ini.contains(QStringLiteral("\r\nDEFAULT=\"Label,") + label)) << ini.toStdString();
  EXPECT_TRUE(ini.contains(QStringLiteral("\r\nProject=Mail desk\r\n")));
  ini.replace(QStringLiteral("LoadDefaultAtStart=False"), QStringLiteral("LoadDefaultAtStart=True"));
  w.WriteFile(QStringLiteral("program/zel32.ini"), ini.toUtf8());

  // Start again: after a moment DEFAULT opens with the same layout and relation.
  zel = w.Start();
  windows = w.WaitForWindows(QStringLiteral("^Mail desk \\(inherited\\)$"), 10000);
  ASSERT_EQ(windows.size(), 1);
  EXPECT_EQ(w.Ask(QStringLiteral("objects")).split(u'\n', Qt::SkipEmptyParts), before);
  EXPECT_EQ(w.Ask(QStringLiteral("record ") + label), labelRecord);
  w.Screenshot(QStringLiteral("projects-reopened"), windows.first());
  w.Keys(windows.first(), {QStringLiteral("alt+f"), QStringLiteral("e")});
  ASSERT_TRUE(TE2eWorld::WaitExit(zel));
}
