#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QThread>
#include <QWidget>

#include "command_trace.h"
#include "hex_dump.h"
#include "image_bound.h"
#include "launcher_bound.h"
#include "prefence_edit.h"
#include "prompt_service.h"
#include "string_list_ex.h"
#include "temp_world.h"

TEST(HexDump, ShortAndLongFiles) {
  TTempWorld w;
  QByteArray hundred;
  for (int i = 0; i < 100; ++i) hundred += char('a' + i % 26);
  const QString small = w.Write(QStringLiteral("small.txt"), hundred);
  const QString dump = HexDumpText(small, 8);
  const QStringList lines = dump.split(QStringLiteral("\r\n"));
  const QString ruler = QString(23, u'-') + QStringLiteral("+ -------+");
  ASSERT_EQ(lines.size(), 1 + 13 + 1 + 1);
  EXPECT_EQ(lines.first(), ruler);
  EXPECT_EQ(lines[1], QStringLiteral("61 62 63 64 65 66 67 68  abcdefgh"));
  // The last four bytes: the hex part padded to 3n.
  EXPECT_EQ(lines[13], QStringLiteral("73 74 75 76              stuv"));
  EXPECT_EQ(lines[14], ruler);
  EXPECT_EQ(lines.last(), QStringLiteral("[EOF]"));

  const QString big = w.Write(QStringLiteral("big.bin"), QByteArray(2000, 'x'));
  EXPECT_TRUE(HexDumpText(big, 16).endsWith(QStringLiteral("\r\n[MORE]")));
  EXPECT_EQ(HexDumpText(big, 16).count(QStringLiteral("\r\n")), 1 + 64 + 1);
  const QString exact = w.Write(QStringLiteral("exact.bin"), QByteArray(1024, 'y'));
  EXPECT_TRUE(HexDumpText(exact, 16).endsWith(QStringLiteral("[MORE]")));
  EXPECT_EQ(HexDumpText(w.Root() + QStringLiteral("/missing"), 8), QStringLiteral("File not found."));
}

TEST(HexDump, TextPartShowsSingleBytesAndNeverEndsInAHalfCharacter) {
  TTempWorld w;
  const QString f = w.Write(QStringLiteral("bytes.bin"), QByteArray("\xA5\xE5\x81Z\x00\x41\x42\x81", 8));
  const QStringList lines = HexDumpText(f, 4).split(QStringLiteral("\r\n"));
  EXPECT_EQ(lines[1], QStringLiteral("A5 E5 81 5A  ") + QChar(0xA5) + QStringLiteral(".") + QChar(0x81) + u'Z');
  EXPECT_EQ(lines[2], QStringLiteral("00 41 42 81  .AB."));
  struct Case {
    int width, charWidth, n;
  } cases[] = {{400, 8, 8}, {1000, 8, 32}, {100, 8, 4}, {0, 8, 4}};
  for (const auto& c : cases) EXPECT_EQ(DumpBytesPerLine(c.width, c.charWidth), c.n) << c.width;
}

namespace {

struct TImageFixture : ::testing::Test {
  TTempWorld world;
  TScopedScriptedPrompts prompts;
  QWidget host;
  QString Picture(const QString& name, int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 30));
    const QString path = world.Root() + u'/' + name;
    image.save(path);
    return path;
  }
};

}  // namespace

TEST_F(TImageFixture, ShowsPicturesScaledToThePanel) {
  host.resize(800, 800);
  TImageBound image(&host);
  image.SetParentControl(&host);
  image.Panel()->resize(200, 200);
  image.Arrange();
  EXPECT_EQ(image.Panel()->Caption(), QStringLiteral("IMAGE (200x200)"));
  image.SetFile(Picture(QStringLiteral("wide.png"), 400, 100));
  EXPECT_EQ(image.PictureWidth, 400);
  EXPECT_EQ(image.Rendered().size(), QSize(200, 50));
  EXPECT_EQ(image.Rendered().pixelColor(10, 10), QColor(200, 30, 30));
  EXPECT_EQ(image.Panel()->Caption(), QString());
  EXPECT_EQ(image.Panel()->BevelOuter(), TOverallPanel::TBevel::None);
  EXPECT_EQ(image.DumpMemo(), nullptr);

  // Zoom items size the panel from the picture.
  QAction* half = nullptr;
  for (QAction* a : image.PopupMenu()->actions())
    if (a->text() == QLatin1String("50%")) half = a;
  ASSERT_NE(half, nullptr);
  half->trigger();
  EXPECT_EQ(image.Panel()->size(), QSize(200, 50));
  EXPECT_EQ(image.Rendered().size(), QSize(200, 50));

  // The file goes away: an empty framed panel; the record keeps the name,
  // so a picture on a medium plugged in later comes back with it.
  image.ShowFile(world.Root() + QStringLiteral("/nothing.png"));
  EXPECT_EQ(image.FileName(), QString());
  EXPECT_TRUE(image.GetRecord().endsWith(QStringLiteral("/nothing.png")));
  half->trigger();
  EXPECT_EQ(image.Panel()->size(), QSize(200, 50));
}

