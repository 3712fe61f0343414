#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <random>
#include <vector>

#include <QImage>

// Small 24-bit pictures for the filter tests, written and read pixel by
// pixel as (blue, green, red).
namespace TestBitmaps {

using Bgr = std::array<uint8_t, 3>;

inline QImage Make(int w, int h, Bgr fill = {0, 0, 0}) {
  QImage image(w, h, QImage::Format_BGR888);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = image.scanLine(y) + 3 * x;
      p[0] = fill[0];
      p[1] = fill[1];
      p[2] = fill[2];
    }
  return image;
}

inline Bgr At(const QImage& image, int x, int y) {
  const uint8_t* p = image.constScanLine(y) + 3 * x;
  return {p[0], p[1], p[2]};
}

inline void Set(QImage& image, int x, int y, Bgr v) {
  uint8_t* p = image.scanLine(y) + 3 * x;
  p[0] = v[0];
  p[1] = v[1];
  p[2] = v[2];
}

inline Bgr Grey(uint8_t v) { return {v, v, v}; }

// A picture whose rows are given as grey values.
inline QImage FromGreys(std::initializer_list<std::initializer_list<int>> rows) {
  const int h = int(rows.size()), w = int(rows.begin()->size());
  QImage image = Make(w, h);
  int y = 0;
  for (const auto& row : rows) {
    int x = 0;
    for (int v : row) Set(image, x++, y, Grey(uint8_t(v)));
    ++y;
  }
  return image;
}

// The blue channel of one row, for comparing grey pictures.
inline std::vector<int> Row(const QImage& image, int y) {
  std::vector<int> out;
  for (int x = 0; x < image.width(); ++x) out.push_back(At(image, x, y)[0]);
  return out;
}

inline std::vector<int> Column(const QImage& image, int x) {
  std::vector<int> out;
  for (int y = 0; y < image.height(); ++y) out.push_back(At(image, x, y)[0]);
  return out;
}

// Random content; `levels` limits the values per channel (2 gives many ties).
inline QImage Random(int w, int h, unsigned seed, int levels = 256) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> d(0, levels - 1);
  QImage image = Make(w, h);
  const int step = levels > 1 ? 255 / (levels - 1) : 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      Set(image, x, y, {uint8_t(d(rng) * step), uint8_t(d(rng) * step), uint8_t(d(rng) * step)});
  return image;
}

// Pixel-wise equality of the visible bytes (row padding ignored).
inline bool Same(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return false;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (At(a, x, y) != At(b, x, y)) return false;
  return true;
}

}  // namespace TestBitmaps
