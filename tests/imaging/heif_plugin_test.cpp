#include <gtest/gtest.h>

#include <libheif/heif.h>

#include <QBuffer>
#include <QFile>

#include "bitmaps.h"
#include "heif_encode.h"
#include "load_picture_file.h"
#include "picture_formats.h"
#include "picture_loader.h"
#include "temp_world.h"

using namespace TestBitmaps;
using namespace TestHeif;

namespace {

double MeanDifference(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      for (int c = 0; c < 3; ++c) sum += std::abs(At(a, x, y)[c] - At(b, x, y)[c]);
  return sum / (a.width() * a.height() * 3.0);
}

void Unreadable(QImage& bitmap, const QString&) { bitmap = Make(1, 1); }

class HeifPlugin : public ::testing::Test {
protected:
  void SetUp() override {
    heif_init(nullptr);
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZEL_HEIF_PLUGIN), World.ProgramFolder() + "/heif.so"));
    Loader.SetPluginDir(World.ProgramFolder());
  }
  void TearDown() override { heif_deinit(); }

  TTempWorld World;
  TPictureLoader Loader;
};

}  // namespace

TEST_F(HeifPlugin, AnnouncesItsFormats) {
  ASSERT_EQ(Loader.PluginCount(), 1);
  for (const char* ext : {"heic", ".HEIC", "heif", "avif"}) EXPECT_TRUE(Loader.IsSupportedExtension(ext)) << ext;
  EXPECT_EQ(PictureFormats::Find("heic")->Description, "HEIC photo");
}

TEST_F(HeifPlugin, DecodesHeicAndAvifPhotos) {
  const QImage photo = Gradient(64, 48);
  const struct {
    heif_compression_format format;
    const char* name;
  } cases[] = {{heif_compression_HEVC, "photo.heic"}, {heif_compression_AV1, "photo.avif"}};
  for (const auto& c : cases) {
    const QString path = World.ProgramFolder() + "/" + c.name;
    if (!EncodeWithLibheif(photo, c.format, path)) {
      ADD_FAILURE() << "libheif cannot encode " << c.name << " here";
      continue;
    }
    const QImage decoded = LoadPictureFile(path, Unreadable);
    ASSERT_EQ(decoded.size(), QSize(64, 48)) << c.name;
    EXPECT_EQ(decoded.format(), QImage::Format_BGR888);
    EXPECT_LT(MeanDifference(decoded, photo), 4.0) << c.name;
    // Red rises to the right, green downwards: channels are not swapped.
    EXPECT_GT(At(decoded, 60, 2)[2], 200) << c.name;
    EXPECT_LT(At(decoded, 60, 2)[1], 50) << c.name;
  }
}

TEST_F(HeifPlugin, RefusesWhatIsNotHeif) {
  const QString fake = World.Write("program/fake.heic", QByteArray("\0\0\0\x18" "ftypmp42", 12) + QByteArray(64, 'x'));
  const QString cut = World.ProgramFolder() + "/cut.heic";
  ASSERT_TRUE(EncodeWithLibheif(Gradient(32, 32), heif_compression_HEVC, cut));
  QFile f(cut);
  f.open(QIODevice::ReadWrite);
  const QByteArray whole = f.readAll();
  f.resize(whole.size() / 2);
  f.close();
  for (const QString& path : {fake, cut, World.Write("program/text.heic", "hello")})
    EXPECT_EQ(LoadPictureFile(path, Unreadable).size(), QSize(1, 1)) << path.toStdString();
}
