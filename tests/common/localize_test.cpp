#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QFile>

#include "localize.h"

namespace {

QString Folder(QTemporaryDir& dir, const QByteArray& content) {
  QFile f(dir.filePath(QStringLiteral("localize.txt")));
  f.open(QIODevice::WriteOnly);
  f.write(content);
  return dir.path();
}

}  // namespace

TEST(Localize, WithoutAFileStripsKeysAndReplaces) {
  QTemporaryDir dir;
  TLocalize l(dir.path());
  EXPECT_FALSE(l.Active());
  struct Case {
    const char* message;
    const char* shown;
  } cases[] = {
      {"MSGID_PM102:Input project name", "Input project name"},
      {"MSGID_X:first\\nsecond", "first\r\nsecond"},
      {"MSGID_DM002:\\ini saving process can not continue.", "zel32.ini saving process can not continue."},
      {"MSGID_A:time: 12:00", "time: 12:00"},
      {"No key here", "No key here"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(l.Translate(QString::fromUtf8(c.message)), QString::fromUtf8(c.shown)) << c.message;
    EXPECT_EQ(Translate(QString::fromUtf8(c.message)), QString::fromUtf8(c.shown)) << c.message;
  }
}

TEST(Localize, TranslatesByKeyIgnoringCase) {
  QTemporaryDir dir;
  TLocalize l(Folder(dir,
                     "  # a comment after blanks\r\n"
                     "\r\n"
                     "msgid_pm102=Projektname eingeben\n"
                     "MSGID_PM102=second line loses\r"
                     "MSGID_PM203=\n"
                     "MSGID_DM001 = spaced key never matches\n"
                     "no equals sign here\n"
                     "MSGID_PM001=Zeile eins\\nZeile zwei in \\ini\n"));
  EXPECT_TRUE(l.Active());
  EXPECT_EQ(l.Translate(QStringLiteral("MSGID_PM102:Input project name")), QStringLiteral("Projektname eingeben"));
  EXPECT_EQ(l.Translate(QStringLiteral("MSGID_PM203:Help file not found.")), QStringLiteral("Help file not found."));
  EXPECT_EQ(l.Translate(QStringLiteral("MSGID_DM001:Saved.")), QStringLiteral("Saved."));
  EXPECT_EQ(l.Translate(QStringLiteral("MSGID_PM001:x")), QStringLiteral("Zeile eins\r\nZeile zwei in zel32.ini"));
  EXPECT_EQ(l.Lookup(QStringLiteral("# a comment after blanks")), QString());
}

TEST(Localize, MenusTakeTranslationsAndKeepTheirAccelerator) {
  QTemporaryDir dir;
  TLocalize l(Folder(dir, "Help=Hilfe\nFile=&Datei\nNew Project=Neues Projekt\nObjects=\n"));
  QMenuBar bar;
  QMenu* file = bar.addMenu(QStringLiteral("&File"));
  QAction* newProject = file->addAction(QStringLiteral("&New Project"));
  file->addSeparator();
  QMenu* sub = file->addMenu(QStringLiteral("&Objects"));
  QAction* deep = sub->addAction(QStringLiteral("&Help"));
  QAction* help = bar.addAction(QStringLiteral("&Help"));
  QAction* plain = file->addAction(QStringLiteral("Unknown"));
  l.LocalizeMenu(&bar);
  EXPECT_EQ(file->menuAction()->text(), QStringLiteral("&Datei"));
  EXPECT_EQ(newProject->text(), QStringLiteral("Neues Projekt(&N)"));
  EXPECT_EQ(sub->menuAction()->text(), QStringLiteral("&Objects"));
  EXPECT_EQ(deep->text(), QStringLiteral("Hilfe(&H)"));
  EXPECT_EQ(help->text(), QStringLiteral("Hilfe(&H)"));
  EXPECT_EQ(plain->text(), QStringLiteral("Unknown"));

  // An inactive localizer leaves menus alone.
  QTemporaryDir empty;
  TLocalize none(empty.path());
  QMenu popup;
  QAction* top = popup.addAction(QStringLiteral("&Help"));
  none.LocalizeMenu(&popup);
  EXPECT_EQ(top->text(), QStringLiteral("&Help"));
}
