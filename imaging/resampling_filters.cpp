#include "resampling_filters.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <numbers>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "bitmap24.h"
#include "imaging_math.h"

using namespace ImagingMath;

namespace {

// Rows are about to be read from a bitmap that has none.
[[noreturn]] void NoRows() {
  throw EInvalidGraphicOperation(QStringLiteral("Scan line index out of range"));
}

QImage* ScratchOr(QImage* work, QImage& local) { return work ? work : &local; }

// Per-column (or per-row) tables of the area average: destination pixel i
// starts in source pixel Head[i] at weight HeadWeight[i] (in 1/256), takes
// the whole pixels Head[i]+1 .. Tail[i]-1 and ends in Tail[i] at weight
// TailWeight[i] (0: not at all).
struct TAverageTables {
  std::vector<int32_t> Head, HeadWeight, Tail, TailWeight;
  uint32_t Scale = 0;
  int MaxWhole = 0;
  bool Enlarging = false;

  TAverageTables(int sourceCount, int destCount) {
    const long double r = Divide(sourceCount, destCount);
    std::vector<int32_t> start(size_t(destCount) + 1), weight(size_t(destCount) + 1);
    for (int k = 0; k <= destCount; ++k) {
      const double p = double(r * k);
      start[k] = int32_t(Trunc(p));
      weight[k] = int32_t(Trunc(Frac(p) * 256));
    }
    Scale = uint32_t(Trunc(r * 256));
    Enlarging = destCount > sourceCount;
    Head.resize(destCount);
    HeadWeight.resize(destCount);
    Tail.resize(destCount);
    TailWeight.resize(destCount);
    for (int i = 0; i < destCount; ++i) {
      Head[i] = start[i];
      HeadWeight[i] = 256 - weight[i];
      Tail[i] = start[i + 1];
      // The last edge lands exactly on the source's end; a tail there
      // would weigh nothing, and is never read.
      TailWeight[i] = start[i + 1] < sourceCount ? weight[i + 1] : 0;
      MaxWhole = std::max(MaxWhole, Tail[i] - Head[i] - 1);
    }
  }

  // The largest numerator (sum x 256) a reducing pass divides.
  uint64_t MaxNumerator() const { return uint64_t(255) * uint64_t(MaxWhole + 2) * 256; }
};

// One output value of an enlarging area average: the destination pixel
// lies inside one source pixel (take it) or straddles two (their mean,
// weighted by the part of each it covers).
inline uint8_t EnlargedValue(uint32_t a, uint32_t b, int32_t head, int32_t headWeight,
                             int32_t tail, int32_t tailWeight) {
  if (tail == head || tailWeight == 0) return uint8_t(a);
  const uint32_t total = uint32_t(headWeight + tailWeight);
  return uint8_t((a * uint32_t(headWeight) + b * uint32_t(tailWeight) + total / 2) / total);
}

template <typename Sum, typename Divide>
void AverageRowReduce(const uint8_t* s, uint8_t* d, const TAverageTables& t, int count, Divide div) {
  for (int i = 0; i < count; ++i) {
    const uint8_t* p = s + size_t(t.Head[i]) * 3;
    const Sum hw = Sum(t.HeadWeight[i]);
    Sum b = (p[0] * hw) >> 8, g = (p[1] * hw) >> 8, r = (p[2] * hw) >> 8;
    const uint8_t* end = s + size_t(t.Tail[i]) * 3;
    for (p += 3; p < end; p += 3) {
      b += p[0];
      g += p[1];
      r += p[2];
    }
    if (const Sum tw = Sum(t.TailWeight[i])) {
      b += (end[0] * tw) >> 8;
      g += (end[1] * tw) >> 8;
      r += (end[2] * tw) >> 8;
    }
    d[0] = uint8_t(div(b * 256));
    d[1] = uint8_t(div(g * 256));
    d[2] = uint8_t(div(r * 256));
    d += 3;
  }
}

#if defined(__SSE2__)
// The same reduction with the three channels of a pixel side by side in
// 16-bit lanes: a pixel is loaded as 4 bytes (the fourth belongs to the next
// pixel and is ignored), so the row must have a readable byte after its
// last pixel. Sums stay below 2^16 (at most 257 pixels per destination
// pixel); the division is the multiply and shift of TExactDivider in 64-bit
// lanes.
inline __m128i LoadPixel(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(v)), _mm_setzero_si128());
}

