#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include "temp_world.h"

namespace {

struct TRun {
  int Code;
  QString Out, Err;
};

TRun RunTool(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral(ZEL_PIPELINE_TOOL), args);
  p.waitForFinished(30000);
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
          QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace

TEST(ZelPipeline, AppliesThePipelineAndWrites24BitPictures) {
  TTempWorld world;
  QImage photo(40, 30, QImage::Format_RGB32);
  photo.fill(qRgb(10, 200, 30));
  const QString in = world.Root() + "/in.png";
  ASSERT_TRUE(photo.save(in));
  for (const char* out : {"out.png", "out.BMP"}) {
    const QString path = world.Root() + "/" + out;
    const TRun r = RunTool({in, path, "--pipeline", "SoftFilter,Contrast,Level=150,Complement", "--size", "20x10"});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.contains("Validation: None.")) << r.Out.toStdString();
    EXPECT_TRUE(r.Out.contains("Pipeline: SoftFilter,Contrast,Level=100,Complement")) << r.Out.toStdString();
    EXPECT_TRUE(r.Out.contains(QRegularExpression("Complement\\s+\\d+ms\\."))) << r.Out.toStdString();
    const QImage result(path);
    EXPECT_EQ(result.size(), QSize(20, 10));
    EXPECT_EQ(result.depth() == 24 || result.format() == QImage::Format_RGB888 || result.format() == QImage::Format_RGB32, true);
  }
  // The BMP is a 24-bit file: bits per pixel at offset 28.
  QFile bmp(world.Root() + "/out.BMP");
  ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
  EXPECT_EQ(uint8_t(bmp.readAll().at(28)), 24);
  // Without --size the picture keeps its size; duplicate interpolation is
  // reported and still runs.
  const TRun r = RunTool({in, world.Root() + "/same.png", "--pipeline", "Nearest BiLinear"});
  EXPECT_EQ(r.Code, 0);
  EXPECT_TRUE(r.Out.contains("Validation: Duplicate Interpolation."));
  EXPECT_EQ(QImage(world.Root() + "/same.png").size(), QSize(40, 30));
}

TEST(ZelPipeline, BadInputIsAClearFailure) {
  TTempWorld world;
  const QString in = world.Write("in.png", QByteArray());
  QImage(4, 4, QImage::Format_RGB32).save(in);
  const QString garbage = world.Write("garbage.png", "not a picture");
  const QString out = world.Root() + "/out.png";
  const struct {
    QStringList args;
    int code;
    const char* says;
  } cases[] = {
      {{world.Root() + "/missing.png", out}, 1, "no such file"},
      {{garbage, out}, 1, "not a picture"},
      {{in, out, "--size", "0x10"}, 2, "at least 1x1"},
      {{in, out, "--size", "big"}, 2, "WxH"},
      {{in, out, "--pipeline", "Complement,Sharpen"}, 2, "neither a filter"},
      {{in, world.Root() + "/out.jpg"}, 2, ".bmp or .png"},
      {{in}, 2, "usage"},
      {{in, out, "--frobnicate"}, 2, "unknown option"},
      {{in, out, "--pipeline", "BiLinear", "--size", "1x5"}, 1, "the pipeline failed"},
      {{in, world.Root() + "/no/such/folder/out.png"}, 1, "cannot write"},
  };
  for (const auto& c : cases) {
    const TRun r = RunTool(c.args);
    EXPECT_EQ(r.Code, c.code) << c.args.join(' ').toStdString();
    EXPECT_TRUE(r.Err.contains(QLatin1String(c.says))) << r.Err.toStdString();
  }
}
