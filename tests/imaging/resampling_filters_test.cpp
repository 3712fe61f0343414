#include <gtest/gtest.h>

#include "bitmap24.h"
#include "bitmaps.h"
#include "imaging_math.h"
#include "resampling_filters.h"

using namespace TestBitmaps;

namespace {

// A clock that advances 5 ms at every reading.
class FakeClock {
public:
  FakeClock() {
    TCustomGraphicsFilter::SetTickSource([this] { return FNow += 5; });
  }
  ~FakeClock() { TCustomGraphicsFilter::SetTickSource({}); }

private:
  qint64 FNow = 1000;
};

QImage Resample(TCustomGraphicsFilter& f, const QImage& src, int w, int h) {
  QImage dest = Make(w, h, {1, 2, 3});
  EXPECT_TRUE(f.Interpolate(&src, &dest));
  return dest;
}

}  // namespace

TEST(Nearest, SamplesWithTheDestinationSizeAsDivisor) {
  QImage work;
  TNearest f(&work);
  const QImage src = FromGreys({{0, 10, 20, 30}});
  // sx(i) = Trunc(i / Wd * (Ws - 1) + 0.5)
  EXPECT_EQ(Row(Resample(f, src, 8, 1), 0), (std::vector<int>{0, 0, 10, 10, 20, 20, 20, 30}));
  EXPECT_EQ(Row(Resample(f, src, 2, 1), 0), (std::vector<int>{0, 20}));
  const QImage tall = FromGreys({{5}, {6}, {7}});
  EXPECT_EQ(Column(Resample(f, tall, 1, 4), 0), (std::vector<int>{5, 6, 6, 7}));
}

TEST(Nearest, AnswersAsInterpolatingFilterWithoutBitmaps) {
  QImage work;
  EXPECT_TRUE(TNearest(&work).Interpolate(nullptr, nullptr));
  EXPECT_TRUE(TBiLinear(&work).Interpolate(nullptr, nullptr));
  EXPECT_TRUE(TAverageOperation(&work).Interpolate(nullptr, nullptr));
  EXPECT_TRUE(TComplement(&work).Interpolate(nullptr, nullptr));
  EXPECT_FALSE(TRotate(&work).Interpolate(nullptr, nullptr));
  EXPECT_FALSE(TResizeFilter(&work).Interpolate(nullptr, nullptr));
}

TEST(BiLinear, HorizontalPassUsesFloorOfSixteenBitWeights) {
  QImage work;
  TBiLinear f(&work);
  // x = i / 4 * 3: 0, 0.75, 1.5, 2.25, 3. A falling step rounds down
  // (arithmetic shift): 10 + floor(-10 * 0.75) = 2, 100 + floor(-12.5) = 87.
  const QImage src = FromGreys({{10, 0, 0, 0}, {0, 200, 100, 50}});
  QImage dest = Make(5, 2);
  ASSERT_TRUE(f.Interpolate(&src, &dest));
  // The scratch bitmap holds the horizontal pass: Wd x Hs.
  ASSERT_EQ(work.size(), QSize(5, 2));
  EXPECT_EQ(Row(work, 0), (std::vector<int>{10, 2, 0, 0, 0}));
  EXPECT_EQ(Row(work, 1), (std::vector<int>{0, 150, 150, 87, 50}));
  // Even at the same height the vertical pass blends: row 1 samples 0.5.
  EXPECT_EQ(Row(dest, 0), (std::vector<int>{10, 2, 0, 0, 0}));
  EXPECT_EQ(Row(dest, 1), (std::vector<int>{5, 76, 75, 43, 25}));
}

TEST(BiLinear, SameSizeCopiesRowsButBlendsColumns) {
  QImage work;
  TBiLinear f(&work);
  // Rows sample j * (Hs - 1) / Hs: 0, 0.75, 1.5, 2.25; the last row reuses
  // the next row fetched for the row before it (row 2, not row 3).
  const QImage src = FromGreys({{0, 0}, {100, 100}, {200, 200}, {40, 40}});
  const QImage dest = Resample(f, src, 2, 4);
  EXPECT_EQ(Column(dest, 0), (std::vector<int>{0, 75, 150, 200}));
  const QImage wide = FromGreys({{9, 80, 7, 255}});
  EXPECT_EQ(Row(Resample(f, wide, 4, 1), 0), (std::vector<int>{9, 80, 7, 255}));
}