inline __m128i Weighted(const uint8_t* p, int32_t weight) {
  return _mm_srli_epi16(_mm_mullo_epi16(LoadPixel(p), _mm_set1_epi16(int16_t(weight))), 8);
}

// floor(sum * 256 / d) of the 16-bit lanes 0..3, low 8 bits, as 4 bytes.
inline uint32_t DivideLanes(__m128i sums, __m128i m, __m128i k) {
  const __m128i n = _mm_slli_epi32(_mm_unpacklo_epi16(sums, _mm_setzero_si128()), 8);
  const __m128i q02 = _mm_srl_epi64(_mm_mul_epu32(n, m), k);
  const __m128i q13 = _mm_srl_epi64(_mm_mul_epu32(_mm_srli_epi64(n, 32), m), k);
  __m128i q = _mm_or_si128(q02, _mm_slli_epi64(q13, 32));
  q = _mm_and_si128(q, _mm_set1_epi32(0xFF));
  q = _mm_packs_epi32(q, q);
  return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(q, q)));
}

void AverageRowReduceSse2(const uint8_t* s, uint8_t* d, const TAverageTables& t, int count,
                          const TExactDivider& div) {
  const __m128i m = _mm_set1_epi64x(int64_t(div.Multiplier()));
  const __m128i k = _mm_cvtsi32_si128(div.Shift());
  for (int i = 0; i < count; ++i) {
    const uint8_t* p = s + size_t(t.Head[i]) * 3;
    __m128i acc = Weighted(p, t.HeadWeight[i]);
    const uint8_t* end = s + size_t(t.Tail[i]) * 3;
    for (p += 3; p < end; p += 3) acc = _mm_add_epi16(acc, LoadPixel(p));
    if (t.TailWeight[i]) acc = _mm_add_epi16(acc, Weighted(end, t.TailWeight[i]));
    const uint32_t out = DivideLanes(acc, m, k);
    if (i + 1 < count) {
      std::memcpy(d, &out, 4);  // the fourth byte is overwritten next
    } else {
      d[0] = uint8_t(out);
      d[1] = uint8_t(out >> 8);
      d[2] = uint8_t(out >> 16);
    }
    d += 3;
  }
}
#endif

#if defined(__SSE2__)
// The vertical reduction of one destination row with 16-bit sums, sixteen
// bytes at a time.
void AverageColumnReduceSse2(const QImage& src, const TAverageTables& t, int j, uint8_t* out,
                             std::vector<uint16_t>& acc, const TExactDivider& div) {
  const size_t n = size_t(src.width()) * 3, wide = n / 16 * 16;
  const __m128i z = _mm_setzero_si128();
  uint16_t* a = acc.data();
  auto weighted = [&](const uint8_t* row, int32_t weight, bool add) {
    const __m128i w = _mm_set1_epi16(int16_t(weight));
    size_t k = 0;
    for (; k < wide; k += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + k));
      __m128i lo = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(v, z), w), 8);
      __m128i hi = _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(v, z), w), 8);
      __m128i* dst = reinterpret_cast<__m128i*>(a + k);
      if (add) {
        lo = _mm_add_epi16(lo, _mm_loadu_si128(dst));
        hi = _mm_add_epi16(hi, _mm_loadu_si128(dst + 1));
      }
      _mm_storeu_si128(dst, lo);
      _mm_storeu_si128(dst + 1, hi);
    }
    for (; k < n; ++k) a[k] = uint16_t((add ? a[k] : 0) + ((uint32_t(row[k]) * uint32_t(weight)) >> 8));
  };
  weighted(src.constScanLine(t.Head[j]), t.HeadWeight[j], false);
  for (int y = t.Head[j] + 1; y < t.Tail[j]; ++y) {
    const uint8_t* row = src.constScanLine(y);
    size_t k = 0;
    for (; k < wide; k += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + k));
      __m128i* dst = reinterpret_cast<__m128i*>(a + k);
      _mm_storeu_si128(dst, _mm_add_epi16(_mm_loadu_si128(dst), _mm_unpacklo_epi8(v, z)));
      _mm_storeu_si128(dst + 1, _mm_add_epi16(_mm_loadu_si128(dst + 1), _mm_unpackhi_epi8(v, z)));
    }
    for (; k < n; ++k) a[k] = uint16_t(a[k] + row[k]);
  }
  if (t.TailWeight[j]) weighted(src.constScanLine(t.Tail[j]), t.TailWeight[j], true);

  const __m128i m = _mm_set1_epi64x(int64_t(div.Multiplier()));
  const __m128i k = _mm_cvtsi32_si128(div.Shift());
  const __m128i low = _mm_set1_epi32(0xFF);
  auto quotient = [&](__m128i sums32) {
    const __m128i v = _mm_slli_epi32(sums32, 8);
    const __m128i q02 = _mm_srl_epi64(_mm_mul_epu32(v, m), k);
    const __m128i q13 = _mm_srl_epi64(_mm_mul_epu32(_mm_srli_epi64(v, 32), m), k);
    return _mm_and_si128(_mm_or_si128(q02, _mm_slli_epi64(q13, 32)), low);
  };
  const size_t eight = n / 8 * 8;
  size_t i = 0;
  for (; i < eight; i += 8) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
    const __m128i q = _mm_packs_epi32(quotient(_mm_unpacklo_epi16(v, z)), quotient(_mm_unpackhi_epi16(v, z)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(q, q));
  }
  for (; i < n; ++i) out[i] = uint8_t(div(uint32_t(a[i]) * 256));
}
#endif

