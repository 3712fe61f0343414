#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QPointer>

#include "data_file_manager.h"
#include "project_manager.h"
#include "prompt_service.h"
#include "string_list_ex.h"
#include "temp_world.h"

namespace {

const QStringList kKeys{"WindowState", "Left", "Top", "Width", "Height", "Project", "DragnDrop",
                        "PictureProcessing", "CursorMode", "Expert", "BackgroundColor", "TextColor",
                        "WindowTextColor", "WindowBackgroundColor", "WindowBorder", "FitToWindow", "FitToGrid",
                        "DefaultPlugin", "CreateObjectByDrop", "LoggingFileOperation", "LoadDefaultAtStart",
                        "TemporaryPath", "Bevels", "DEBUG"};

// Starts a main window on the world's program folder, lets a test look at it,
// and closes it the way the user does.
void RunSession(const TTempWorld& w, const std::function<void(TProjectManager&)>& check = {}) {
  QPointer<TProjectManager> m = new TProjectManager(w.ProgramFolder());
  if (check) check(*m);
  EXPECT_TRUE(m->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(m.isNull());
}

TStringListEx ApplicationSection(const TTempWorld& w) {
  TScopedScriptedPrompts quiet;
  TDataFileManager d(w.ProgramFolder());
  d.Load();
  return *d.GetApplicationSection();
}

QStringList Names(const TStringListEx& s) {
  QStringList out;
  for (int i = 0; i < s.Count(); ++i) out << s.Names(i);
  return out;
}

}  // namespace

TEST(Settings, FirstExitWritesEveryKeyInOrderAfterTheBlankLine) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  RunSession(w, [&](TProjectManager& m) {
    EXPECT_TRUE(m.Default1->isChecked());
    EXPECT_TRUE(m.Nearest1->isChecked());
    EXPECT_TRUE(m.Static1->isChecked());
    EXPECT_FALSE(m.Expert1->isChecked());
    EXPECT_TRUE(m.Bevels1->isChecked());
    EXPECT_FALSE(m.DEBUG1->isVisible());
    EXPECT_EQ(m.TemporaryPath(), w.Temp() + QStringLiteral("/quorvane_zel32"));
    EXPECT_TRUE(QDir(m.TemporaryPath()).exists());
  });
  const TStringListEx s = ApplicationSection(w);
  EXPECT_EQ(s.Get(0), QString());
  EXPECT_EQ(Names(s).mid(1), kKeys);
  EXPECT_EQ(s.Values(QStringLiteral("Project")), QStringLiteral("Deskloom"));
  EXPECT_EQ(s.Values(QStringLiteral("BackgroundColor")), QStringLiteral("$8000000F"));
  EXPECT_EQ(s.Values(QStringLiteral("WindowBackgroundColor")), QStringLiteral("$80000005"));
  EXPECT_EQ(s.Values(QStringLiteral("TemporaryPath")), w.Temp() + QStringLiteral("/quorvane_zel32"));
  EXPECT_EQ(s.Values(QStringLiteral("DEBUG")), QStringLiteral("No"));
  EXPECT_TRUE(prompts->Calls.empty());  // a closing save is quiet
}

TEST(Settings, MaximizedExitWritesTwentyKeysAndKeepsTheOldPlacement) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  w.Write(QStringLiteral("program/zel32.ini"),
          "[QUORVANE -Deskloom v1.8 -]\r\n[Application]\r\nLeft=11\r\nTop=12\r\nWidth=613\r\nHeight=414\r\n"
          "WindowState=Maximized\r\n[Project]\r\n");
  RunSession(w, [](TProjectManager& m) { EXPECT_TRUE(m.isMaximized()); });
  const TStringListEx s = ApplicationSection(w);
  QStringList expected = kKeys;
  for (const char* k : {"Left", "Top", "Width", "Height"}) expected.removeOne(QLatin1String(k));
  EXPECT_EQ(Names(s).mid(4), expected);
  EXPECT_EQ(s.Count(), 24);
  EXPECT_EQ(s.Get(0), QStringLiteral("Left=11"));
  EXPECT_EQ(s.Get(3), QStringLiteral("Height=414"));
}

