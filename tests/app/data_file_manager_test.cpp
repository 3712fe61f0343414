#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "data_file_manager.h"
#include "prompt_service.h"
#include "temp_world.h"

namespace {

const QString kDefault = QStringLiteral("[QUORVANE -Deskloom v1.8 -]\r\n[Application]\r\n\r\n[Project]\r\n");

QStringList Lines(const TDataFileManager& d) { return d.Lines.Lines(); }

}  // namespace

TEST(DataFile, MissingOrEmptyFileGivesTheFourDefaultLines) {
  for (bool create : {false, true}) {
    TTempWorld w;
    TScopedScriptedPrompts prompts;
    if (create) w.Write(QStringLiteral("program/zel32.ini"), "");
    TDataFileManager d(w.ProgramFolder());
    QList<int> codes;
    d.OnChange = [&](TDataFileManager*, int code) { codes << code; };
    d.Load();
    EXPECT_EQ(d.Lines.Text(), kDefault);
    EXPECT_EQ(codes, QList<int>{3});
    EXPECT_FALSE(d.Modified);
    EXPECT_TRUE(prompts->Calls.empty());
  }
}

TEST(DataFile, UpgradeChainEndsInABackupOfTheUpgradedLines) {
  struct Case {
    const char* name;
    QByteArray file;
    QByteArray backup;  // empty: no backup, file used unchanged
  } cases[] = {
      {"layout 0, one line", "[QUORVANE -Project Manager-]",
       "[QUORVANE -Deskloom v1.7 -]\r\n[Application]\r\n\r\n[Project]\r\n"},
      {"layout 0 with records", "[QUORVANE -Project Manager-] old\r\nP=a,b\r\n",
       "[QUORVANE -Deskloom v1.7 -]\r\n[Application]\r\n\r\n[Project]\r\nP=\"ListView,a\",\"ListView,b\"\r\n"},
      {"layout 1.0", "[QUORVANE -Project Manager v1.0 -]\n[Application]\nLeft=3\n[Project]\nP=a,b\nQ=\"x y\"\n",
       "[QUORVANE -Deskloom v1.7 -]\r\n[Application]\r\nLeft=3\r\n[Project]\r\nP=\"ListView,a\",\"ListView,b\"\r\n"
       "Q=\"ListView,x,y\"\r\n"},
      {"layout 1.1", "[QUORVANE -Project Manager v1.1 -]\r[Application]\r[Project]\rP=\"ListView,a\"\r",
       "[QUORVANE -Deskloom v1.7 -]\r\n[Application]\r\n[Project]\r\nP=\"ListView,a\"\r\n"},
      {"layout 1.7", "[QUORVANE -Deskloom v1.7 -]\r\n[Application]\r\nTop=1\r\n[Project]\r\n",
       "[QUORVANE -Deskloom v1.7 -]\r\n[Application]\r\nTop=1\r\n[Project]\r\n"},
      {"current", "[QUORVANE -Deskloom v1.8 -]\r\n[Application]\r\nTop=1\r\n[Project]\r\nP=x\r\n", ""},
      {"unrecognised", "[QUORVANE -Deskloom v9.9 -]\r\n[Application]\r\n[Project]\r\n", ""},
  };
  for (const auto& c : cases) {
    TTempWorld w;
    TScopedScriptedPrompts prompts;
    w.Write(QStringLiteral("program/zel32.ini"), c.file);
    TDataFileManager d(w.ProgramFolder());
    d.Load();
    const QByteArray backup = w.Read(QStringLiteral("program/zel32ini.bak"));
    EXPECT_EQ(backup, c.backup) << c.name;
    if (c.backup.isEmpty()) {
      TStringListEx expected;
      expected.SetText(QString::fromUtf8(c.file));
      EXPECT_EQ(Lines(d), expected.Lines()) << c.name;
      EXPECT_TRUE(prompts->Calls.empty()) << c.name;
    } else {
      EXPECT_EQ(d.Lines.Text(), kDefault) << c.name;
      EXPECT_EQ(prompts->Messages(), QStringList{"The zel32.ini is not compatible."}) << c.name;
    }
  }
}

TEST(DataFile, LegacyFileIsCopiedOnceAndKept) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  w.Write(QStringLiteral("program/projectman.ini"), "[QUORVANE -Deskloom v1.8 -]\r\n[Application]\r\n[Project]\r\nL=x\r\n");
  TDataFileManager d(w.ProgramFolder());
  EXPECT_EQ(w.Read(QStringLiteral("program/zel32.ini")), w.Read(QStringLiteral("program/projectman.ini")));
  w.Write(QStringLiteral("program/zel32.ini"), "mine");
  TDataFileManager again(w.ProgramFolder());
  EXPECT_EQ(w.Read(QStringLiteral("program/zel32.ini")), QByteArray("mine"));
  EXPECT_EQ(d.FileName, w.ProgramFolder() + QStringLiteral("/zel32.ini"));
}