void AverageRowEnlarge(const uint8_t* s, uint8_t* d, const TAverageTables& t, int count) {
  for (int i = 0; i < count; ++i) {
    const uint8_t* a = s + size_t(t.Head[i]) * 3;
    const uint8_t* b = t.TailWeight[i] ? s + size_t(t.Tail[i]) * 3 : a;
    for (int ch = 0; ch < 3; ++ch)
      d[ch] = EnlargedValue(a[ch], b[ch], t.Head[i], t.HeadWeight[i], t.Tail[i], t.TailWeight[i]);
    d += 3;
  }
}

// Vertical area average of one destination row over whole scratch rows.
void AverageColumnReduce(const QImage& src, const TAverageTables& t, int j, uint8_t* out,
                         std::vector<uint32_t>& acc, const TExactDivider& div) {
  const size_t n = size_t(src.width()) * 3;
  const uint32_t hw = uint32_t(t.HeadWeight[j]);
  const uint8_t* head = src.constScanLine(t.Head[j]);
  uint32_t* a = acc.data();
  for (size_t k = 0; k < n; ++k) a[k] = (head[k] * hw) >> 8;
  for (int y = t.Head[j] + 1; y < t.Tail[j]; ++y) {
    const uint8_t* row = src.constScanLine(y);
    for (size_t k = 0; k < n; ++k) a[k] += row[k];
  }
  if (const uint32_t tw = uint32_t(t.TailWeight[j])) {
    const uint8_t* tail = src.constScanLine(t.Tail[j]);
    for (size_t k = 0; k < n; ++k) a[k] += (tail[k] * tw) >> 8;
  }
  if (div.Plain()) {
    const uint64_t d = div.Divisor();
    for (size_t k = 0; k < n; ++k) out[k] = uint8_t((uint64_t(a[k]) * 256) / d);
  } else {
    const uint32_t m = div.Multiplier();
    const int shift = div.Shift();
    for (size_t k = 0; k < n; ++k) out[k] = uint8_t((uint64_t(a[k] * 256) * m) >> shift);
  }
}

}  // namespace

// --- Nearest ---------------------------------------------------------------

bool TNearest::Interpolate(const QImage* Source, QImage* Dest) {
  if (!Source || !Dest) return true;
  TCostScope cost(*this);
  Bitmap24::Ensure(*Dest);
  const QImage src = Bitmap24::As24(*Source);
  const int wd = Dest->width(), hd = Dest->height(), ws = src.width(), hs = src.height();
  if (wd == 0 || hd == 0) return true;
  if (ws == 0 || hs == 0) NoRows();
  std::vector<int32_t> sx(wd);
  for (int i = 0; i < wd; ++i) sx[i] = int32_t(Trunc((long double)i / wd * (ws - 1) + 0.5L)) * 3;
  for (int j = 0; j < hd; ++j) {
    const int sy = int(Trunc((long double)j / hd * (hs - 1) + 0.5L));
    const uint8_t* s = src.constScanLine(sy);
    uint8_t* d = Dest->scanLine(j);
    for (int i = 0; i < wd; ++i, d += 3) {
      const uint8_t* p = s + sx[i];
      d[0] = p[0];
      d[1] = p[1];
      d[2] = p[2];
    }
  }
  return true;
}