TEST_F(TImageFixture, FilesThatAreNoPicturesShowTheirDump) {
  host.resize(800, 800);
  TImageBound image(&host);
  image.SetParentControl(&host);
  const QString text = world.Write(QStringLiteral("notes/readme.txt"), "hello");
  const QString fake = world.Write(QStringLiteral("broken.png"), "not a png at all");
  for (const QString& f : {text, fake}) {
    image.SetFile(f);
    ASSERT_NE(image.DumpMemo(), nullptr);
    const QStringList lines = image.DumpMemo()->toPlainText().split(u'\n');
    EXPECT_EQ(lines[0], u'>' + QFileInfo(f).absolutePath() + u'/');
    EXPECT_EQ(lines[1], u'>' + QFileInfo(f).fileName());
    EXPECT_EQ(lines[2], QStringLiteral(">-DUMP (LESS THAN 1024 BYTES)-"));
    EXPECT_EQ(lines.last(), QStringLiteral("[EOF]"));
    EXPECT_FALSE(image.ImageView()->isVisibleTo(image.Panel()));
  }
  image.SetFile(Picture(QStringLiteral("ok.png"), 20, 20));
  EXPECT_EQ(image.DumpMemo(), nullptr);
}

TEST_F(TImageFixture, CommandsRecordsAndPreferences) {
  TImageBound image(&host);
  image.SetParentControl(&host);
  const QString a = Picture(QStringLiteral("a.png"), 30, 30);
  const QString inside = world.ProgramFolder() + QStringLiteral("/b.png");
  QImage(10, 10, QImage::Format_RGB32).save(inside);
  auto receive = [&](uint32_t word, const QString& text) {
    TScopedPayload p(text);
    return image.RecvCommand(nullptr, word, p.Data(), p.Size());
  };
  EXPECT_TRUE(receive(0x4040806E, a));
  EXPECT_EQ(image.FileName(), a);
  EXPECT_FALSE(receive(0x4080806E, inside));  // a folder word
  EXPECT_FALSE(receive(0x4040006E, inside));  // no text
  EXPECT_FALSE(receive(0x40408065, inside));  // another command
  EXPECT_TRUE(receive(0x40408034, inside));
  EXPECT_EQ(image.FileName(), inside);

  const QString record = image.GetRecord();
  EXPECT_TRUE(record.startsWith(QStringLiteral("Image,")));
  EXPECT_TRUE(record.endsWith(QStringLiteral(",::ZEL32/b.png")));
  TImageBound again(&host);
  again.SetParentControl(&host);
  again.SetRecord(record);
  EXPECT_EQ(again.FileName(), inside);
  EXPECT_EQ(again.PictureWidth, 10);

  image.PrefenceOpen(nullptr);
  EXPECT_EQ(image.Prefence()->GetValue(QStringLiteral("File")), inside);
  image.Prefence()->SetValue(QStringLiteral("File"), a);
  image.PrefenceChanged(nullptr);
  EXPECT_EQ(image.FileName(), a);
}

TEST_F(TImageFixture, HighQualityAveragesWhereFastPicksPixels) {
  TImageBound image(&host);
  image.SetParentControl(&host);
  image.Panel()->resize(100, 100);
  QImage stripes(200, 200, QImage::Format_RGB32);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) stripes.setPixelColor(x, y, x % 2 ? Qt::white : Qt::black);
  const QString path = world.Root() + QStringLiteral("/stripes.png");
  stripes.save(path);
  image.SetFile(path);
  const QColor fast = image.Rendered().pixelColor(50, 50);
  EXPECT_TRUE(fast == QColor(Qt::black) || fast == QColor(Qt::white));
  image.SetFast(false);
  const QColor smooth = image.Rendered().pixelColor(50, 50);
  EXPECT_NEAR(smooth.red(), 128, 2);
}

namespace {

struct TLauncherFixture : ::testing::Test {
  TTempWorld world;
  TScopedScriptedPrompts prompts;
  QWidget host;
  QString Program(const QString& name, const QByteArray& body = "#!/bin/sh\n") {
    const QString path = world.Write(name, body);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
  }
};

}  // namespace