TEST(DataFile, SectionsAreCopiedOutAndReplaced) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  w.Write(QStringLiteral("program/zel32.ini"),
          "[QUORVANE -Deskloom v1.8 -]\r\n[Application]\r\n\r\nA=1\r\n[Project]\r\nP=x\r\nQ=y\r\n");
  TDataFileManager d(w.ProgramFolder());
  QList<int> codes;
  d.OnChange = [&](TDataFileManager*, int code) { codes << code; };
  d.Load();
  EXPECT_EQ(d.GetApplicationSection()->Lines(), (QStringList{"", "A=1"}));
  EXPECT_EQ(d.GetProjectSection()->Lines(), (QStringList{"P=x", "Q=y"}));

  d.SetApplicationSection(nullptr);
  d.SetProjectSection(nullptr);
  EXPECT_FALSE(d.Modified);
  EXPECT_EQ(codes, QList<int>{3});

  auto app = d.GetApplicationSection();
  app->SetValue(QStringLiteral("B"), QString());
  d.SetApplicationSection(std::move(app));
  EXPECT_TRUE(d.Modified);
  d.SetProjectSection(std::make_unique<TStringListEx>(QStringList{"R=z"}));
  EXPECT_EQ(codes, (QList<int>{3, 1, 2}));
  EXPECT_EQ(d.Lines.Text(),
            QStringLiteral("[QUORVANE -Deskloom v1.8 -]\r\n[Application]\r\n\r\nA=1\r\nB=\r\n[Project]\r\nR=z\r\n"));
}

TEST(DataFile, HandEditedFilesKeepEveryLine) {
  struct Case {
    const char* name;
    QByteArray file;
    QStringList lines;
    QStringList application;
    QStringList projects;
  } cases[] = {
      {"no markers", "[QUORVANE -Deskloom v1.8 -]\nLeft=1\nP=x\n",
       {"[QUORVANE -Deskloom v1.8 -]", "[Application]", "Left=1", "P=x", "[Project]"},
       {"Left=1", "P=x"},
       {}},
      {"no project marker", "[QUORVANE -Deskloom v1.8 -]\n[Application]\nLeft=1\n",
       {"[QUORVANE -Deskloom v1.8 -]", "[Application]", "Left=1", "[Project]"},
       {"Left=1"},
       {}},
      {"project first", "[QUORVANE -Deskloom v1.8 -]\n[Project]\nP=x\n[Application]\nLeft=1\n",
       {"[QUORVANE -Deskloom v1.8 -]", "[Application]", "Left=1", "[Project]", "P=x"},
       {"Left=1"},
       {"P=x"}},
      {"project first, then more projects", "[QUORVANE -Deskloom v1.8 -]\n[Project]\nP=x\n[Application]\nA=1\n[Project]\nQ=y\n",
       {"[QUORVANE -Deskloom v1.8 -]", "[Application]", "A=1", "[Project]", "P=x", "[Project]", "Q=y"},
       {"A=1"},
       {"P=x", "[Project]", "Q=y"}},
      {"no header", "[Application]\nLeft=1\n[Project]\nP=x\n",
       {"[QUORVANE -Deskloom v1.8 -]", "[Application]", "Left=1", "[Project]", "P=x"},
       {"Left=1"},
       {"P=x"}},
  };
  for (const auto& c : cases) {
    TTempWorld w;
    TScopedScriptedPrompts prompts;
    w.Write(QStringLiteral("program/zel32.ini"), c.file);
    TDataFileManager d(w.ProgramFolder());
    d.Load();
    EXPECT_EQ(Lines(d), c.lines) << c.name;
    EXPECT_EQ(d.GetApplicationSection()->Lines(), c.application) << c.name;
    EXPECT_EQ(d.GetProjectSection()->Lines(), c.projects) << c.name;
    // Writing settings and projects back does not lose a line either.
    auto app = d.GetApplicationSection();
    app->SetValue(QStringLiteral("Top"), QStringLiteral("2"));
    d.SetApplicationSection(std::move(app));
    d.SetProjectSection(d.GetProjectSection());
    ASSERT_TRUE(d.Save(false)) << c.name;
    const QString saved = QString::fromUtf8(w.Read(QStringLiteral("program/zel32.ini")));
    for (const QString& l : c.lines) EXPECT_TRUE(saved.contains(l)) << c.name << " lost " << l.toStdString();
  }
}