// --- Bilinear --------------------------------------------------------------

void TBiLinear::HorizontalPass(const QImage& Source, int DestWidth, QImage& Dest) {
  const int ws = Source.width(), hs = Source.height(), wd = DestWidth;
  // Column i samples x = i / (wd - 1) * (ws - 1); a destination width of 1
  // divides zero by zero.
  std::vector<int32_t> x0(wd), x1(wd), f(wd);
  for (int i = 0; i < wd; ++i) {
    const double x = double(Divide(i, wd - 1) * (ws - 1));
    const int64_t i0 = Trunc(x);
    const int32_t fi = int32_t(Trunc(Frac(x) * 65536));
    x0[i] = int32_t(i0) * 3;
    f[i] = fi;
    x1[i] = fi == 0 ? x0[i] : x0[i] + 3;
  }
  Bitmap24::SetSize(Dest, wd, hs);
  if (wd == 0 || hs == 0) return;
  if (ws == 0) NoRows();
  for (int y = 0; y < hs; ++y) {
    const uint8_t* s = Source.constScanLine(y);
    uint8_t* d = Dest.scanLine(y);
    for (int i = 0; i < wd; ++i, d += 3) {
      const uint8_t* a = s + x0[i];
      const uint8_t* b = s + x1[i];
      const int32_t w = f[i];
      d[0] = uint8_t(a[0] + (((b[0] - a[0]) * w) >> 16));
      d[1] = uint8_t(a[1] + (((b[1] - a[1]) * w) >> 16));
      d[2] = uint8_t(a[2] + (((b[2] - a[2]) * w) >> 16));
    }
  }
}

void TBiLinear::VerticalPass(const QImage& Source, QImage& Dest) {
  const int hs = Source.height(), wd = Dest.width(), hd = Dest.height();
  if (wd == 0 || hd == 0) return;
  if (Source.width() == 0 || hs == 0) NoRows();
  const size_t n = size_t(wd) * 3;
  int next = 0;
  for (int j = 0; j < hd; ++j) {
    // The divisor is hd, not hd - 1: row j samples j * (hs - 1) / hd.
    const long double y = (long double)j / hd * (hs - 1);
    const int y0 = int(Trunc(y));
    const int32_t f = int32_t(Trunc(Frac(y) * 65536));
    // The last row blends with the row fetched as "next" for the row
    // before it. A one-row source has no next row; its weight is 0 then.
    if (j < hd - 1) next = std::min(y0 + 1, hs - 1);
    const uint8_t* a = Source.constScanLine(y0);
    uint8_t* d = Dest.scanLine(j);
    if (f == 0) {
      std::memcpy(d, a, n);
      continue;
    }
    const uint8_t* b = Source.constScanLine(next);
    for (size_t k = 0; k < n; ++k) d[k] = uint8_t(a[k] + (((b[k] - a[k]) * f) >> 16));
  }
}

// Both separable filters: across into the scratch bitmap (Wd x Hs), then
// down into the destination.
template <class TFilter>
bool TwoPasses(TFilter& filter, const QImage* Source, QImage* Dest) {
  if (!Source || !Dest) return true;
  TCostScope cost(filter);
  Bitmap24::Ensure(*Dest);
  const QImage src = Bitmap24::As24(*Source);
  QImage local;
  QImage* scratch = ScratchOr(filter.WorkBitmap(), local);
  TFilter::HorizontalPass(src, Dest->width(), *scratch);
  TFilter::VerticalPass(*scratch, *Dest);
  return true;
}

bool TBiLinear::Interpolate(const QImage* Source, QImage* Dest) { return TwoPasses(*this, Source, Dest); }

// --- Area average ----------------------------------------------------------