TEST(BiLinear, OneRowSourceEnlargesWithoutReadingPastIt) {
  QImage work;
  TBiLinear f(&work);
  const QImage dest = Resample(f, FromGreys({{30, 60}}), 2, 5);
  EXPECT_EQ(Column(dest, 0), (std::vector<int>(5, 30)));
  EXPECT_EQ(Column(dest, 1), (std::vector<int>(5, 60)));
}

TEST(BiLinear, DestinationWidthOneIsAnArithmeticError) {
  FakeClock clock;
  QImage work;
  TBiLinear f(&work);
  const QImage src = Make(4, 4);
  QImage dest = Make(1, 3);
  EXPECT_THROW(f.Interpolate(&src, &dest), EInvalidOp);
  // The cost is recorded on the failing path too.
  EXPECT_EQ(f.Cost(), 5);
  EXPECT_EQ(f.StartTick(), 0);
}

TEST(AverageOperation, AveragesTheCoveredArea) {
  QImage work;
  TAverageOperation f(&work);
  // r = 1.5: [0, 1.5) and [1.5, 3).
  EXPECT_EQ(Row(Resample(f, FromGreys({{30, 60, 90}}), 2, 1), 0), (std::vector<int>{40, 80}));
  // Equal sizes copy.
  EXPECT_EQ(Row(Resample(f, FromGreys({{3, 250, 17}}), 3, 1), 0), (std::vector<int>{3, 250, 17}));
  // Vertical pass, same scheme.
  EXPECT_EQ(Column(Resample(f, FromGreys({{30}, {60}, {90}}), 1, 2), 0), (std::vector<int>{40, 80}));
}

namespace {

// One pass of the area average transcribed step by step, on one channel of
// a line of values.
std::vector<int> AverageLine(const std::vector<int>& src, int wd) {
  const int ws = int(src.size());
  const long double r = (long double)ws / wd;
  std::vector<int> start(wd + 1), weight(wd + 1);
  for (int k = 0; k <= wd; ++k) {
    const double p = double(r * k);
    start[k] = int(p);
    weight[k] = int((p - (long double)start[k]) * 256);
  }
  const int scale = int(r * 256);
  std::vector<int> out(wd);
  int s = 0, c = 0;
  for (int i = 0; i < wd; ++i) {
    int sum = (src[s] * (256 - c)) >> 8;
    for (int x = start[i] + 1; x <= start[i + 1] - 1; ++x) sum += src[x];
    s = start[i + 1];
    c = weight[i + 1];
    if (c != 0) sum += (src[s] * c) >> 8;
    out[i] = ((sum * 256) / scale) & 255;
  }
  return out;
}

QImage AverageReference(const QImage& src, int wd, int hd) {
  QImage mid = Make(wd, src.height()), out = Make(wd, hd);
  for (int y = 0; y < src.height(); ++y)
    for (int ch = 0; ch < 3; ++ch) {
      std::vector<int> line;
      for (int x = 0; x < src.width(); ++x) line.push_back(At(src, x, y)[ch]);
      const std::vector<int> r = AverageLine(line, wd);
      for (int x = 0; x < wd; ++x) {
        Bgr v = At(mid, x, y);
        v[ch] = uint8_t(r[x]);
        Set(mid, x, y, v);
      }
    }
  for (int x = 0; x < wd; ++x)
    for (int ch = 0; ch < 3; ++ch) {
      std::vector<int> line;
      for (int y = 0; y < src.height(); ++y) line.push_back(At(mid, x, y)[ch]);
      const std::vector<int> r = AverageLine(line, hd);
      for (int y = 0; y < hd; ++y) {
        Bgr v = At(out, x, y);
        v[ch] = uint8_t(r[y]);
        Set(out, x, y, v);
      }
    }
  return out;
}

}  // namespace

TEST(AverageOperation, ReductionMatchesTheSchemeStepByStep) {
  QImage work;
  TAverageOperation f(&work);
  // Widths with and without row padding, ratios just above 1, around 3.4,
  // and beyond 257 pixels per destination pixel.
  const struct {
    int ws, hs, wd, hd;
  } cases[] = {{8, 8, 3, 5},    {12, 9, 11, 8},  {37, 23, 11, 7}, {64, 40, 19, 12},
               {97, 61, 31, 17}, {5, 300, 4, 1}, {600, 3, 2, 2},  {7, 1, 7, 1}};
  for (const auto& c : cases) {
    const QImage src = Random(c.ws, c.hs, unsigned(c.ws * 31 + c.hs));
    ASSERT_TRUE(Same(Resample(f, src, c.wd, c.hd), AverageReference(src, c.wd, c.hd)))
        << c.ws << "x" << c.hs << " -> " << c.wd << "x" << c.hd;
  }
}

