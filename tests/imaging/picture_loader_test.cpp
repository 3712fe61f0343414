#include <gtest/gtest.h>

#include <thread>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLibrary>

#include "bitmap24.h"
#include "bitmaps.h"
#include "compatible_bitmap_stream.h"
#include "errors.h"
#include "load_picture_file.h"
#include "picture_formats.h"
#include "picture_loader.h"
#include "temp_world.h"

using namespace TestBitmaps;

namespace {

QString TestPlugin(const char* name) {
  return QStringLiteral(ZEL_TEST_PLUGIN_DIR "/zeltest_%1.so").arg(QLatin1String(name));
}

// A program folder with the chosen plug-ins copied in.
class LoaderWorld {
public:
  explicit LoaderWorld(std::initializer_list<const char*> plugins) {
    for (const char* p : plugins) QFile::copy(TestPlugin(p), World.ProgramFolder() + "/zeltest_" + p + ".so");
  }
  QString Path(const QString& name) const { return World.ProgramFolder() + "/" + name; }
  QString Write(const QString& name, const QByteArray& bytes) const { return World.Write("program/" + name, bytes); }

  TTempWorld World;
};

// The scripted plug-in's own counters, read through a second handle on the
// loaded library.
template <typename T>
T ScriptQuery(const QString& library, const char* symbol) {
  QLibrary lib(library);
  auto f = reinterpret_cast<T (*)()>(lib.resolve(symbol));
  return f ? f() : T();
}

// A picture in the scripted plug-in's format.
QByteArray ScriptPicture(char command, int w = 2, int h = 2) {
  QByteArray data("ZTST");
  data += command;
  data += char(w);
  data += char(h);
  data += char(0);
  if (command == 'W') data += QByteArray(8, 'x') + "WIND";
  for (int k = 0; k < w * h * 3; ++k) data += char(10 + k);
  return data;
}

void MarkPlaceholder(QImage& bitmap, const QString&) {
  bitmap = Make(3, 3, {1, 2, 3});
}

bool IsPlaceholder(const QImage& bitmap) {
  return bitmap.size() == QSize(3, 3) && At(bitmap, 0, 0) == Bgr{1, 2, 3};
}

QByteArray Encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, format));
  return bytes;
}