void TAverageOperation::HorizontalPass(const QImage& Source, int DestWidth, QImage& Dest) {
  const int ws = Source.width(), hs = Source.height(), wd = DestWidth;
  const TAverageTables t(ws, wd);
  Bitmap24::SetSize(Dest, wd, hs);
  if (wd == 0 || hs == 0) return;
  if (ws == 0) NoRows();
  if (t.Enlarging) {
    for (int y = 0; y < hs; ++y) AverageRowEnlarge(Source.constScanLine(y), Dest.scanLine(y), t, wd);
    return;
  }
  const TExactDivider div(t.Scale, t.MaxNumerator());
  if (div.Plain()) {
    auto plain = [d = uint64_t(t.Scale)](uint64_t n) { return n / d; };
    for (int y = 0; y < hs; ++y)
      AverageRowReduce<uint64_t>(Source.constScanLine(y), Dest.scanLine(y), t, wd, plain);
  } else {
    auto fast = [m = uint64_t(div.Multiplier()), k = div.Shift()](uint32_t n) {
      return uint32_t((uint64_t(n) * m) >> k);
    };
#if defined(__SSE2__)
    if (t.MaxWhole + 2 <= 257) {
      // Four-byte pixel loads may read one byte past a row's last pixel:
      // padding when the row has some, the next row otherwise, so only the
      // last row of an unpadded picture goes the plain way.
      const bool padded = Source.bytesPerLine() > qsizetype(ws) * 3;
      for (int y = 0; y < hs; ++y) {
        if (padded || y + 1 < hs)
          AverageRowReduceSse2(Source.constScanLine(y), Dest.scanLine(y), t, wd, div);
        else
          AverageRowReduce<uint32_t>(Source.constScanLine(y), Dest.scanLine(y), t, wd, fast);
      }
      return;
    }
#endif
    for (int y = 0; y < hs; ++y)
      AverageRowReduce<uint32_t>(Source.constScanLine(y), Dest.scanLine(y), t, wd, fast);
  }
}

void TAverageOperation::VerticalPass(const QImage& Source, QImage& Dest) {
  const int hs = Source.height(), wd = Dest.width(), hd = Dest.height();
  const TAverageTables t(hs, hd);
  if (wd == 0 || hd == 0) return;
  if (Source.width() == 0 || hs == 0) NoRows();
  const size_t n = size_t(wd) * 3;
  if (t.Enlarging) {
    for (int j = 0; j < hd; ++j) {
      const uint8_t* a = Source.constScanLine(t.Head[j]);
      const uint8_t* b = t.TailWeight[j] ? Source.constScanLine(t.Tail[j]) : a;
      uint8_t* d = Dest.scanLine(j);
      for (size_t k = 0; k < n; ++k)
        d[k] = EnlargedValue(a[k], b[k], t.Head[j], t.HeadWeight[j], t.Tail[j], t.TailWeight[j]);
    }
    return;
  }
  const TExactDivider div(t.Scale, t.MaxNumerator());
#if defined(__SSE2__)
  if (!div.Plain() && t.MaxWhole + 2 <= 257) {
    std::vector<uint16_t> acc16(n);
    for (int j = 0; j < hd; ++j) AverageColumnReduceSse2(Source, t, j, Dest.scanLine(j), acc16, div);
    return;
  }
#endif
  std::vector<uint32_t> acc(n);
  for (int j = 0; j < hd; ++j) AverageColumnReduce(Source, t, j, Dest.scanLine(j), acc, div);
}

bool TAverageOperation::Interpolate(const QImage* Source, QImage* Dest) { return TwoPasses(*this, Source, Dest); }

// --- Complement ------------------------------------------------------------

TComplement::TComplement(QImage* WorkBitmap)
    : TCustomGraphicsFilter(WorkBitmap),
      FBiLinear(std::make_unique<TBiLinear>(WorkBitmap)),
      FAverageOperation(std::make_unique<TAverageOperation>(WorkBitmap)) {}

TComplement::~TComplement() = default;