TEST(AverageOperation, UniformWhiteNeverWraps) {
  QImage work;
  TAverageOperation f(&work);
  // One reducing pass keeps white within 253..255; a second pass starts
  // from that, so a picture reduced along both axes may lose a little more,
  // but never wraps to a small value.
  for (int ws = 1; ws <= 40; ++ws) {
    const QImage row = Make(ws, 1, Grey(255)), square = Make(ws, ws, Grey(255));
    for (int wd = 1; wd <= ws; ++wd) {
      const QImage reducedRow = Resample(f, row, wd, 1);
      const QImage reducedBoth = Resample(f, square, wd, std::max(1, wd - 1));
      for (int x = 0; x < wd; ++x) {
        ASSERT_GE(At(reducedRow, x, 0)[0], 253) << ws << " -> " << wd;
        for (int y = 0; y < reducedBoth.height(); ++y) ASSERT_GE(At(reducedBoth, x, y)[1], 250);
      }
    }
  }
}

TEST(AverageOperation, EnlargingAveragesTheOneOrTwoSourcePixelsCovered) {
  QImage work;
  TAverageOperation f(&work);
  // 2 -> 3: the middle pixel straddles both source pixels half and half.
  EXPECT_EQ(Row(Resample(f, FromGreys({{0, 90}}), 3, 1), 0), (std::vector<int>{0, 45, 90}));
  EXPECT_EQ(Column(Resample(f, FromGreys({{0}, {90}}), 1, 3), 0), (std::vector<int>{0, 45, 90}));
  // Uniform pictures stay uniform, also beyond 256 times, where the
  // reducing scheme's scale would be 0.
  for (QSize size : {QSize(7, 5), QSize(300, 2), QSize(2, 700)}) {
    const QImage dest = Resample(f, Make(1, 1, {255, 128, 0}), size.width(), size.height());
    for (int y = 0; y < dest.height(); ++y)
      for (int x = 0; x < dest.width(); ++x) ASSERT_EQ(At(dest, x, y), (Bgr{255, 128, 0}));
  }
}

TEST(AverageOperation, ZeroDestinationDimensionIsAnArithmeticError) {
  QImage work;
  TAverageOperation f(&work);
  const QImage src = Make(3, 3);
  QImage empty;
  EXPECT_THROW(f.Interpolate(&src, &empty), EZeroDivide);
  const QImage none;
  EXPECT_THROW(f.Interpolate(&none, &empty), EInvalidOp);
  // An empty source cannot fill a destination.
  QImage dest = Make(2, 2);
  EXPECT_THROW(f.Interpolate(&none, &dest), EInvalidGraphicOperation);
}

TEST(Complement, ReducesByAreaAndEnlargesBilinearlyPerAxis) {
  QImage work;
  TComplement f(&work);
  // Stripes of 0 and 255, one column each: the area average of every
  // column pair is 127; bilinear sampling would not give that.
  QImage src = Make(400, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 1; x < 400; x += 2) Set(src, x, y, Grey(255));
  const QImage dest = Resample(f, src, 200, 300);
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 200; ++x) ASSERT_EQ(At(dest, x, y), Grey(127)) << x << "," << y;
  QImage bilinearWork;
  TBiLinear bilinear(&bilinearWork);
  EXPECT_NE(At(Resample(bilinear, src, 200, 300), 1, 0), Grey(127));

  // Enlarging vertically is bilinear: the same blend as TBiLinear.
  const QImage column = FromGreys({{0, 0}, {100, 100}, {200, 200}, {40, 40}});
  EXPECT_EQ(Column(Resample(f, column, 2, 4), 0), (std::vector<int>{0, 75, 150, 200}));
}

TEST(Complement, AnswersFalseInsteadOfRaising) {
  FakeClock clock;
  QImage work;
  TComplement f(&work);
  const QImage one = Make(1, 1), src = Make(5, 5), none;
  QImage oneWide = Make(1, 3), empty, some = Make(2, 2);
  EXPECT_FALSE(f.Interpolate(&one, &oneWide));  // bilinear 0 / 0
  EXPECT_FALSE(f.Interpolate(&src, &empty));    // area average r = 5 / 0
  EXPECT_FALSE(f.Interpolate(&none, &some));    // no source rows
  EXPECT_EQ(f.Cost(), 5);
  EXPECT_EQ(f.StartTick(), 0);
  EXPECT_TRUE(f.Interpolate(&src, nullptr));
}