uint32_t Crc32(const QByteArray& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (char c : bytes) {
    crc ^= uint8_t(c);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// A small real PNG whose header claims another size.
QByteArray PngClaiming(quint32 w, quint32 h) {
  QByteArray png = Encoded(Make(4, 4), "png");
  // IHDR data starts at 16: width, height (big-endian); its CRC covers
  // "IHDR" and the 13 data bytes.
  for (int k = 0; k < 4; ++k) {
    png[16 + k] = char(w >> (24 - 8 * k));
    png[20 + k] = char(h >> (24 - 8 * k));
  }
  const uint32_t crc = Crc32(png.mid(12, 17));
  for (int k = 0; k < 4; ++k) png[29 + k] = char(crc >> (24 - 8 * k));
  return png;
}

}  // namespace

TEST(PictureLoader, OneInstanceAtATime) {
  EXPECT_EQ(TPictureLoader::Current(), nullptr);
  {
    TPictureLoader loader;
    EXPECT_EQ(TPictureLoader::Current(), &loader);
    try {
      TPictureLoader second;
      FAIL() << "a second loader was created";
    } catch (const EZelError& e) {
      EXPECT_EQ(e.Message(), "duplicate instance.");
    }
    EXPECT_EQ(TPictureLoader::Current(), &loader);
  }
  EXPECT_EQ(TPictureLoader::Current(), nullptr);
}

TEST(PictureLoader, KeepsOnlyLibrariesWithAllSixExports) {
  LoaderWorld w({"script", "five_exports", "throwing"});
  w.Write("broken.so", "not a library");
  w.Write("readme.txt", "");
  TPictureLoader loader;
  loader.SetPluginDir(w.World.ProgramFolder());
  ASSERT_EQ(loader.PluginCount(), 1);
  EXPECT_EQ(loader.Plugin(0)->Name(), w.Path("zeltest_script.so"));
  EXPECT_TRUE(loader.Plugin(0)->Prepared());
  EXPECT_EQ(loader.Extensions().Lines(), (QStringList{"zts", "zt2", "png"}));
  // A bare item takes "unknown" and its position as description.
  ASSERT_TRUE(PictureFormats::Find("png"));
  EXPECT_EQ(PictureFormats::Find("png")->Description, "unknown2");
  EXPECT_EQ(PictureFormats::Find(".ZTS")->Description, "Scripted test picture");
  EXPECT_FALSE(PictureFormats::Find("five"));
  EXPECT_FALSE(PictureFormats::Find("thr"));
  EXPECT_EQ(ScriptQuery<int>(w.Path("zeltest_script.so"), "ZelTestPrepared"), 1);

  // Rescanning an empty folder frees the plug-ins and their formats.
  loader.SetPluginDir(w.World.Root() + "/nowhere");
  EXPECT_EQ(loader.PluginCount(), 0);
  EXPECT_EQ(loader.Extensions().Count(), 0);
  EXPECT_FALSE(PictureFormats::Find("zts"));
}

TEST(PictureLoader, DefaultPluginGoesFirstOnce) {
  LoaderWorld w({"script"});
  TPictureLoader loader;
  loader.SetPluginDir(w.World.ProgramFolder());
  EXPECT_FALSE(loader.IsSupportedExtension(".jpg"));
  loader.AddDefaultPlugin();
  loader.AddDefaultPlugin();
  ASSERT_EQ(loader.PluginCount(), 2);
  EXPECT_EQ(loader.Plugin(0)->Name(), "DefaultPlugin");
  EXPECT_TRUE(loader.HasDefaultPlugin());
  for (const char* ext : {".JPG", "jpg", ".jpg", "GIF", "jfif", ".exif", "zt2"})
    EXPECT_TRUE(loader.IsSupportedExtension(QString::fromLatin1(ext))) << ext;
  for (const char* ext : {"", ".", "jpeg", "..jpg", "bmp"})
    EXPECT_FALSE(loader.IsSupportedExtension(QString::fromLatin1(ext))) << ext;
  EXPECT_EQ(PictureFormats::Find("jpg")->Description, "Joint Photographic Experts Group");
  EXPECT_EQ(PictureFormats::Find("gif")->Description, "Graphic Information Format/Compuserve graphic");
}

TEST(PictureLoader, StreamTestOffersWindowsAndStopsRunawayOnes) {
  LoaderWorld w({"script"});
  TPictureLoader loader;
  loader.SetPluginDir(w.World.ProgramFolder());
  TCustomPlugin& plugin = *loader.Plugin(0);
  auto test = [&](const QByteArray& data) {
    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(5);
    const bool result = TestStream(plugin, buffer);
    EXPECT_EQ(buffer.pos(), 0);
    return result;
  };
  EXPECT_TRUE(test(ScriptPicture('S')));
  EXPECT_TRUE(test(ScriptPicture('W')));  // recognised at the second window
  EXPECT_FALSE(test(ScriptPicture('W').left(18)));  // the window lies past the end
  EXPECT_FALSE(test(ScriptPicture('H')));  // a 2 GB window is not allocated
  EXPECT_FALSE(test(ScriptPicture('X')));  // the plug-in throws
  const int before = ScriptQuery<int>(w.Path("zeltest_script.so"), "ZelTestLoadTestCalls");
  EXPECT_FALSE(test(ScriptPicture('L')));  // asks forever: cut off
  EXPECT_LE(ScriptQuery<int>(w.Path("zeltest_script.so"), "ZelTestLoadTestCalls") - before, 300);
  const int calls = ScriptQuery<int>(w.Path("zeltest_script.so"), "ZelTestLoadTestCalls");
  EXPECT_FALSE(test("ZTSTS12"));  // shorter than 8 bytes: the plug-in is not asked
  EXPECT_EQ(ScriptQuery<int>(w.Path("zeltest_script.so"), "ZelTestLoadTestCalls"), calls);

  TDefaultPlugin defaults(&loader);
  QByteArray jpeg("\xFF\xD8\xFF\xE0xxxxxx", 10), gif("GIF89a\x01\x00", 8), other("\x89PNG\r\n\x1a\n", 8);
  for (auto [data, expected] : {std::pair{jpeg, true}, {gif, true}, {other, false}}) {
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_EQ(TestStream(defaults, buffer), expected);
  }
  int32_t offset = 0, size = 4;
  bool cont = true;
  EXPECT_FALSE(defaults.LoadTest(reinterpret_cast<const uint8_t*>("\xFF\xD8\xFF\xE0"), offset, size, cont));
  EXPECT_FALSE(cont);
}

TEST(PictureLoader, PluginPicturesAndEveryWayTheyFail) {
  LoaderWorld w({"script"});
  TPictureLoader loader;
  loader.SetPluginDir(w.World.ProgramFolder());

  const QImage picture = LoadPictureFile(w.Write("a.zts", ScriptPicture('S')), MarkPlaceholder);
  ASSERT_EQ(picture.size(), QSize(2, 2));
  EXPECT_EQ(picture.format(), QImage::Format_BGR888);
  EXPECT_EQ(At(picture, 0, 0), (Bgr{10, 11, 12}));
  EXPECT_EQ(At(picture, 1, 1), (Bgr{19, 20, 21}));
  EXPECT_EQ(QString::fromUtf8(ScriptQuery<const char*>(w.Path("zeltest_script.so"), "ZelTestLastName")), w.Path("a.zts"));
  EXPECT_EQ(LoadPictureFile(w.Write("b.zt2", ScriptPicture('W', 1, 1)), MarkPlaceholder).size(), QSize(1, 1));

  const struct {
    const char* name;
    QByteArray data;
  } failures[] = {
      {"garbage.zts", ScriptPicture('G')},   // a handle the host never gave out
      {"nothing.zts", ScriptPicture('N')},   // no bitmap delivered
      {"bomb.zts", ScriptPicture('B')},      // a bitmap beyond the allocation limit
      {"throws.zts", ScriptPicture('T')},    // DrawBitmap throws
      {"refuses.zts", ScriptPicture('X')},   // the stream test throws
      {"loops.zts", ScriptPicture('L')},     // the stream test never ends by itself
      {"throw.zts", ScriptPicture('S')},     // the name check throws
      {"short.zts", "ZTST"},                 // too short to test
      {"empty.zts", ""},
      {"missing.zts", QByteArray()},
  };
  for (const auto& f : failures) {
    const QString path = f.data.isNull() ? w.Path(f.name) : w.Write(f.name, f.data);
    EXPECT_TRUE(IsPlaceholder(LoadPictureFile(path, MarkPlaceholder))) << f.name;
  }

  // The plug-in announced png but accepts no png names (it answers 0x100:
  // the low byte decides): a png file gives an empty graphic.
  const QString png = w.Write("real.png", Encoded(Make(5, 4, {9, 9, 9}), "png"));
  EXPECT_TRUE(IsPlaceholder(LoadPictureFile(png, MarkPlaceholder)));
  EXPECT_TRUE(PictureFormats::LoadPicture(png).isNull());
  loader.SetPluginDir(QString());
  EXPECT_EQ(LoadPictureFile(png, MarkPlaceholder).size(), QSize(5, 4));

  EXPECT_EQ(loader.PluginCount(), 0);
}

TEST(PictureLoader, StreamsThatNoPluginReadsAreNotSupported) {
  LoaderWorld w({"script"});
  {
    TPictureLoader loader;
    loader.SetPluginDir(w.World.ProgramFolder());
    QByteArray data("plain data, nobody's format");
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TCompatibleBitmapStream graphic;
    try {
      graphic.LoadFromStream(buffer);
      FAIL() << "no plug-in reads this";
    } catch (const EZelError& e) {
      EXPECT_EQ(e.Message(), "not supported.");
    }
  }
  // Without a loader the class reads plain bitmap files.
  QByteArray bmp = Encoded(Make(3, 2, {5, 6, 7}), "bmp");
  QBuffer buffer(&bmp);
  buffer.open(QIODevice::ReadOnly);
  TCompatibleBitmapStream graphic;
  graphic.LoadFromStream(buffer);
  EXPECT_EQ(graphic.Bitmap().size(), QSize(3, 2));
}

TEST(PictureLoader, DefaultPluginReadsJpegAndGifByContent) {
  LoaderWorld w({});
  TPictureLoader loader;
  loader.SetPluginDir(w.World.ProgramFolder());
  loader.AddDefaultPlugin();
  const QString jpg = w.Write("photo.jpg", Encoded(Make(96, 48, Grey(200)), "jpg"));
  // Qt writes no GIF: the smallest GIF there is, one white pixel.
  const QString gif = w.Write("dot.gif", QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00"
                                                    "!\xf9\x04\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00"
                                                    "\x01\x00\x00\x02\x02" "D\x01\x00;", 43));
  // The default plug-in accepts no names; its extensions still go to the
  // stream test rather than giving an empty picture.
  EXPECT_FALSE(loader.CanLoadFile(jpg));
  const QImage a = LoadPictureFile(jpg, MarkPlaceholder), b = LoadPictureFile(gif, MarkPlaceholder);
  EXPECT_EQ(a.size(), QSize(96, 48));
  EXPECT_NEAR(At(a, 10, 10)[1], 200, 3);
  EXPECT_EQ(b.size(), QSize(1, 1));
  // A .jpg that holds something else is not decoded by it.
  const QString fake = w.Write("fake.jpg", Encoded(Make(4, 4), "png"));
  EXPECT_TRUE(IsPlaceholder(LoadPictureFile(fake, MarkPlaceholder)));
}

