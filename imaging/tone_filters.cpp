#include "tone_filters.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "bitmap24.h"
#include "filter_kernels.h"
#include "imaging_math.h"

using namespace ImagingMath;

// --- Soft ------------------------------------------------------------------

void TSoftFilter::Process(QImage& Bitmap) {
  TCostScope cost(*this);
  Bitmap24::Ensure(Bitmap);
  const int w = Bitmap.width(), h = Bitmap.height();
  for (int y = 0; y < h; ++y) {
    uint8_t* row = Bitmap.scanLine(y);
    if (y + 1 < h)
      FilterKernels::SoftRow(row, Bitmap.constScanLine(y + 1), w);
    else
      FilterKernels::SoftLastRow(row, w);
  }
}

// --- Negative --------------------------------------------------------------

void TNegaPosiReverse::Process(QImage& Bitmap) {
  TCostScope cost(*this);
  Bitmap24::Ensure(Bitmap);
  const size_t n = size_t(Bitmap.width()) * 3;
  for (int y = 0; y < Bitmap.height(); ++y) FilterKernels::Invert(Bitmap.scanLine(y), n);
}

// --- Sepia -----------------------------------------------------------------

void TSepiaColor::TableEntry(int i, uint8_t bgr[3]) {
  const int32_t y = (i * 255) << 10;
  const int32_t cb = -20889, cr = 18540;
  const int32_t r = (y + cr * 1436) / (1 << 20);
  const int32_t g = (y - cb * 353 - cr * 728) / (1 << 20);
  const int32_t b = (y + cb * 1775) / (1 << 20);
  bgr[0] = uint8_t(std::clamp(b, 0, 255));
  bgr[1] = uint8_t(std::clamp(g, 0, 255));
  bgr[2] = uint8_t(std::clamp(r, 0, 255));
}

void TSepiaColor::Process(QImage& Bitmap) {
  TCostScope cost(*this);
  Bitmap24::Ensure(Bitmap);
  // Built at every run; entries packed blue | green << 8 | red << 16.
  std::vector<uint32_t> table(TableSize);
  for (int i = 0; i < TableSize; ++i) {
    uint8_t e[3];
    TableEntry(i, e);
    table[i] = e[0] | uint32_t(e[1]) << 8 | uint32_t(e[2]) << 16;
  }
  for (int y = 0; y < Bitmap.height(); ++y)
    FilterKernels::SepiaRow(Bitmap.scanLine(y), Bitmap.width(), table.data());
}

// --- Contrast --------------------------------------------------------------

TContrast::TContrast(QImage* WorkBitmap) : TCustomGraphicsFilter(WorkBitmap) {
  SetDefaultParams(QStringLiteral("Level=0"));
}

void TContrast::ValidateParams() {
  FLevel = std::clamp(IntParam(QStringLiteral("Level")), -100, 100);
  ParamsRef().SetValue(QStringLiteral("Level"), QString::number(FLevel));
}

void TContrast::Process(QImage& Bitmap) {
  TCostScope cost(*this);
  Bitmap24::Ensure(Bitmap);
  const float c = float((long double)FLevel / 100);
  uint8_t lut[256];
  for (int v = 0; v < 256; ++v) lut[v] = Clamp8(double(((long double)v - 127.5L) * c + v));
  const size_t n = size_t(Bitmap.width()) * 3;
  for (int y = 0; y < Bitmap.height(); ++y) FilterKernels::ApplyLut(Bitmap.scanLine(y), n, lut);
}

// --- Gamma (brightness) ----------------------------------------------------

TGamma::TGamma(QImage* WorkBitmap) : TCustomGraphicsFilter(WorkBitmap) {
  SetDefaultParams(QStringLiteral("Level=0"));
}

void TGamma::ValidateParams() {
  FLevel = std::clamp(IntParam(QStringLiteral("Level")), -100, 100);
  ParamsRef().SetValue(QStringLiteral("Level"), QString::number(FLevel));
}

void TGamma::Process(QImage& Bitmap) {
  TCostScope cost(*this);
  Bitmap24::Ensure(Bitmap);
  const double offset = double((long double)FLevel / 100 * 255);
  uint8_t lut[256];
  for (int v = 0; v < 256; ++v) lut[v] = Clamp8(double((long double)v + offset));
  const size_t n = size_t(Bitmap.width()) * 3;
  for (int y = 0; y < Bitmap.height(); ++y) FilterKernels::ApplyLut(Bitmap.scanLine(y), n, lut);
}

// --- Median ----------------------------------------------------------------

TMedian::TMedian(QImage* WorkBitmap) : TCustomGraphicsFilter(WorkBitmap) {
  SetDefaultParams(QStringLiteral("Threshold=1"));
}

void TMedian::ValidateParams() {
  FThreshold = std::clamp(IntParam(QStringLiteral("Threshold")), 1, 9);
  ParamsRef().SetValue(QStringLiteral("Threshold"), QString::number(FThreshold));
}

void TMedian::Process(QImage& Bitmap) {
  TCostScope cost(*this);
  Bitmap24::Ensure(Bitmap);
  QImage local;
  QImage& scratch = WorkBitmap() ? *WorkBitmap() : local;
  // A picture narrower or lower than 3 pixels has no whole block: it
  // becomes empty.
  const int w = std::max(0, Bitmap.width() - 2), h = std::max(0, Bitmap.height() - 2);
  Bitmap24::SetSize(scratch, w, h);
  if (w > 0 && h > 0) {
    const int rank = std::clamp(FThreshold, 1, 9);
    const int sw = Bitmap.width();
    // Each source row is packed once; three packed rows are in use at a time.
    std::vector<uint32_t> packed(size_t(sw) * 3), ranked(w);
    uint32_t* rows[3] = {packed.data(), packed.data() + sw, packed.data() + 2 * sw};
    FilterKernels::PackRow(Bitmap.constScanLine(0), sw, rows[0]);
    FilterKernels::PackRow(Bitmap.constScanLine(1), sw, rows[1]);
    for (int y = 0; y < h; ++y) {
      FilterKernels::PackRow(Bitmap.constScanLine(y + 2), sw, rows[2]);
      FilterKernels::RankRow(rows[0], rows[1], rows[2], w, rank, ranked.data());
      FilterKernels::UnpackRow(ranked.data(), w, scratch.scanLine(y));
      std::rotate(rows, rows + 1, rows + 3);
    }
  }
  std::swap(Bitmap, scratch);
}
