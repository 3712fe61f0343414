#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QCoreApplication>
#include <QLineEdit>
#include <QWidget>

#include "command_trace.h"
#include "memo_pad_bound.h"
#include "prefence_edit.h"
#include "prompt_service.h"
#include "string_list_ex.h"
#include "temp_world.h"

namespace {

struct TMemoFixture : ::testing::Test {
  TTempWorld world;
  TScopedScriptedPrompts prompts;
  QWidget host;
  bool Receive(TMemoPadBound& memo, uint32_t word, const QString& text) {
    TScopedPayload p(text);
    return memo.RecvCommand(nullptr, word, p.Data(), p.Size());
  }
};

// What typing does: the text changes and the document knows it.
void Type(TMemoPadBound& memo, const QString& text) {
  memo.MemoPad()->Editor()->setPlainText(text);
  memo.MemoPad()->Editor()->document()->setModified(true);
}

}  // namespace

TEST_F(TMemoFixture, ANewPadMakesItsFileInTheMemoFolder) {
  TMemoPadBound memo(&host);
  memo.SetParentControl(&host);
  const QFileInfo file(memo.FileName());
  EXPECT_EQ(file.absolutePath(), world.ProgramFolder() + QStringLiteral("/memo"));
  EXPECT_TRUE(file.fileName().startsWith(QStringLiteral("txt")));
  EXPECT_TRUE(file.fileName().endsWith(QStringLiteral(".TMP")));
  EXPECT_TRUE(file.exists());
  EXPECT_EQ(file.size(), 0);
  EXPECT_EQ(memo.MemoPad()->FileName, memo.FileName());
  EXPECT_EQ(memo.Panel()->Caption(), QStringLiteral("MemoPad"));
}

TEST_F(TMemoFixture, TextWordsWithLineFeedCommandAppendLines) {
  TMemoPadBound memo(&host);
  memo.SetParentControl(&host);
  EXPECT_TRUE(Receive(memo, 0x2080800A, QStringLiteral("first")));
  EXPECT_TRUE(Receive(memo, 0x2080800A, QStringLiteral("second")));
  EXPECT_FALSE(Receive(memo, 0x2080000A, QStringLiteral("not text")));
  EXPECT_TRUE(Receive(memo, 0x20808034, QStringLiteral("https://example.org/")));
  EXPECT_EQ(memo.MemoPad()->Lines(), (QStringList{"first", "second"}));
  Type(memo, QStringLiteral("typed\n"));
  Receive(memo, 0x4000800A, QStringLiteral("after a line break"));
  EXPECT_EQ(memo.MemoPad()->Lines(), (QStringList{"typed", "after a line break"}));
}

TEST_F(TMemoFixture, RecordsSaveTheTextAndComeBack) {
  TMemoPadBound memo(&host);
  memo.SetParentControl(&host);
  Type(memo, QStringLiteral("ä line\nsecond"));
  memo.MemoPad()->SetEditorColors(0x00112233, 0x00445566);
  const QString record = memo.GetRecord();
  TStringListEx fields;
  fields.SetCommaText(record);
  ASSERT_EQ(fields.Count(), 14);
  EXPECT_EQ(fields.Get(0), QStringLiteral("memopad"));
  EXPECT_EQ(fields.Get(10), QStringLiteral("False"));
  EXPECT_TRUE(fields.Get(11).startsWith(QStringLiteral("::ZEL32/memo/txt")));
  EXPECT_EQ(fields.Get(12), QStringLiteral("$00112233"));
  EXPECT_EQ(fields.Get(13), QStringLiteral("$00445566"));
  QFile f(memo.FileName());
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(f.readAll()), QStringLiteral("ä line\nsecond\n"));

  TMemoPadBound again(&host);
  again.SetParentControl(&host);
  again.SetRecord(record);
  EXPECT_EQ(again.FileName(), memo.FileName());
  EXPECT_EQ(again.MemoPad()->Editor()->toPlainText(), QStringLiteral("ä line\nsecond"));
  EXPECT_EQ(again.MemoPad()->EditorColor(), 0x00112233u);
  // An unreadable colour keeps the current one.
  fields.Put(12, QStringLiteral("blue"));
  again.SetRecord(fields.CommaText());
  EXPECT_EQ(again.MemoPad()->EditorColor(), 0x00112233u);
}

