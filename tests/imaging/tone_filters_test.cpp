#include <gtest/gtest.h>

#include <algorithm>

#include "bitmaps.h"
#include "filter_kernels.h"
#include "tone_filters.h"

using namespace TestBitmaps;

namespace {

// Runs a filter over a one-row picture holding the given grey values and
// returns the values afterwards.
std::vector<int> MapGreys(TCustomGraphicsFilter& f, std::vector<int> values) {
  QImage picture = Make(int(values.size()), 1);
  for (int x = 0; x < int(values.size()); ++x) Set(picture, x, 0, Grey(uint8_t(values[x])));
  f.Process(picture);
  return Row(picture, 0);
}

// The running smoothing exactly as defined, column by column on the live
// picture, to check the optimised rows against.
QImage SoftReference(QImage p) {
  const int w = p.width(), h = p.height();
  for (int y = 0; y < h; ++y) {
    const int below = std::min(y + 1, h - 1);
    for (int x = 0; x < w; ++x) {
      const int c0 = x, c1 = std::min(x + 1, w - 1), c2 = std::min(c1 + 1, w - 1);
      for (int ch = 0; ch < 3; ++ch) {
        int sum = 0;
        for (int row : {y, y, below})
          for (int c : {c0, c1, c2}) sum += At(p, c, row)[ch];
        Bgr v = At(p, c1, y);
        v[ch] = uint8_t(sum / 9);
        Set(p, c1, y, v);
      }
    }
  }
  return p;
}

int Packed(Bgr v) { return v[2] + v[1] * 256 + v[0] * 65536; }

QImage MedianReference(const QImage& p, int rank) {
  QImage out = Make(p.width() - 2, p.height() - 2);
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x) {
      std::vector<std::pair<int, Bgr>> block;
      for (int dy = 0; dy < 3; ++dy)
        for (int dx = 0; dx < 3; ++dx) block.push_back({Packed(At(p, x + dx, y + dy)), At(p, x + dx, y + dy)});
      std::sort(block.begin(), block.end());
      Set(out, x, y, block[rank - 1].second);
    }
  return out;
}

}  // namespace

TEST(Contrast, MapsChannelValuesAsTabled) {
  QImage work;
  TContrast f(&work);
  const std::vector<int> in{0, 64, 100, 127, 128, 200, 255};
  struct Case {
    const char* params;
    std::vector<int> expected;
  } cases[] = {
      {"Level=100", {0, 0, 72, 126, 128, 255, 255}},
      {"Level=50", {0, 32, 86, 127, 128, 236, 255}},
      {"Level=0", in},
      {"Level=-100", std::vector<int>(7, 128)},
  };
  for (const Case& c : cases) {
    f.SetParamText(QString::fromLatin1(c.params));
    EXPECT_EQ(MapGreys(f, in), c.expected) << c.params;
  }
}

TEST(Contrast, ValidatesLevelAndFallsBack) {
  QImage work;
  TContrast f(&work);
  EXPECT_EQ(f.GetParamText(), "Level=0");
  for (auto [text, expected] : {std::pair{"Level=250", "Level=100"}, {"Level=-101", "Level=-100"},
                                {"Level=abc", "Level=0"}, {"Other=5", "Level=0"}, {"", "Level=0"},  // a blank separates items:
                                {"Level= 20", "Level=0"}, {"Level=20 Other=1", "Level=20,Other=1"}, {"Level=$10", "Level=16"}}) {
    f.SetParamText(QString::fromLatin1(text));
    EXPECT_EQ(f.GetParamText(), QString::fromLatin1(expected)) << text;
  }
}

