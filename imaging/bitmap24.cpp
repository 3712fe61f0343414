#include "bitmap24.h"

#include <algorithm>
#include <cstring>

#include <QImageReader>

#include "imaging_errors.h"

namespace Bitmap24 {

void ApplyAllocationLimit() { QImageReader::setAllocationLimit(AllocationLimitMB); }

void Ensure(QImage& bitmap) {
  if (!bitmap.isNull() && bitmap.format() != Format) bitmap.convertTo(Format);
}

QImage As24(const QImage& bitmap) {
  if (bitmap.isNull() || bitmap.format() == Format) return bitmap;
  return bitmap.convertToFormat(Format);
}

bool SizeAllowed(qint64 width, qint64 height) {
  if (width < 0 || height < 0) return false;
  if (width == 0 || height == 0) return true;
  const qint64 limit = qint64(AllocationLimitMB) * 1024 * 1024;
  if (width > limit || height > limit) return false;
  const qint64 bytesPerLine = (width * 3 + 3) / 4 * 4;
  return bytesPerLine <= limit / height;
}

QImage New(qint64 width, qint64 height) {
  if (!SizeAllowed(width, height))
    throw EInvalidGraphicOperation(QStringLiteral("Bitmap too large (%1 x %2).").arg(width).arg(height));
  if (width == 0 || height == 0) return QImage();
  QImage image(int(width), int(height), Format);
  if (image.isNull()) throw EInvalidGraphicOperation(QStringLiteral("Out of memory for a bitmap."));
  return image;
}

void SetSize(QImage& bitmap, qint64 width, qint64 height) {
  if (!bitmap.isNull() && bitmap.format() == Format && bitmap.width() == width &&
      bitmap.height() == height)
    return;
  bitmap = QImage();  // release the old memory before taking new
  bitmap = New(width, height);
}

void Fill(QImage& bitmap, QRgb color) {
  if (bitmap.isNull()) return;
  Ensure(bitmap);
  const uint8_t b = uint8_t(qBlue(color)), g = uint8_t(qGreen(color)), r = uint8_t(qRed(color));
  const int w = bitmap.width();
  for (int y = 0; y < bitmap.height(); ++y) {
    uint8_t* row = bitmap.scanLine(y);
    if (b == g && g == r) {
      std::memset(row, b, size_t(w) * 3);
      continue;
    }
    for (int x = 0; x < w; ++x) {
      row[3 * x] = b;
      row[3 * x + 1] = g;
      row[3 * x + 2] = r;
    }
  }
}

void Draw(QImage& dst, const QImage& src, int x, int y) {
  if (dst.isNull() || src.isNull()) return;
  Ensure(dst);
  const QImage s = As24(src);
  const int x0 = std::max(0, x), y0 = std::max(0, y);
  const int x1 = int(std::min<qint64>(dst.width(), qint64(x) + s.width()));
  const int y1 = int(std::min<qint64>(dst.height(), qint64(y) + s.height()));
  if (x0 >= x1 || y0 >= y1) return;
  const size_t bytes = size_t(x1 - x0) * 3;
  for (int row = y0; row < y1; ++row)
    std::memmove(dst.scanLine(row) + size_t(x0) * 3, s.constScanLine(row - y) + size_t(x0 - x) * 3, bytes);
}

}  // namespace Bitmap24
