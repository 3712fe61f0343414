#include "filter_kernels.h"

#include <algorithm>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace FilterKernels {

namespace {

#if defined(__x86_64__)
// A 256-entry byte table looked up 64 bytes at a time: two 128-entry
// permutes pick from the low and high halves of the table, bit 7 of each
// index chooses between them. Needs AVX-512 VBMI; chosen at run time.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void ApplyLutVbmi(uint8_t* bytes, size_t count,
                                                                          const uint8_t lut[256]) {
  const __m512i t0 = _mm512_loadu_si512(lut), t1 = _mm512_loadu_si512(lut + 64);
  const __m512i t2 = _mm512_loadu_si512(lut + 128), t3 = _mm512_loadu_si512(lut + 192);
  size_t k = 0;
  for (; k + 64 <= count; k += 64) {
    const __m512i idx = _mm512_loadu_si512(bytes + k);
    const __m512i lo = _mm512_permutex2var_epi8(t0, idx, t1);
    const __m512i hi = _mm512_permutex2var_epi8(t2, idx, t3);
    _mm512_storeu_si512(bytes + k, _mm512_mask_blend_epi8(_mm512_movepi8_mask(idx), lo, hi));
  }
  if (k < count) {
    const __mmask64 m = (~__mmask64(0)) >> (64 - (count - k));
    const __m512i idx = _mm512_maskz_loadu_epi8(m, bytes + k);
    const __m512i lo = _mm512_permutex2var_epi8(t0, idx, t1);
    const __m512i hi = _mm512_permutex2var_epi8(t2, idx, t3);
    _mm512_mask_storeu_epi8(bytes + k, m, _mm512_mask_blend_epi8(_mm512_movepi8_mask(idx), lo, hi));
  }
}

bool HasVbmi() {
  static const bool has = __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512bw");
  return has;
}
#endif

void ApplyLutPlain(uint8_t* bytes, size_t count, const uint8_t lut[256]) {
  size_t k = 0;
  for (; k + 8 <= count; k += 8) {
    const uint8_t v0 = lut[bytes[k]], v1 = lut[bytes[k + 1]], v2 = lut[bytes[k + 2]],
                  v3 = lut[bytes[k + 3]], v4 = lut[bytes[k + 4]], v5 = lut[bytes[k + 5]],
                  v6 = lut[bytes[k + 6]], v7 = lut[bytes[k + 7]];
    bytes[k] = v0;
    bytes[k + 1] = v1;
    bytes[k + 2] = v2;
    bytes[k + 3] = v3;
    bytes[k + 4] = v4;
    bytes[k + 5] = v5;
    bytes[k + 6] = v6;
    bytes[k + 7] = v7;
  }
  for (; k < count; ++k) bytes[k] = lut[bytes[k]];
}

}  // namespace

void Invert(uint8_t* bytes, size_t count) {
  for (size_t k = 0; k < count; ++k) bytes[k] = uint8_t(~bytes[k]);
}

bool LutUsesVbmi() {
#if defined(__x86_64__)
  return HasVbmi();
#else
  return false;
#endif
}

void ApplyLut(uint8_t* bytes, size_t count, const uint8_t lut[256], bool allowWide) {
#if defined(__x86_64__)
  if (allowWide && HasVbmi()) {
    ApplyLutVbmi(bytes, count, lut);
    return;
  }
#endif
  ApplyLutPlain(bytes, count, lut);
}

void SepiaRow(uint8_t* row, int width, const uint32_t* table) {
  for (int x = 0; x < width; ++x, row += 3) {
    const uint32_t index = (uint32_t(row[2]) * 306 + uint32_t(row[1]) * 601 + uint32_t(row[0]) * 117) / 255;
    const uint32_t e = table[index];
    row[0] = uint8_t(e);
    row[1] = uint8_t(e >> 8);
    row[2] = uint8_t(e >> 16);
  }
}

namespace {

// Column by column, exactly as the smoothing is defined: column x reads
// columns x, x+1, x+2 (clamped to the last) of the live row twice and of
// the row below once, and writes column x+1 (clamped). Used for short rows
// and for the last row, where `below` is the row itself.
void SoftGeneric(uint8_t* a, const uint8_t* c, int w) {
  for (int x = 0; x < w; ++x) {
    const int c0 = x, c1 = std::min(x + 1, w - 1), c2 = std::min(c1 + 1, w - 1);
    for (int ch = 0; ch < 3; ++ch) {
      const uint32_t sum = 2 * (uint32_t(a[3 * c0 + ch]) + a[3 * c1 + ch] + a[3 * c2 + ch]) +
                           c[3 * c0 + ch] + c[3 * c1 + ch] + c[3 * c2 + ch];
      a[3 * c1 + ch] = uint8_t(sum / 9);
    }
  }
}

}  // namespace