TEST(PictureLoader, PluginCallsNeverOverlap) {
  LoaderWorld w({"script"});
  TPictureLoader loader;
  loader.SetPluginDir(w.World.ProgramFolder());
  const QString path = w.Write("c.zts", ScriptPicture('S'));
  std::vector<std::thread> threads;
  std::atomic<int> loaded{0};
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int k = 0; k < 25; ++k)
        if (LoadPictureFile(path, MarkPlaceholder).size() == QSize(2, 2)) ++loaded;
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(loaded.load(), 100);
  EXPECT_EQ(ScriptQuery<int>(w.Path("zeltest_script.so"), "ZelTestMaxConcurrentCalls"), 1);
}

TEST(LoadPictureFile, HostilePicturesEndInThePlaceholder) {
  TTempWorld world;
  Bitmap24::ApplyAllocationLimit();
  const QByteArray png = Encoded(Random(64, 64, 3), "png");
  const QByteArray jpg = Encoded(Random(64, 64, 3), "jpg");
  const struct {
    const char* name;
    QByteArray data;
  } files[] = {
      {"bomb.png", PngClaiming(60000, 60000)},  // 10 GB claimed: refused by the limit
      {"wide.png", PngClaiming(0x7FFFFFFF, 1)},
      {"zero.png", PngClaiming(0, 0)},
      {"truncated.png", png.left(png.size() / 3)},
      {"header-only.jpg", jpg.left(20)},
      {"empty.bmp", ""},
      {"garbage.bmp", "BM this is no bitmap at all"},
      {"garbage.ico", QByteArray(64, '\0')},
      {"unknown.xyz", png},
      {"absent.png", QByteArray()},
  };
  for (const auto& f : files) {
    const QString path = f.data.isNull() ? world.Root() + "/absent.png" : world.Write(f.name, f.data);
    EXPECT_TRUE(IsPlaceholder(LoadPictureFile(path, MarkPlaceholder))) << f.name;
  }
  // A truncated JPEG may decode in part; it never fails worse than that.
  const QImage partial = LoadPictureFile(world.Write("cut.jpg", jpg.left(jpg.size() / 2)), MarkPlaceholder);
  EXPECT_TRUE(IsPlaceholder(partial) || partial.size() == QSize(64, 64));
  // Without a placeholder routine a failure is an empty bitmap.
  EXPECT_TRUE(LoadPictureFile(world.Root() + "/bomb.png", {}).isNull());
}

