#include "picture_formats.h"

#include <QFileInfo>
#include <QImageReader>
#include <QReadWriteLock>

#include "compatible_bitmap_stream.h"
#include "imaging_errors.h"

namespace {

struct TFormatTable {
  QReadWriteLock Lock;
  QList<TFileFormat> Formats;  // newest last
};

TFormatTable& Table() {
  static TFormatTable table;
  return table;
}

QString Normalised(const QString& extension) {
  QString e = extension.startsWith(u'.') ? extension.mid(1) : extension;
  return e.toLower();
}

}  // namespace

namespace PictureFormats {

void RegisterFileFormat(const QString& Extension, const QString& Description, TGraphicClass GraphicClass) {
  TFormatTable& t = Table();
  QWriteLocker lock(&t.Lock);
  t.Formats.append({Normalised(Extension), Description, GraphicClass});
}

void UnregisterGraphicClass(TGraphicClass GraphicClass) {
  TFormatTable& t = Table();
  QWriteLocker lock(&t.Lock);
  t.Formats.removeIf([&](const TFileFormat& f) { return f.GraphicClass == GraphicClass; });
}

std::optional<TFileFormat> Find(const QString& Extension) {
  const QString e = Normalised(Extension);
  TFormatTable& t = Table();
  QReadLocker lock(&t.Lock);
  for (qsizetype i = t.Formats.size() - 1; i >= 0; --i)
    if (t.Formats.at(i).Extension == e) return t.Formats.at(i);
  return std::nullopt;
}

QList<TFileFormat> Registered() {
  TFormatTable& t = Table();
  QReadLocker lock(&t.Lock);
  return t.Formats;
}

bool IsBuiltIn(const QString& Extension) {
  const QByteArray e = Normalised(Extension).toLatin1();
  return !e.isEmpty() && QImageReader::supportedImageFormats().contains(e);
}

QImage LoadPicture(const QString& FileName) {
  const QString ext = QFileInfo(FileName).suffix().toLower();
  if (Find(ext)) {
    TCompatibleBitmapStream graphic;
    graphic.LoadFromFile(FileName);
    return graphic.Bitmap();
  }
  if (!IsBuiltIn(ext))
    throw EInvalidGraphicOperation(QStringLiteral("Unknown picture file extension (.%1)").arg(ext));
  QImageReader reader(FileName, ext.toLatin1());
  reader.setAutoTransform(true);
  QImage image;
  if (!reader.read(&image)) throw EInvalidGraphicOperation(reader.errorString());
  return image;
}

}  // namespace PictureFormats