TEST(Complement, ReducingMatchesTheTwoPassesItChooses) {
  QImage work;
  TComplement f(&work);
  const QImage src = Random(97, 61, 7);
  QImage a, b, expected = Make(31, 17);
  TAverageOperation::HorizontalPass(src, 31, a);
  TAverageOperation::VerticalPass(a, expected);
  EXPECT_TRUE(Same(Resample(f, src, 31, 17), expected));
  QImage expected2 = Make(31, 80);
  TAverageOperation::HorizontalPass(src, 31, b);
  TBiLinear::VerticalPass(b, expected2);
  EXPECT_TRUE(Same(Resample(f, src, 31, 80), expected2));
}

TEST(ResizeFilter, RateAndLimitValidation) {
  QImage work;
  TResizeFilter f(&work);
  EXPECT_EQ(f.GetParamText(), "Rate=100,Limit=1");
  struct Case {
    const char* text;
    const char* validated;
    int rate;
  } cases[] = {
      {"Rate=50, Limit=1", "Rate=50,Limit=1", 50},
      {"Rate=0,Limit=1", "Rate=1,Limit=1", 1},
      {"Rate=5000,Limit=1", "Rate=1000,Limit=1", 1000},
      {"Rate=5000,Limit=0", "Rate=5000,Limit=0", 5000},
      {"Rate=$32,Limit=0", "Rate=$32,Limit=0", 50},  // left as typed with Limit 0
      {"Rate=50,Limit=7", "Rate=50,Limit=1", 50},
      {"Rate=-20,Limit=-3", "Rate=-20,Limit=0", -20},
      {"Rate=50", "Rate=50,Limit=1", 50},  // Limit added
      {"Rate=12.5,Limit=1", "Rate=100,Limit=1", 100},
      {"Limit=0", "Rate=100,Limit=1", 100},
      {"Rate=50,Limit=x", "Rate=100,Limit=1", 100},
  };
  for (const Case& c : cases) {
    f.SetParamText(QString::fromLatin1(c.text));
    EXPECT_EQ(f.GetParamText(), QString::fromLatin1(c.validated)) << c.text;
    EXPECT_EQ(f.Rate(), c.rate) << c.text;
  }
}

TEST(ResizeFilter, ScalesByRate) {
  QImage work;
  TResizeFilter f(&work);
  QImage picture = Random(101, 3, 3);
  f.SetParamText("Rate=50, Limit=1");
  f.Process(picture);
  EXPECT_EQ(picture.size(), QSize(50, 1));

  QImage small = Make(3, 2, {9, 8, 7});
  f.SetParamText("Rate=5000,Limit=0");
  f.Process(small);
  EXPECT_EQ(small.size(), QSize(150, 100));
  EXPECT_EQ(At(small, 149, 99), (Bgr{9, 8, 7}));

  // A rate that is not an integer reverts to the defaults: nothing changes.
  const QImage before = Random(10, 10, 4);
  QImage same = before;
  f.SetParamText("Rate=fifty,Limit=1");
  f.Process(same);
  EXPECT_TRUE(Same(same, before));

  // Never below one pixel.
  QImage tiny = Make(3, 3);
  f.SetParamText("Rate=1,Limit=1");
  f.Process(tiny);
  EXPECT_EQ(tiny.size(), QSize(1, 1));
}

TEST(ResizeFilter, AbsurdSizeIsRefusedNotAllocated) {
  QImage work;
  TResizeFilter f(&work);
  QImage picture = Make(2000, 2000);
  f.SetParamText("Rate=2000000,Limit=0");
  EXPECT_THROW(f.Process(picture), EInvalidGraphicOperation);
  EXPECT_EQ(picture.size(), QSize(2000, 2000));
}

TEST(Rotate, DegreeValidationAndTables) {
  QImage work;
  TRotate f(&work);
  EXPECT_EQ(f.GetParamText(), "Degree=90");
  for (auto [text, expected] : {std::pair{"Degree=400", "Degree=360"}, {"Degree=-5", "Degree=0"},
                                {"Degree=45", "Degree=45"}, {"Degree=x", "Degree=90"}}) {
    f.SetParamText(QString::fromLatin1(text));
    EXPECT_EQ(f.GetParamText(), QString::fromLatin1(expected));
  }
  ASSERT_EQ(f.SinTable().size(), 361u);
  EXPECT_EQ(f.SinTable()[0], 0.0f);
  EXPECT_EQ(f.CosTable()[0], 1.0f);
  EXPECT_EQ(f.SinTable()[30], 0.5f);
  EXPECT_EQ(f.CosTable()[360], 1.0f);
}