TEST(DataFile, SaveWritesOnlyWhenNeededAndReports) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  TDataFileManager d(w.ProgramFolder());
  int before = 0;
  d.OnBeforeSave = [&](TDataFileManager*, int code) {
    EXPECT_EQ(code, 3);
    ++before;
  };
  d.Load();
  EXPECT_TRUE(d.Save(false));
  EXPECT_FALSE(QFile::exists(d.FileName));
  EXPECT_TRUE(d.Save(true));
  EXPECT_EQ(w.Read(QStringLiteral("program/zel32.ini")), kDefault.toUtf8());
  EXPECT_EQ(prompts->Messages(), QStringList{"Saved."});
  d.Quiet = true;
  d.SetProjectSection(std::make_unique<TStringListEx>());
  EXPECT_TRUE(d.Save(false));
  EXPECT_FALSE(d.Modified);
  EXPECT_EQ(prompts->Messages().size(), 1);
  EXPECT_EQ(before, 3);
}

// The old file stays whole when the new one cannot be written completely.
TEST(DataFile, FailedSaveKeepsTheOldFileAndReports) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  const QByteArray old = "[QUORVANE -Deskloom v1.8 -]\r\n[Application]\r\n[Project]\r\nP=x\r\n";
  w.Write(QStringLiteral("program/zel32.ini"), old);
  TDataFileManager d(w.ProgramFolder());
  d.Load();
  d.Quiet = true;
  // Far more than the file size limit below allows.
  d.SetProjectSection(std::make_unique<TStringListEx>(QStringList(2000, QString(100, u'x'))));

  // A full disk: writes beyond 4 KiB fail.
  struct rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit tight = saved;
  tight.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &tight);
  const bool ok = d.Save(false);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(ok);
  EXPECT_TRUE(d.Modified);
  EXPECT_EQ(w.Read(QStringLiteral("program/zel32.ini")), old);
  EXPECT_EQ(prompts->Messages(), QStringList{"zel32.ini saving process can not continue."});
  EXPECT_EQ(QDir(w.ProgramFolder()).entryList(QDir::Files), QStringList{"zel32.ini"});
}

TEST(DataFile, FolderTheUserCannotWrite) {
  TTempWorld w;
  const QByteArray old = "[QUORVANE -Deskloom v1.8 -]\r\n[Application]\r\n[Project]\r\n";
  w.Write(QStringLiteral("program/zel32.ini"), old);
  QFile::setPermissions(w.ProgramFolder(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
  QFile::setPermissions(w.Root(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther);
  // Root may write anywhere, so the save runs as an ordinary user in a child.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
    TScopedScriptedPrompts prompts;
    TDataFileManager d(w.ProgramFolder());
    d.Load();
    const bool ok = d.Save(true);
    const bool reported = prompts->Messages() == QStringList{"zel32.ini saving process can not continue."};
    _exit(!ok && reported ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  QFile::setPermissions(w.ProgramFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(w.Read(QStringLiteral("program/zel32.ini")), old);
}

TEST(DataFile, AFileThatCannotBeReadOrBackedUpIsNeverReplaced) {
  {
    // Unreadable: a folder stands where the file is.
    TTempWorld w;
    TScopedScriptedPrompts prompts;
    QDir().mkpath(w.ProgramFolder() + QStringLiteral("/zel32.ini"));
    TDataFileManager d(w.ProgramFolder());
    d.Load();
    EXPECT_TRUE(d.SaveBlocked);
    EXPECT_EQ(d.Lines.Text(), kDefault);
    EXPECT_FALSE(d.Save(true));
    EXPECT_TRUE(QFileInfo(w.ProgramFolder() + QStringLiteral("/zel32.ini")).isDir());
    EXPECT_EQ(prompts->Messages(),
              (QStringList{"zel32.ini cannot be read.\r\nSettings and projects will not be written to it in this session.",
                           "zel32.ini saving process can not continue."}));
  }
  {
    // An old layout whose backup cannot be written stays as it is.
    TTempWorld w;
    TScopedScriptedPrompts prompts;
    const QByteArray old = "[QUORVANE -Deskloom v1.7 -]\r\n[Application]\r\n[Project]\r\nP=\"label,C1\"\r\n";
    w.Write(QStringLiteral("program/zel32.ini"), old);
    QDir().mkpath(w.ProgramFolder() + QStringLiteral("/zel32ini.bak"));
    TDataFileManager d(w.ProgramFolder());
    d.Load();
    EXPECT_TRUE(d.SaveBlocked);
    EXPECT_FALSE(d.Save(true));
    EXPECT_EQ(w.Read(QStringLiteral("program/zel32.ini")), old);
    EXPECT_EQ(prompts->Messages().mid(0, 2),
              (QStringList{"The zel32.ini is not compatible.",
                           "zel32ini.bak cannot be written.\r\nzel32.ini will not be replaced in this session."}));
  }
}