TEST(LoadPictureFile, IconsAndBitmapsAndTransparency) {
  TTempWorld world;
  QImage icon(16, 16, QImage::Format_ARGB32);
  icon.fill(qRgba(200, 100, 50, 255));
  icon.setPixel(0, 0, qRgba(200, 100, 50, 0));
  icon.setPixel(1, 0, qRgba(200, 100, 50, 128));
  const QImage a = LoadPictureFile(world.Write("app.ico", Encoded(icon, "ico")), MarkPlaceholder);
  ASSERT_EQ(a.size(), QSize(16, 16));
  EXPECT_EQ(a.format(), QImage::Format_BGR888);
  EXPECT_EQ(At(a, 5, 5), (Bgr{50, 100, 200}));
  EXPECT_EQ(At(a, 0, 0), Grey(0));  // transparent: black shows
  EXPECT_NEAR(At(a, 1, 0)[2], 100, 1);

  const QImage b = LoadPictureFile(world.Write("x.bmp", Encoded(Make(3, 2, {1, 2, 3}), "bmp")), MarkPlaceholder);
  EXPECT_EQ(At(b, 2, 1), (Bgr{1, 2, 3}));
  const QImage c = LoadPictureFile(world.Write("x.PNG", Encoded(icon, "png")), MarkPlaceholder);
  EXPECT_EQ(At(c, 0, 0), Grey(0));
  EXPECT_EQ(At(c, 3, 3), (Bgr{50, 100, 200}));
}

TEST(LoadPictureFile, StandardPlaceholder) {
  QImage bitmap;
  StandardPlaceholder(bitmap, "/some/where/README");
  ASSERT_EQ(bitmap.size(), QSize(200, 200));
  EXPECT_EQ(bitmap.format(), QImage::Format_BGR888);
  EXPECT_EQ(At(bitmap, 0, 0), (Bgr{255, 0, 0}));  // blue
  int light = 0;  // the text, antialiased
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) light += At(bitmap, x, y)[1] > 128;
  EXPECT_GT(light, 10);

  QImage icon;
  StandardPlaceholder(icon, "/some/where/notes.txt");
  EXPECT_FALSE(icon.isNull());
  EXPECT_EQ(icon.format(), QImage::Format_BGR888);
  EXPECT_LE(icon.width(), 64);
}