void SoftRow(uint8_t* a, const uint8_t* c, int w) {
  if (w < 3) {
    SoftGeneric(a, c, w);
    return;
  }
  // Column x's first value is the result just written for column x - 1,
  // kept in a register; the two values right of it are still unprocessed.
  uint32_t p0 = a[0], p1 = a[1], p2 = a[2];
  for (int x = 0; x + 2 < w; ++x) {
    const uint8_t* s = a + 3 * x;
    const uint8_t* t = c + 3 * x;
    p0 = (2 * (p0 + s[3] + s[6]) + t[0] + t[3] + t[6]) / 9;
    p1 = (2 * (p1 + s[4] + s[7]) + t[1] + t[4] + t[7]) / 9;
    p2 = (2 * (p2 + s[5] + s[8]) + t[2] + t[5] + t[8]) / 9;
    a[3 * x + 3] = uint8_t(p0);
    a[3 * x + 4] = uint8_t(p1);
    a[3 * x + 5] = uint8_t(p2);
  }
  // Column w - 2 reads the last column twice; column w - 1 reads only the
  // last column, which it has just written.
  uint8_t* l = a + 3 * (w - 1);
  const uint8_t* m = c + 3 * (w - 2);
  const uint8_t* n = c + 3 * (w - 1);
  uint32_t p[3] = {p0, p1, p2};
  for (int ch = 0; ch < 3; ++ch) {
    const uint32_t v = (2 * (p[ch] + 2 * uint32_t(l[ch])) + m[ch] + 2 * uint32_t(n[ch])) / 9;
    l[ch] = uint8_t((6 * v + 3 * uint32_t(n[ch])) / 9);
  }
}

void SoftLastRow(uint8_t* row, int width) { SoftGeneric(row, row, width); }

void PackRow(const uint8_t* row, int width, uint32_t* packed) {
  for (int x = 0; x < width; ++x)
    packed[x] = uint32_t(row[3 * x + 2]) | uint32_t(row[3 * x + 1]) << 8 | uint32_t(row[3 * x]) << 16;
}

void UnpackRow(const uint32_t* packed, int width, uint8_t* row) {
  for (int x = 0; x < width; ++x) {
    const uint32_t v = packed[x];
    row[3 * x] = uint8_t(v >> 16);
    row[3 * x + 1] = uint8_t(v >> 8);
    row[3 * x + 2] = uint8_t(v);
  }
}

namespace {

// A 25-comparator sorting network for nine values; for a fixed rank the
// compiler drops the comparators that cannot reach it.
template <int Rank>
void RankRowT(const uint32_t* r0, const uint32_t* r1, const uint32_t* r2, int width, uint32_t* out) {
  for (int x = 0; x < width; ++x) {
    uint32_t v0 = r0[x], v1 = r0[x + 1], v2 = r0[x + 2];
    uint32_t v3 = r1[x], v4 = r1[x + 1], v5 = r1[x + 2];
    uint32_t v6 = r2[x], v7 = r2[x + 1], v8 = r2[x + 2];
#define ZEL_CE(a, b)                  \
  {                                   \
    const uint32_t lo = std::min(a, b); \
    b = std::max(a, b);               \
    a = lo;                           \
  }
    ZEL_CE(v0, v1) ZEL_CE(v3, v4) ZEL_CE(v6, v7)
    ZEL_CE(v1, v2) ZEL_CE(v4, v5) ZEL_CE(v7, v8)
    ZEL_CE(v0, v1) ZEL_CE(v3, v4) ZEL_CE(v6, v7)
    ZEL_CE(v0, v3) ZEL_CE(v3, v6) ZEL_CE(v0, v3)
    ZEL_CE(v1, v4) ZEL_CE(v4, v7) ZEL_CE(v1, v4)
    ZEL_CE(v2, v5) ZEL_CE(v5, v8) ZEL_CE(v2, v5)
    ZEL_CE(v1, v3) ZEL_CE(v5, v7) ZEL_CE(v2, v6)
    ZEL_CE(v4, v6) ZEL_CE(v2, v4) ZEL_CE(v2, v3)
    ZEL_CE(v5, v6)
#undef ZEL_CE
    const uint32_t sorted[9] = {v0, v1, v2, v3, v4, v5, v6, v7, v8};
    out[x] = sorted[Rank - 1];
  }
}

}  // namespace

void RankRow(const uint32_t* r0, const uint32_t* r1, const uint32_t* r2, int width, int rank,
             uint32_t* out) {
  switch (rank) {
    case 1: RankRowT<1>(r0, r1, r2, width, out); break;
    case 2: RankRowT<2>(r0, r1, r2, width, out); break;
    case 3: RankRowT<3>(r0, r1, r2, width, out); break;
    case 4: RankRowT<4>(r0, r1, r2, width, out); break;
    case 5: RankRowT<5>(r0, r1, r2, width, out); break;
    case 6: RankRowT<6>(r0, r1, r2, width, out); break;
    case 7: RankRowT<7>(r0, r1, r2, width, out); break;
    case 8: RankRowT<8>(r0, r1, r2, width, out); break;
    default: RankRowT<9>(r0, r1, r2, width, out); break;
  }
}

}  // namespace FilterKernels