TEST_F(TMemoFixture, ChangingTheFileSavesTheOldTextAndShowsTheNewFile) {
  const QString other = world.Write(QStringLiteral("notes.txt"), "from disk\r\nline two");
  TMemoPadBound memo(&host);
  memo.SetParentControl(&host);
  const QString old = memo.FileName();
  Type(memo, QStringLiteral("old text"));
  memo.PrefenceOpen(nullptr);
  qobject_cast<QLineEdit*>(memo.Prefence()->Control(QStringLiteral("FileName")))->setText(other);
  EXPECT_EQ(memo.FileName(), other);
  memo.PrefenceOpen(nullptr);  // Edit again closes
  QCoreApplication::sendPostedEvents(memo.Panel());
  EXPECT_EQ(memo.MemoPad()->Editor()->toPlainText(), QStringLiteral("from disk\nline two"));
  QFile f(old);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("old text\n"));

  // Closing with Enter switches files too.
  memo.PrefenceOpen(nullptr);
  auto* field = qobject_cast<QLineEdit*>(memo.Prefence()->Control(QStringLiteral("FileName")));
  field->setText(old);
  emit field->returnPressed();
  QCoreApplication::sendPostedEvents(memo.Panel());
  EXPECT_EQ(memo.MemoPad()->FileName, old);
  EXPECT_EQ(memo.MemoPad()->Editor()->toPlainText(), QStringLiteral("old text"));
}

TEST_F(TMemoFixture, AFileThatCannotBeWrittenSaysSoAndKeepsTheText) {
  TMemoPadBound memo(&host);
  memo.SetParentControl(&host);
  memo.MemoPad()->FileName = world.Root() + QStringLiteral("/no/such/folder/x.txt");
  Type(memo, QStringLiteral("keep me"));
  memo.MemoPad()->Save();
  EXPECT_EQ(prompts->Messages(), QStringList{"Saving Fail."});
  EXPECT_EQ(memo.MemoPad()->Editor()->toPlainText(), QStringLiteral("keep me"));
}

TEST_F(TMemoFixture, FilesAreRewrittenOnlyWhenChangedAndKeepTheirBytes) {
  // Latin-1 text, a no-break space and CR LF line ends survive a store.
  const QByteArray original("caf\xE9" "\xA0" "bar\r\nzwei\r\n");
  const QString file = world.Write(QStringLiteral("notes.txt"), original);
  TMemoPadBound memo(&host);
  memo.SetParentControl(&host);
  const QString made = memo.FileName();
  memo.SetRecord(QStringLiteral("memopad,C00001,0,0,200,200,,1100,-,-,False,") + file);
  EXPECT_FALSE(QFile::exists(made));  // the unused fresh file is gone
  memo.GetRecord();
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), original);
  f.close();
  memo.MemoPad()->AppendLine(QStringLiteral("drei"));
  memo.GetRecord();
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), original + "drei\r\n");
}

TEST_F(TMemoFixture, WithoutAMemoFolderBesideTheProgramMemosGoToTheDataFolder) {
  // A file where the folder should be stands for a program folder nobody may write to.
  world.Write(QStringLiteral("program/memo"), "in the way");
  TMemoPadBound memo(&host);
  memo.SetParentControl(&host);
  EXPECT_TRUE(memo.FileName().startsWith(world.Home() + QStringLiteral("/.local/share/Deskloom/memo/txt")));
}

TEST_F(TMemoFixture, TextTypedSinceTheLastStoreIsKeptWhenThePadGoesAway) {
  QString file;
  {
    TMemoPadBound memo(&host);
    memo.SetParentControl(&host);
    file = memo.FileName();
    Type(memo, QStringLiteral("typed after the last store"));
  }
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("typed after the last store\n"));
}
