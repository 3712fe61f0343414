#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "environment.h"
#include "errors.h"
#include "paths.h"
#include "temp_world.h"

TEST(VirtualPaths, ExpandAndContractTheProgramFolder) {
  TTempWorld w;
  const QString p = w.ProgramFolder();
  EXPECT_EQ(ExpandVirtualPath(QStringLiteral("::ZEL32/memo/a.txt")), p + QStringLiteral("/memo/a.txt"));
  EXPECT_EQ(ExpandVirtualPath(QStringLiteral("::ZEL32/x::ZEL32")), p + QStringLiteral("/x::ZEL32"));
  EXPECT_EQ(ExpandVirtualPath(QStringLiteral("/plain/path")), QStringLiteral("/plain/path"));
  EXPECT_EQ(ExpandVirtualPath(QStringLiteral("::CSIDL_PERSONAL")), QStringLiteral("::CSIDL_PERSONAL"));
  EXPECT_EQ(ContractVirtualPath(p + QStringLiteral("/memo/a.txt")), QStringLiteral("::ZEL32/memo/a.txt"));
  // A sibling folder whose name extends the program folder's is contracted too,
  // and expands back to the same path.
  const QString sibling = p + QStringLiteral("2/file");
  EXPECT_EQ(ContractVirtualPath(sibling), QStringLiteral("::ZEL32") + QStringLiteral("2/file"));
  EXPECT_EQ(ExpandVirtualPath(ContractVirtualPath(sibling)), sibling);
}

TEST(VirtualPaths, ShellFoldersComeFromTheUserDirs) {
  TTempWorld w;
  w.Write(QStringLiteral("home/.config/user-dirs.dirs"),
          "# written by xdg-user-dirs-update\n"
          "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
          "XDG_PICTURES_DIR=\"/data/pics/\"\n");
  const QString home = w.Home();
  struct Case {
    const char* text;
    QString path;
  } cases[] = {
      {"::R:Desktop", home + "/Schreibtisch"},
      {"::R:Desktop/", home + "/Schreibtisch"},
      {"::R:desktop", home + "/Schreibtisch"},
      {"::R:My Pictures", "/data/pics"},
      {"::R:Personal", home + "/Documents"},
      {"::R:DOWNLOAD", home + "/Downloads"},
      {"::R:AppData", home + "/.config"},
      {"::R:Local AppData", home + "/.local/share"},
      {"::R:Fonts", home + "/.local/share/fonts"},
      {"::R:Nonsense", ""},
      {"::R:", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandVirtualPath(QString::fromUtf8(c.text)), c.path) << c.text;
  EXPECT_EQ(ShellFolderPath(QStringLiteral("/no/marker")), QString());
  EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER,
                               QStringLiteral("\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"),
                               QStringLiteral("Desktop")),
            home + "/Schreibtisch");
  EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, QStringLiteral("Software\\Other"), QStringLiteral("Desktop")),
            QString());
}

TEST(Csidl, NamesAreExactAndCaseSensitive) {
  EXPECT_EQ(CsidlFromName(QStringLiteral("::CSIDL_PERSONAL/")), 5);
  EXPECT_EQ(CsidlFromName(QStringLiteral("::CSIDL_PERSONAL")), 5);
  EXPECT_EQ(CsidlFromName(QStringLiteral("::csidl_personal")), CSIDL_NONE);
  EXPECT_EQ(CsidlFromName(QStringLiteral("::CSIDL_DESKTOP")), 0);
  EXPECT_EQ(CsidlFromName(QStringLiteral("::CSIDL_HISTORY")), 34);
  EXPECT_EQ(CsidlFromName(QStringLiteral("::CSIDL_DRIVES//")), CSIDL_NONE);
  EXPECT_EQ(CsidlFromName(QStringLiteral("::CSIDL_BITBUCKETX")), CSIDL_NONE);
}

TEST(IdLists, TextRoundTripsAndRejectsBadDigits) {
  const QByteArray bytes("\x07\x00\x02" "abc\x00\x00", 9);
  const QString text = IdListToText(bytes);
  EXPECT_EQ(text, QStringLiteral(":::070002616263000000"));
  QByteArray seen;
  TextToIdList(text + u'/', [&](const QByteArray& b) { seen = b; });
  EXPECT_EQ(seen, bytes);

  int calls = 0;
  TextToIdList(QStringLiteral(":::01020304"), [&](const QByteArray&) { ++calls; });
  TextToIdList(QStringLiteral("/not/an/idlist"), [&](const QByteArray&) { ++calls; });
  EXPECT_EQ(calls, 0);
  EXPECT_THROW(TextToIdList(QStringLiteral(":::0102030405ZZ"), [&](const QByteArray&) { ++calls; }), EConvertError);
  EXPECT_THROW(TextToIdList(QStringLiteral(":::01020304 5"), [&](const QByteArray&) { ++calls; }), EConvertError);
  EXPECT_EQ(calls, 0);
}