TEST(Gamma, AddsAPercentageOfFullScale) {
  QImage work;
  TGamma f(&work);
  struct Case {
    const char* params;
    std::vector<int> in, expected;
  } cases[] = {
      {"Level=-10", {0, 1, 100, 250}, {0, 0, 74, 224}},
      {"Level=10", {0, 1, 2, 230, 255}, {26, 26, 28, 255, 255}},  // 25.5 and 26.5 round to even
      {"Level=-100", {0, 128, 255}, {0, 0, 0}},
      {"Level=100", {0, 128, 255}, {255, 255, 255}},
  };
  for (const Case& c : cases) {
    f.SetParamText(QString::fromLatin1(c.params));
    EXPECT_EQ(MapGreys(f, c.in), c.expected) << c.params;
  }
  f.SetParamText("Level=400");
  EXPECT_EQ(f.GetParamText(), "Level=100");
}

TEST(Negative, ComplementsEveryByteAndUndoesItself) {
  QImage work;
  TNegaPosiReverse f(&work);
  QImage picture = Random(37, 5, 1);
  const QImage original = picture;
  f.Process(picture);
  EXPECT_EQ(At(picture, 3, 2)[1], 255 - At(original, 3, 2)[1]);
  EXPECT_EQ(MapGreys(f, {0, 200, 255}), (std::vector<int>{255, 55, 0}));
  f.Process(picture);
  EXPECT_TRUE(Same(picture, original));
}

TEST(Sepia, TableAndLuminanceIndex) {
  struct Entry {
    int index;
    Bgr bgr;
  } entries[] = {{0, {0, 0, 25}}, {514, {92, 122, 153}}, {1024, {219, 249, 255}}};
  for (const Entry& e : entries) {
    Bgr got;
    TSepiaColor::TableEntry(e.index, got.data());
    EXPECT_EQ(got, e.bgr) << e.index;
  }
  QImage work;
  TSepiaColor f(&work);
  // Pure red, green and blue index 306, 601 and 117.
  QImage picture = Make(6, 1);
  const Bgr inputs[] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, Grey(255), Grey(0), Grey(128)};
  const int indexes[] = {306, 601, 117, 1024, 0, 514};
  for (int x = 0; x < 6; ++x) Set(picture, x, 0, inputs[x]);
  f.Process(picture);
  for (int x = 0; x < 6; ++x) {
    Bgr expected;
    TSepiaColor::TableEntry(indexes[x], expected.data());
    EXPECT_EQ(At(picture, x, 0), expected) << x;
  }
  EXPECT_EQ(At(picture, 3, 0), (Bgr{219, 249, 255}));
  EXPECT_EQ(At(picture, 4, 0), (Bgr{0, 0, 25}));
}

TEST(Soft, OnePixelWideWeighsTheRowTwiceAndTheRowBelowOnce) {
  QImage work;
  TSoftFilter f(&work);
  QImage picture = FromGreys({{90}, {0}, {30}});
  f.Process(picture);
  // (6 v(y) + 3 v(y + 1)) / 9; the last row is its own row below.
  EXPECT_EQ(Column(picture, 0), (std::vector<int>{60, 10, 30}));
}

TEST(Soft, RunsLeftToRightOnTheLiveRow) {
  QImage work;
  TSoftFilter f(&work);
  // Column 0 is never written; column 1 reads columns 0..2 twice and the
  // row below once; column 2 then reads the value just written.
  QImage picture = FromGreys({{90, 0, 0, 9}, {0, 0, 0, 0}});
  f.Process(picture);
  // x=0: (2*(90+0+0) + 0) / 9 = 20 -> col 1; x=1: 2*(20+0+9)/9 = 6 -> col 2;
  // x=2: 2*(6+9+9)/9 = 5 -> col 3; x=3: 2*3*5/9 = 3 -> col 3.
  EXPECT_EQ(Row(picture, 0), (std::vector<int>{90, 20, 6, 3}));
  for (int w = 1; w <= 9; ++w)
    for (int h = 1; h <= 4; ++h) {
      const QImage src = Random(w, h, unsigned(w * 10 + h));
      QImage got = src;
      f.Process(got);
      ASSERT_TRUE(Same(got, SoftReference(src))) << w << "x" << h;
    }
}

