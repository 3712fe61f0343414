#include "load_picture_file.h"

#include <QFileInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QImageReader>
#include <QMimeDatabase>
#include <QPainter>

#include "bitmap24.h"
#include "imaging_errors.h"
#include "picture_formats.h"

QImage ComposeOverBlack(const QImage& Picture) {
  if (Picture.isNull()) return {};
  if (!Picture.hasAlphaChannel()) return Bitmap24::As24(Picture);
  const QImage premultiplied = Picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QImage out = Bitmap24::New(premultiplied.width(), premultiplied.height());
  for (int y = 0; y < out.height(); ++y) {
    const QRgb* s = reinterpret_cast<const QRgb*>(premultiplied.constScanLine(y));
    uint8_t* d = out.scanLine(y);
    for (int x = 0; x < out.width(); ++x, d += 3) {
      d[0] = uint8_t(qBlue(s[x]));
      d[1] = uint8_t(qGreen(s[x]));
      d[2] = uint8_t(qRed(s[x]));
    }
  }
  return out;
}

namespace {

QImage ReadWith(const QString& path, const char* format) {
  QImageReader reader(path, format);
  QImage image;
  if (!reader.read(&image)) throw EInvalidGraphicOperation(reader.errorString());
  return image;
}

}  // namespace

QImage LoadPictureFile(const QString& Path, const TPlaceholder& Placeholder) {
  QImage bitmap;
  try {
    const QString ext = QFileInfo(Path).suffix().toLower();
    if (ext == QLatin1String("ico")) {
      bitmap = ComposeOverBlack(ReadWith(Path, "ico"));
    } else if (ext == QLatin1String("bmp")) {
      bitmap = ComposeOverBlack(ReadWith(Path, "bmp"));
    } else {
      const QImage picture = PictureFormats::LoadPicture(Path);
      if (picture.width() > 0 || picture.height() > 0)
        bitmap = ComposeOverBlack(picture);
      else if (Placeholder)
        Placeholder(bitmap, Path);
    }
    if (bitmap.isNull() && Placeholder) Placeholder(bitmap, Path);
  } catch (const std::exception&) {
    bitmap = QImage();
    if (Placeholder) Placeholder(bitmap, Path);
  }
  Bitmap24::Ensure(bitmap);
  return bitmap;
}

void StandardPlaceholder(QImage& Bitmap, const QString& Path) {
  const QString ext = QFileInfo(Path).suffix();
  if (ext.isEmpty()) {
    QImage canvas(200, 200, QImage::Format_RGB32);
    canvas.fill(QColor(0, 0, 255));
    QPainter painter(&canvas);
    const QFontMetrics metrics(painter.font());
    const int w = metrics.horizontalAdvance(QStringLiteral("UNKNOWN"));
    const int h = metrics.height();
    const int x = std::max(1, (200 - w) / 2), y = (200 - h) / 2;
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(x, y + metrics.ascent(), QStringLiteral("-UNKNOWN-"));
    painter.end();
    Bitmap = Bitmap24::As24(canvas);
    return;
  }
  // The icon of the file type, found by name alone: the file is not read.
  const QMimeType mime = QMimeDatabase().mimeTypeForFile(QStringLiteral("*.") + ext, QMimeDatabase::MatchExtension);
  QIcon icon = QIcon::fromTheme(mime.iconName());
  for (const QString& fallback : {mime.genericIconName(), QStringLiteral("text-x-generic"),
                                  QStringLiteral("application-x-generic"), QStringLiteral("unknown")})
    if (icon.isNull()) icon = QIcon::fromTheme(fallback);
  QImage image;
  if (!icon.isNull()) image = icon.pixmap(QSize(32, 32)).toImage();
  if (image.isNull()) {
    Bitmap = Bitmap24::New(32, 32);
    Bitmap24::Fill(Bitmap, qRgb(0, 0, 0));
    return;
  }
  Bitmap = ComposeOverBlack(image);
}
