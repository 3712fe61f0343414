#include <gtest/gtest.h>

#include <libheif/heif.h>

#include <QBuffer>
#include <QFile>

#include "bitmaps.h"
#include "load_picture_file.h"
#include "picture_formats.h"
#include "picture_loader.h"
#include "temp_world.h"

using namespace TestBitmaps;

namespace {

// A smooth test photo: red across, green down.
QImage Gradient(int w, int h) {
  QImage image = Make(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Set(image, x, y, {128, uint8_t(y * 255 / (h - 1)), uint8_t(x * 255 / (w - 1))});
  return image;
}

// Encodes a picture with libheif's own encoder, as a camera would.
bool EncodeWithLibheif(const QImage& picture, heif_compression_format format, const QString& path) {
  if (!heif_have_encoder_for_format(format)) return false;
  heif_context* context = heif_context_alloc();
  heif_encoder* encoder = nullptr;
  bool ok = heif_context_get_encoder_for_format(context, format, &encoder).code == heif_error_Ok;
  heif_image* image = nullptr;
  ok = ok && heif_encoder_set_lossy_quality(encoder, 95).code == heif_error_Ok;
  ok = ok && heif_image_create(picture.width(), picture.height(), heif_colorspace_RGB,
                               heif_chroma_interleaved_RGB, &image).code == heif_error_Ok;
  ok = ok && heif_image_add_plane(image, heif_channel_interleaved, picture.width(), picture.height(), 8).code ==
                 heif_error_Ok;
  if (ok) {
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) {
        const Bgr v = At(picture, x, y);
        uint8_t* p = plane + y * stride + 3 * x;
        p[0] = v[2];
        p[1] = v[1];
        p[2] = v[0];
      }
    ok = heif_context_encode_image(context, image, encoder, nullptr, nullptr).code == heif_error_Ok &&
         heif_context_write_to_file(context, path.toLocal8Bit().constData()).code == heif_error_Ok;
  }
  if (image) heif_image_release(image);
  if (encoder) heif_encoder_release(encoder);
  heif_context_free(context);
  return ok;
}

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