TEST(Median, ValidatesThreshold) {
  QImage work;
  TMedian f(&work);
  EXPECT_EQ(f.GetParamText(), "Threshold=1");
  for (auto [text, expected] : {std::pair{"Threshold=0", "Threshold=1"}, {"Threshold=12", "Threshold=9"},
                                {"Threshold=5", "Threshold=5"}, {"Threshold=x", "Threshold=1"}}) {
    f.SetParamText(QString::fromLatin1(text));
    EXPECT_EQ(f.GetParamText(), QString::fromLatin1(expected)) << text;
  }
}

TEST(Median, PicksWholePixelsOrderedBlueFirst) {
  QImage work;
  TMedian f(&work);
  // Blue decides the order; red runs the other way, so a filter ordering
  // by red (or mixing channels) gives other pixels.
  QImage block = Make(3, 3);
  for (int k = 0; k < 9; ++k) Set(block, k % 3, k / 3, {uint8_t(10 * (9 - k)), uint8_t(k), uint8_t(20 * k)});
  for (int rank = 1; rank <= 9; ++rank) {
    f.SetParamText(QStringLiteral("Threshold=%1").arg(rank));
    QImage picture = block;
    f.Process(picture);
    ASSERT_EQ(picture.size(), QSize(1, 1));
    const int k = 9 - rank;  // the pixel with the rank-th smallest blue
    EXPECT_EQ(At(picture, 0, 0), (Bgr{uint8_t(10 * (9 - k)), uint8_t(k), uint8_t(20 * k)})) << rank;
  }
}

TEST(Median, ShrinksByTwoAndMatchesSortingEveryBlock) {
  QImage work;
  TMedian f(&work);
  for (int levels : {256, 2}) {
    const QImage src = Random(41, 23, unsigned(levels), levels);
    for (int rank = 1; rank <= 9; ++rank) {
      f.SetParamText(QStringLiteral("Threshold=%1").arg(rank));
      QImage picture = src;
      f.Process(picture);
      ASSERT_EQ(picture.size(), QSize(39, 21));
      ASSERT_TRUE(Same(picture, MedianReference(src, rank))) << "rank " << rank << " levels " << levels;
    }
  }
  for (QSize tooSmall : {QSize(2, 5), QSize(5, 2), QSize(1, 1)}) {
    QImage picture = Make(tooSmall.width(), tooSmall.height());
    f.Process(picture);
    EXPECT_TRUE(picture.isNull());
  }
}

TEST(ToneFilters, ConvertOtherPixelFormatsFirst) {
  QImage work;
  TNegaPosiReverse f(&work);
  QImage picture(3, 2, QImage::Format_ARGB32);
  picture.fill(qRgb(10, 20, 30));
  f.Process(picture);
  EXPECT_EQ(picture.format(), QImage::Format_BGR888);
  EXPECT_EQ(At(picture, 2, 1), (Bgr{225, 235, 245}));
  QImage mono(9, 4, QImage::Format_Mono);
  mono.fill(0);
  TMedian median(&work);
  median.Process(mono);
  EXPECT_EQ(mono.size(), QSize(7, 2));
}

TEST(ToneFilters, WideTableLookupMatchesThePlainOne) {
  // On processors with AVX-512 VBMI the lookup runs 64 bytes at a time;
  // every length (with its tail) must give what the plain loop gives.
  std::mt19937 rng(5);
  uint8_t lut[256];
  for (int v = 0; v < 256; ++v) lut[v] = uint8_t(rng());
  for (size_t n : {size_t(0), size_t(1), size_t(63), size_t(64), size_t(65), size_t(200), size_t(12001)}) {
    std::vector<uint8_t> data(n);
    for (auto& b : data) b = uint8_t(rng());
    std::vector<uint8_t> wide = data, plain = data;
    FilterKernels::ApplyLut(wide.data(), n, lut, true);
    FilterKernels::ApplyLut(plain.data(), n, lut, false);
    ASSERT_EQ(wide, plain) << n;
    for (size_t k = 0; k < n; ++k) ASSERT_EQ(plain[k], lut[data[k]]);
  }
}
