#pragma once

#include <cstddef>
#include <cstdint>

// The inner loops of the tone filters, on raw row memory (pixels as bytes
// blue, green, red). Kept apart so they are compiled for speed and can be
// checked against plain versions.
namespace FilterKernels {

// Every byte complemented.
void Invert(uint8_t* bytes, size_t count);
// Every byte replaced through a 256-entry table; with allowWide, through
// AVX-512 VBMI where the processor has it.
void ApplyLut(uint8_t* bytes, size_t count, const uint8_t lut[256], bool allowWide = true);
bool LutUsesVbmi();
// Every pixel replaced by the sepia table entry its luminance indexes;
// entries packed blue | green << 8 | red << 16.
void SepiaRow(uint8_t* row, int width, const uint32_t* table);
// The running smoothing of one row, reading `below` (not yet processed).
void SoftRow(uint8_t* row, const uint8_t* below, int width);
// The same for the last row, which is its own row below.
void SoftLastRow(uint8_t* row, int width);
// Pixels packed into red + green * 256 + blue * 65536, and back.
void PackRow(const uint8_t* row, int width, uint32_t* packed);
void UnpackRow(const uint32_t* packed, int width, uint8_t* row);
// For x in 0..width-1, the value of rank `rank` (1 = smallest, 9 = largest)
// among the 3x3 block of packed values at columns x..x+2 of the three rows.
void RankRow(const uint32_t* r0, const uint32_t* r1, const uint32_t* r2, int width, int rank,
             uint32_t* out);

}  // namespace FilterKernels