TEST(Rotate, ZeroDegreesLeavesTheLastColumnAndRowToTheFillColour) {
  QImage work;
  TRotate f(&work);
  f.SetParamText("Degree=0");
  const QImage src = Random(5, 4, 11);
  QImage picture = src;
  f.Process(picture);
  ASSERT_EQ(picture.size(), QSize(5, 4));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(At(picture, x, y), (x == 4 || y == 3) ? Grey(255) : At(src, x, y)) << x << "," << y;

  f.SetFillColor(qRgb(10, 20, 30));
  picture = src;
  f.Process(picture);
  EXPECT_EQ(At(picture, 4, 0), (Bgr{30, 20, 10}));
}

TEST(Rotate, PositiveDegreeTurnsCounterClockwise) {
  QImage work;
  TRotate f(&work);
  f.SetParamText("Degree=90");
  QImage picture = Make(5, 5, Grey(100));
  Set(picture, 3, 2, {0, 0, 255});  // right of the centre
  f.Process(picture);
  EXPECT_EQ(At(picture, 2, 1), (Bgr{0, 0, 255}));  // now above it
  EXPECT_EQ(At(picture, 2, 2), Grey(100));
}

TEST(CalcFitSize, FitsKeepingAspect) {
  struct Case {
    int ws, hs, wb, hb;
    QSize expected;
  } cases[] = {
      {200, 100, 50, 50, {50, 25}},
      {10, 10, 100, 50, {50, 50}},  // enlarges too
      {0, 10, 100, 100, {1, 1}},
      {10, 0, 100, 100, {1, 1}},
      {0, 0, 0, 0, {1, 1}},
      {5, 10, 100, 5, {2, 5}},   // 2.5 rounds to even
      {7, 10, 100, 5, {4, 5}},   // 3.5 rounds to even
      {300, 200, 0, 10, {300, 200}},  // a scale of exactly 0 becomes 1
  };
  for (const Case& c : cases)
    EXPECT_EQ(CalcFitSize(c.ws, c.hs, c.wb, c.hb), c.expected) << c.ws << "x" << c.hs << " in " << c.wb << "x" << c.hb;
}

TEST(ImagingMath, ExactDividerMatchesDivision) {
  using ImagingMath::TExactDivider;
  for (uint32_t d : {1u, 2u, 3u, 7u, 255u, 256u, 257u, 384u, 863u, 1000u, 65535u, 123457u}) {
    for (uint64_t bound : {uint64_t(1) << 10, uint64_t(1) << 20, uint64_t(1) << 30}) {
      const TExactDivider div(d, bound - 1);
      ASSERT_FALSE(div.Plain());
      std::mt19937 rng(d);
      for (int k = 0; k < 20000; ++k) {
        const uint32_t n = k < 1000 ? uint32_t(k) : uint32_t(rng() % bound);
        ASSERT_EQ(div(n), n / d) << n << " / " << d;
      }
      ASSERT_EQ(div(uint32_t(bound - 1)), uint32_t((bound - 1) / d));
    }
  }
  EXPECT_TRUE(TExactDivider(3, uint64_t(1) << 40).Plain());
  EXPECT_THROW(TExactDivider(0, 10), EDivByZero);
}

TEST(ImagingMath, RoundingConventions) {
  using namespace ImagingMath;
  EXPECT_EQ(Round(2.5L), 2);
  EXPECT_EQ(Round(3.5L), 4);
  EXPECT_EQ(Round(-2.5L), -2);
  EXPECT_EQ(Trunc(-2.7L), -2);
  EXPECT_EQ(Clamp8(127.5), 128);
  EXPECT_EQ(Clamp8(126.5), 126);
  EXPECT_EQ(Clamp8(-0.0), 0);
  EXPECT_EQ(Clamp8(254.9), 255);
  EXPECT_THROW(Divide(1, 0), EZeroDivide);
  EXPECT_THROW(Divide(0, 0), EInvalidOp);
  EXPECT_THROW(Trunc(1e30L), EInvalidOp);
}