TEST(SplitPathMask, FolderAndMask) {
  struct Case {
    const char* text;
    const char* folder;
    const char* mask;
  } cases[] = {
      {"/", "/", "*.*"},
      {"/home/u/", "/home/u/", "*.*"},
      {"/home/u", "/home/u/", "*.*"},
      {"/home/u/*.jpg", "/home/u/", "*.jpg"},
      {"/home/u/a?c", "/home/u/", "a?c"},
      {"relative", "relative/", "*.*"},
      {"/*", "/", "*"},
  };
  for (const auto& c : cases) {
    const TPathMask r = SplitPathMask(QString::fromUtf8(c.text));
    EXPECT_EQ(r.Folder, QString::fromUtf8(c.folder)) << c.text;
    EXPECT_EQ(r.Mask, QString::fromUtf8(c.mask)) << c.text;
  }
}

TEST(TempFileIn, CreatesUniqueEmptyFilesInNewFolders) {
  TTempWorld w;
  const QString folder = w.Root() + QStringLiteral("/a/b");
  const QString one = TempFileIn(folder, QStringLiteral("thumbnail"));
  const QString two = TempFileIn(folder, QStringLiteral("thumbnail"));
  ASSERT_FALSE(one.isEmpty());
  EXPECT_NE(one, two);
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^thu[0-9A-F]+\\.TMP$")).match(QFileInfo(one).fileName()).hasMatch())
      << one.toStdString();
  EXPECT_EQ(QFileInfo(one).size(), 0);
  EXPECT_EQ(QFileInfo(one).absolutePath(), folder);
}

TEST(Paths, DisplayNamesBecomeCanonical) {
  TTempWorld w;
  QDir().mkpath(w.Root() + QStringLiteral("/real"));
  QFile::link(w.Root() + QStringLiteral("/real"), w.Root() + QStringLiteral("/alias"));
  const QString canonicalRoot = QFileInfo(w.Root()).canonicalFilePath();
  EXPECT_EQ(PathFromDisplayName(w.Root() + QStringLiteral("/alias/../alias")), canonicalRoot + QStringLiteral("/real"));
  EXPECT_EQ(PathFromDisplayName(w.Root() + QStringLiteral("//missing/./x/")), w.Root() + QStringLiteral("/missing/x"));
  EXPECT_EQ(PathFromDisplayName(QString()), QString());
  EXPECT_EQ(StripTrailingBackslash(QStringLiteral("/a/")), QStringLiteral("/a"));
  EXPECT_EQ(StripTrailingBackslash(QStringLiteral("/a")), QStringLiteral("/a"));
}

TEST(Paths, OnlyTheProgramHasAVersion) {
  const QString self = QCoreApplication::applicationFilePath();
  const QString v = FileVersionText(self, QStringLiteral("%d.%d.%d.%d"));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$")).match(v).hasMatch()) << v.toStdString();
  EXPECT_EQ(FileVersionText(self, QStringLiteral("v%d-%d 100%%")).count(u'-'), 1);
  EXPECT_EQ(FileVersionText(QStringLiteral("/bin/sh"), QStringLiteral("%d.%d.%d.%d")), QString());
  EXPECT_EQ(FileVersionText(QStringLiteral("/no/such/file"), QStringLiteral("%d")), QString());
}

TEST(ShellLinks, LaunchersLinksAndFailures) {
  TTempWorld w;
  const QString target = w.Write(QStringLiteral("bin/tool"), "#!/bin/sh\n");
  QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  w.Write(QStringLiteral("tool.desktop"),
          ("[Desktop Entry]\nType=Application\nName=Tool\nExec=\"" + target + "\" --flag %F\nPath=/srv\n"
           "Icon=utilities-terminal\n[Desktop Action x]\nExec=other\n").toUtf8());
  w.Write(QStringLiteral("disguised.lnk"), "[Desktop Entry]\nType=Link\nURL=file:///usr/share\n");
  w.Write(QStringLiteral("web.desktop"), "[Desktop Entry]\nType=Link\nURL=https://example.org/\n");
  w.Write(QStringLiteral("real.lnk"), QByteArray("L\0\0\0\x01\x14\x02\0", 8));
  w.Write(QStringLiteral("gone.desktop"), "[Desktop Entry]\nType=Application\nExec=/no/such/program\n");
  QFile::link(target, w.Root() + QStringLiteral("/tool-link"));
  QFile::link(w.Root() + QStringLiteral("/nowhere"), w.Root() + QStringLiteral("/dangling"));

  TShellLink l = ReadShellLink(w.Root() + QStringLiteral("/tool.desktop"));
  EXPECT_TRUE(l.Ok);
  EXPECT_EQ(l.Target, target);
  EXPECT_EQ(l.WorkingFolder, QStringLiteral("/srv"));
  EXPECT_EQ(l.IconFile, QStringLiteral("utilities-terminal"));

  l = ReadShellLink(w.Root() + QStringLiteral("/disguised.lnk"));
  EXPECT_TRUE(l.Ok);
  EXPECT_EQ(l.Target, QStringLiteral("/usr/share"));

  l = ReadShellLink(w.Root() + QStringLiteral("/tool-link"));
  EXPECT_TRUE(l.Ok);
  EXPECT_EQ(l.Target, QFileInfo(target).canonicalFilePath());

  for (const char* bad : {"web.desktop", "real.lnk", "gone.desktop", "dangling", "missing.desktop"})
    EXPECT_FALSE(ReadShellLink(w.Root() + u'/' + QLatin1String(bad)).Ok) << bad;
}