bool TComplement::Interpolate(const QImage* Source, QImage* Dest) {
  if (!Source || !Dest) return true;
  TCostScope cost(*this);
  try {
    Bitmap24::Ensure(*Dest);
    const QImage src = Bitmap24::As24(*Source);
    QImage local;
    QImage* scratch = ScratchOr(WorkBitmap(), local);
    const int wd = Dest->width(), hd = Dest->height();
    if (wd < src.width())
      FAverageOperation->HorizontalPass(src, wd, *scratch);
    else
      FBiLinear->HorizontalPass(src, wd, *scratch);
    if (hd < src.height())
      FAverageOperation->VerticalPass(*scratch, *Dest);
    else
      FBiLinear->VerticalPass(*scratch, *Dest);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

// --- Resize ----------------------------------------------------------------

TResizeFilter::TResizeFilter(QImage* WorkBitmap)
    : TCustomGraphicsFilter(WorkBitmap), FComplement(std::make_unique<TComplement>(WorkBitmap)) {
  SetDefaultParams(QStringLiteral("Rate=100, Limit=1"));
}

TResizeFilter::~TResizeFilter() = default;

void TResizeFilter::ValidateParams() {
  qint32 limit = ParamsRef().IndexOfName(QStringLiteral("Limit")) >= 0 ? IntParam(QStringLiteral("Limit")) : 1;
  const qint32 rate = IntParam(QStringLiteral("Rate"));
  limit = std::clamp(limit, 0, 1);
  ParamsRef().SetValue(QStringLiteral("Limit"), QString::number(limit));
  FLimit = limit;
  FRate = rate;
  if (limit == 1) {
    FRate = std::clamp(rate, 1, 1000);
    ParamsRef().SetValue(QStringLiteral("Rate"), QString::number(FRate));
  }
}

void TResizeFilter::Process(QImage& Bitmap) {
  TCostScope cost(*this);
  if (FRate == 100) return;
  Bitmap24::Ensure(Bitmap);
  const int64_t w = std::max<int64_t>(1, Trunc((long double)Bitmap.width() / 100 * FRate));
  const int64_t h = std::max<int64_t>(1, Trunc((long double)Bitmap.height() / 100 * FRate));
  QImage temporary = Bitmap24::New(w, h);
  // A resampling that fails leaves the picture as it was rather than
  // replacing it with an unfilled bitmap.
  if (FComplement->Interpolate(&Bitmap, &temporary)) Bitmap = std::move(temporary);
}

// --- Rotate ----------------------------------------------------------------

TRotate::TRotate(QImage* WorkBitmap) : TCustomGraphicsFilter(WorkBitmap) {
  const long double twoPi = 2.0L * std::numbers::pi_v<long double>;
  for (int d = 0; d < TableSize; ++d) {
    const long double a = (long double)d * twoPi / 360.0L;
    FSinTable[d] = float(std::sin(a));
    FCosTable[d] = float(std::cos(a));
  }
  SetDefaultParams(QStringLiteral("Degree=90"));
}

void TRotate::ValidateParams() {
  FDegree = std::clamp(IntParam(QStringLiteral("Degree")), 0, 360);
  ParamsRef().SetValue(QStringLiteral("Degree"), QString::number(FDegree));
}

void TRotate::Process(QImage& Bitmap) {
  TCostScope cost(*this);
  Bitmap24::Ensure(Bitmap);
  QImage local;
  QImage& scratch = *ScratchOr(WorkBitmap(), local);
  const int w = Bitmap.width(), h = Bitmap.height();
  Bitmap24::SetSize(scratch, w, h);
  Bitmap24::Fill(scratch, FFillColor);
  const int cx = w / 2, cy = h / 2;
  const int d = std::clamp(FDegree, 0, 360);
  const long double c = FCosTable[d], s = FSinTable[d];
  for (int y = 0; y < h; ++y) {
    uint8_t* out = scratch.scanLine(y);
    const long double dy = y - cy;
    const long double dySin = dy * s, dyCos = dy * c;
    for (int x = 0; x < w; ++x) {
      const long double dx = x - cx;
      const int64_t sx = cx + Trunc(dx * c - dySin);
      const int64_t sy = cy + Trunc(dx * s + dyCos);
      // The last source column and row are never sampled.
      if (sx >= 0 && sx < w - 1 && sy >= 0 && sy < h - 1) {
        const uint8_t* p = Bitmap.constScanLine(int(sy)) + sx * 3;
        out[3 * x] = p[0];
        out[3 * x + 1] = p[1];
        out[3 * x + 2] = p[2];
      }
    }
  }
  std::swap(Bitmap, scratch);
}

// --- Fit -------------------------------------------------------------------

QSize CalcFitSize(int SourceWidth, int SourceHeight, int BoxWidth, int BoxHeight) {
  try {
    const float sx = float(Divide(BoxWidth, SourceWidth));
    const float sy = float(Divide(BoxHeight, SourceHeight));
    float s = std::min(sx, sy);
    if (s == 0.0f) s = 1.0f;
    const int64_t w = Round((long double)SourceWidth * s);
    const int64_t h = Round((long double)SourceHeight * s);
    if (w < INT_MIN || w > INT_MAX || h < INT_MIN || h > INT_MAX) throw EInvalidOp();
    return QSize(int(w), int(h));
  } catch (const EZelError&) {
    return QSize(1, 1);
  }
}