TEST(Settings, TwoExitsInARowGiveIdenticalSections) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  w.Write(QStringLiteral("program/zel32.ini"),
          "[QUORVANE -Deskloom v1.8 -]\r\n[Application]\r\nMyOwnKey=kept\r\nDynamicPath=Yes\r\nLeft=40\r\nTop=30\r\n"
          "Width=640\r\nHeight=480\r\nExpert=Expert\r\nBevels=No\r\nDEBUG=yes\r\nCursorMode=Dynamic\r\n"
          "BackgroundColor=$00FF0000\r\n[Project]\r\n");
  RunSession(w, [](TProjectManager& m) {
    EXPECT_TRUE(m.Expert1->isChecked());
    EXPECT_FALSE(m.Bevels1->isChecked());
    EXPECT_TRUE(m.DEBUG1->isVisible());
    EXPECT_TRUE(m.Dynamic1->isChecked());
    EXPECT_TRUE(m.DynamicPath());
    EXPECT_EQ(m.Color(), 0x00FF0000u);
    EXPECT_EQ(m.width(), 640);
  });
  const QByteArray first = w.Read(QStringLiteral("program/zel32.ini"));
  RunSession(w);
  EXPECT_EQ(w.Read(QStringLiteral("program/zel32.ini")), first);
  const TStringListEx s = ApplicationSection(w);
  EXPECT_EQ(s.Get(0), QStringLiteral("MyOwnKey=kept"));
  EXPECT_EQ(s.Get(1), QStringLiteral("DynamicPath=Yes"));
  EXPECT_EQ(s.Values(QStringLiteral("Left")), QStringLiteral("40"));
  EXPECT_EQ(s.Values(QStringLiteral("Expert")), QStringLiteral("Expert"));
  EXPECT_EQ(s.Values(QStringLiteral("DEBUG")), QStringLiteral("Yes"));
}

TEST(Settings, ValuesAreReadByTheirOwnWords) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  w.Write(QStringLiteral("program/zel32.ini"),
          "[QUORVANE -Deskloom v1.8 -]\r\n[Application]\r\nFitToGrid=yes\r\nFitToWindow=Yes\r\n"
          "LoadDefaultAtStart=TRUE\r\nBackgroundColor=\r\nTextColor=blue\r\nWindowTextColor=255\r\n"
          "WindowBorder=no\r\nLeft=abc\r\nDragnDrop=ConfirmRequest\r\nPictureProcessing=highquality\r\n"
          "CreateObjectByDrop=True\r\nDefaultPlugin=true\r\n[Project]\r\n");
  RunSession(w, [](TProjectManager& m) {
    EXPECT_FALSE(m.FitToGrid1->isChecked());
    EXPECT_TRUE(m.FitToWindow1->isChecked());
    EXPECT_FALSE(m.Restore1->isEnabled());
    EXPECT_TRUE(m.LoadDefaultAtStart());
    EXPECT_EQ(m.Color(), clBtnFace);
    EXPECT_EQ(m.FontColor(), clWindowText);
    EXPECT_EQ(m.WindowTextColor(), clRed);
    EXPECT_FALSE(m.WindowBorder());
    EXPECT_EQ(m.x(), 0);
    EXPECT_TRUE(m.ConfirmRequest1->isChecked());
    EXPECT_TRUE(m.Nearest1->isChecked());
    EXPECT_TRUE(m.CreateObjectbyDrop1->isChecked());
    EXPECT_TRUE(m.acceptDrops());
    EXPECT_FALSE(m.DefaultPlugin());
  });
  const TStringListEx s = ApplicationSection(w);
  EXPECT_EQ(s.Values(QStringLiteral("FitToGrid")), QStringLiteral("No"));
  EXPECT_EQ(s.Values(QStringLiteral("LoadDefaultAtStart")), QStringLiteral("True"));
  EXPECT_EQ(s.Values(QStringLiteral("BackgroundColor")), QStringLiteral("$8000000F"));
  EXPECT_EQ(s.Values(QStringLiteral("WindowTextColor")), QStringLiteral("$000000FF"));
  EXPECT_EQ(s.Values(QStringLiteral("DefaultPlugin")), QStringLiteral("False"));
}

TEST(Settings, ATemporaryFolderThatCannotBeMadeFallsBackToTheDefault) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  w.Write(QStringLiteral("blocker"), "a file where a folder should be");
  w.Write(QStringLiteral("program/zel32.ini"),
          ("[QUORVANE -Deskloom v1.8 -]\r\n[Application]\r\nTemporaryPath=" + w.Root() +
           "/blocker/cache\r\n[Project]\r\n").toUtf8());
  RunSession(w, [&](TProjectManager& m) { EXPECT_EQ(m.TemporaryPath(), w.Temp() + QStringLiteral("/quorvane_zel32")); });

  const QString own = w.Root() + QStringLiteral("/my cache/deep");
  TTempWorld w2;
  w2.Write(QStringLiteral("program/zel32.ini"),
           ("[QUORVANE -Deskloom v1.8 -]\r\n[Application]\r\nTemporaryPath=" + own + "\r\n[Project]\r\n").toUtf8());
  RunSession(w2, [&](TProjectManager& m) { EXPECT_EQ(m.TemporaryPath(), own); });
  EXPECT_TRUE(QDir(own).exists());
}