TEST_F(TLauncherFixture, ProgramsShortcutsAndOtherFiles) {
  TLauncherBound launcher(&host);
  launcher.SetParentControl(&host);
  EXPECT_EQ(launcher.Panel()->Caption(), QStringLiteral("Launcher"));
  const QString tool = Program(QStringLiteral("bin/tool"));
  launcher.SetFile(tool);
  EXPECT_EQ(launcher.FileName(), tool);
  EXPECT_EQ(launcher.Panel()->Caption(), QString());
  EXPECT_FALSE(launcher.IconView()->pixmap().isNull());

  // A plain file keeps the program.
  launcher.SetFile(world.Write(QStringLiteral("notes.txt"), "x"));
  EXPECT_EQ(launcher.FileName(), tool);

  const QString other = Program(QStringLiteral("bin/other"));
  const QString shortcut = world.Write(
      QStringLiteral("other.desktop"),
      ("[Desktop Entry]\nType=Application\nExec=" + other + " --x\nPath=/srv\nIcon=utilities-terminal\n").toUtf8());
  launcher.SetFile(shortcut);
  EXPECT_EQ(launcher.FileName(), shortcut);  // runs its whole Exec line
  EXPECT_EQ(launcher.WorkPath, QStringLiteral("/srv"));
  // A link to a file stands for that file.
  launcher.SetFile(tool);
  const QString link = world.Write(QStringLiteral("other.lnk"), ("[Desktop Entry]\nType=Link\nURL=file://" + other + "\n").toUtf8());
  launcher.SetFile(link);
  EXPECT_EQ(launcher.FileName(), other);

  launcher.ShowIcon(world.Root() + QStringLiteral("/gone"));
  EXPECT_EQ(launcher.Panel()->Caption(), QStringLiteral("NotFound."));
}

TEST_F(TLauncherFixture, LaunchStartsTheProgramInItsWorkingFolder) {
  TLauncherBound launcher(&host);
  launcher.SetParentControl(&host);
  // Without a program a double click opens the preferences.
  launcher.Launch();
  EXPECT_TRUE(launcher.Prefence()->IsOpen());
  QStringList items = launcher.Prefence()->Items.Lines();
  items.removeAll(QStringLiteral("RestoreBounds=true"));  // the small panel grew for the form
  EXPECT_EQ(items, (QStringList{"Relation=", "File=", "WorkPath=", "IconPath=", "IconIndex=0"}));
  launcher.DestroyPrefence();

  const QString folder = world.Root() + QStringLiteral("/work");
  QDir().mkpath(folder);
  const QString tool = Program(QStringLiteral("bin/touch-here"), "#!/bin/sh\ntouch launched\n");
  launcher.SetFile(tool);
  launcher.WorkPath = folder;
  launcher.Launch();
  const auto appears = [](const QString& file) {
    QElapsedTimer t;
    t.start();
    while (!QFileInfo::exists(file) && t.elapsed() < 10000) QThread::msleep(20);
    return QFileInfo::exists(file);
  };
  EXPECT_TRUE(appears(folder + QStringLiteral("/launched")));

  // An application's launcher runs its whole Exec line, arguments included.
  const QString desktop = world.Write(
      QStringLiteral("touch.desktop"),
      ("[Desktop Entry]\nType=Application\nName=Touch\nExec=/bin/sh -c \"touch 'with args'\"\nPath=" + folder + "\n")
          .toUtf8());
  launcher.SetFile(desktop);
  EXPECT_EQ(launcher.FileName(), desktop);
  launcher.Launch();
  EXPECT_TRUE(appears(folder + QStringLiteral("/with args")));
}

TEST_F(TLauncherFixture, RecordsKeepProgramIconAndIndex) {
  TLauncherBound launcher(&host);
  launcher.SetParentControl(&host);
  const QString tool = Program(QStringLiteral("program/tools/run"));
  launcher.SetFile(tool);
  launcher.SetIconPath(world.ProgramFolder() + QStringLiteral("/icons/app.ico"));
  launcher.SetIconIndex(2);
  const QString record = launcher.GetRecord();
  EXPECT_TRUE(record.startsWith(QStringLiteral("App,")));
  EXPECT_TRUE(record.endsWith(QStringLiteral(",::ZEL32/tools/run,::ZEL32/icons/app.ico,2"))) << record.toStdString();
  TStringListEx fields;
  fields.SetCommaText(record);
  fields.Put(12, QStringLiteral("two"));
  TLauncherBound again(&host);
  again.SetParentControl(&host);
  again.SetRecord(fields.CommaText());
  EXPECT_EQ(again.FileName(), tool);
  EXPECT_EQ(again.IconPath(), world.ProgramFolder() + QStringLiteral("/icons/app.ico"));
  EXPECT_EQ(again.IconIndex(), 0);
  EXPECT_EQ(again.WorkPath, QString());
}
