#pragma once

#include <cstdint>

#include <QImage>
#include <QRgb>

// Helpers for the 24-bit bitmaps every filter, the viewer and the thumbnail
// cache work on: QImage in Format_BGR888 (bytes blue, green, red; row 0 at
// the top). An empty bitmap is a null QImage.
namespace Bitmap24 {

constexpr QImage::Format Format = QImage::Format_BGR888;

// The most memory one picture may take, for decoders and for the bitmaps the
// filters allocate alike, so that a decompression bomb or an absurd resize
// is refused instead of exhausting memory.
constexpr int AllocationLimitMB = 1024;

// Sets the decoders' allocation limit (QImageReader) to AllocationLimitMB.
void ApplyAllocationLimit();

// Converts a bitmap of another pixel format to 24 bits, in place.
void Ensure(QImage& bitmap);
// A 24-bit copy of a bitmap, sharing the data when it already is 24-bit.
QImage As24(const QImage& bitmap);

// True when a 24-bit bitmap of this size stays within the allocation limit.
bool SizeAllowed(qint64 width, qint64 height);
// A new 24-bit bitmap, contents undefined; a zero dimension gives an empty
// bitmap. Raises EInvalidGraphicOperation when the size is negative, beyond
// the allocation limit or cannot be allocated.
QImage New(qint64 width, qint64 height);
// Makes a bitmap 24-bit and of the given size, reusing its memory when it
// already is; contents undefined after a change of size.
void SetSize(QImage& bitmap, qint64 width, qint64 height);

// Fills the whole bitmap with one colour.
void Fill(QImage& bitmap, QRgb color);
// Copies src onto dst with its top-left corner at (x, y); what falls
// outside dst is cut off. Both 24-bit.
void Draw(QImage& dst, const QImage& src, int x, int y);

}  // namespace Bitmap24
