#include "compatible_bitmap_stream.h"

#include <QFile>
#include <QImageReader>

#include "imaging_errors.h"
#include "picture_loader.h"

namespace {

QImage ReadBitmapFile(QIODevice& device) {
  QImageReader reader(&device, "bmp");
  QImage image;
  if (!reader.read(&image)) throw EInvalidGraphicOperation(QStringLiteral("Bitmap image is not valid"));
  return image;
}

}  // namespace

void TCompatibleBitmapStream::LoadFromFile(const QString& FileName) {
  TPictureLoader* loader = TPictureLoader::Current();
  if (loader && !loader->CanLoadFile(FileName) && !loader->DefaultPluginReads(FileName)) return;
  QFile file(FileName);
  if (!file.open(QIODevice::ReadOnly))
    throw EInvalidGraphicOperation(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, file.errorString()));
  LoadFromStream(file);
}

void TCompatibleBitmapStream::LoadFromStream(QIODevice& Stream) {
  TPictureLoader* loader = TPictureLoader::Current();
  if (!loader) {
    FBitmap = ReadBitmapFile(Stream);
    return;
  }
  if (!loader->LoadStream(*this, Stream)) throw EInvalidGraphicOperation(QStringLiteral("not supported."));
}
