#include <gtest/gtest.h>

#include "bitmaps.h"
#include "graphics_filters.h"
#include "imaging_errors.h"
#include "resampling_filters.h"
#include "tone_filters.h"

using namespace TestBitmaps;

namespace {

QStringList Entries(const TGraphicsFilters& list) { return list.Pipeline().Lines(); }

QImage RunPipeline(TGraphicsFilters& list, const QString& text, const QImage& src, QSize size) {
  list.SetPipelineText(text);
  QImage dest = Make(size.width(), size.height(), {7, 7, 7});
  list.Apply(src, dest);
  return dest;
}

QImage Contrast20(QImage p) {
  QImage work;
  TContrast f(&work);
  f.SetParamText("Level=20");
  f.Process(p);
  return p;
}

QImage ComplementInto(const QImage& src, QSize size) {
  QImage work, dest = Make(size.width(), size.height());
  TComplement f(&work);
  EXPECT_TRUE(f.Interpolate(&src, &dest));
  return dest;
}

}  // namespace

TEST(GraphicsFilters, TwelveFiltersInOrderFoundByExactKeyword) {
  TGraphicsFilters list;
  const QStringList expected{"Nearest", "BiLinear", "AverageOperation", "Complement", "SoftFilter",
                             "NegaPosiReverse", "SepiaColor", "Contrast", "Gamma", "Rotate", "Median",
                             "ResizeFilter"};
  ASSERT_EQ(list.FilterCount(), 12);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(list.GetFilter(i)->Keyword(), expected[i]);
    EXPECT_EQ(list.FindFilter(expected[i]), list.GetFilter(i));
    EXPECT_EQ(list.GetFilter(i)->WorkBitmap(), list.WorkBitmap());
  }
  EXPECT_EQ(list.FindFilter("contrast"), nullptr);
  EXPECT_EQ(list.FindFilter("TContrast"), nullptr);
  EXPECT_EQ(list.FindFilter("Level=20"), nullptr);
}

TEST(GraphicsFilters, EmptyPipelineCentresThePictureOnBlackUnscaled) {
  TGraphicsFilters list;
  const QImage src = Random(2, 2, 5);
  const QImage dest = RunPipeline(list, "", src, {5, 4});
  // Offset ((5 - 2) div 2, (4 - 2) div 2) = (1, 1).
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) {
      const bool inside = x >= 1 && x < 3 && y >= 1 && y < 3;
      EXPECT_EQ(At(dest, x, y), inside ? At(src, x - 1, y - 1) : Grey(0)) << x << "," << y;
    }
  // A larger picture is cut: offset (-1, -1).
  const QImage big = Random(4, 4, 6);
  EXPECT_EQ(At(RunPipeline(list, "", big, {2, 2}), 0, 0), At(big, 1, 1));
}

TEST(GraphicsFilters, StepsBeforeTheInterpolationWorkAtSourceSizeAndAfterItOnTheDestination) {
  const QImage src = Random(40, 30, 8);
  const QSize view(25, 50);
  {
    TGraphicsFilters list;
    QImage softened = src, work;
    TSoftFilter soft(&work);
    soft.Process(softened);
    const QImage expected = ComplementInto(Contrast20(softened), view);
    EXPECT_TRUE(Same(RunPipeline(list, "SoftFilter,Contrast,Level=20,Complement", src, view), expected));
  }
  {
    TGraphicsFilters list;
    const QImage expected = Contrast20(ComplementInto(src, view));
    EXPECT_TRUE(Same(RunPipeline(list, "Complement,Contrast,Level=20", src, view), expected));
  }
}

TEST(GraphicsFilters, WithoutInterpolationTheProcessedPictureIsCentred) {
  TGraphicsFilters list;
  const QImage src = Random(4, 4, 9);
  QImage negative = src, work;
  TNegaPosiReverse(&work).Process(negative);
  const QImage dest = RunPipeline(list, "NegaPosiReverse", src, {6, 6});
  EXPECT_EQ(At(dest, 0, 0), Grey(0));
  EXPECT_EQ(At(dest, 1, 1), At(negative, 0, 0));
  EXPECT_EQ(At(dest, 4, 4), At(negative, 3, 3));
  // A filter that changes the size (Median: two pixels less each way).
  const QImage median = RunPipeline(list, "Median,Threshold=5", src, {4, 4});
  EXPECT_EQ(At(median, 0, 0), Grey(0));
  EXPECT_EQ(At(median, 3, 3), Grey(0));
}

TEST(GraphicsFilters, ParameterEntriesAreValidatedAndWrittenBack) {
  TGraphicsFilters list;
  const QImage src = FromGreys({{0, 64, 100, 200}});
  QImage dest = RunPipeline(list, "Contrast,Level=150", src, {4, 1});
  EXPECT_EQ(list.PipelineText(), "Contrast,Level=100");
  EXPECT_EQ(Row(dest, 0), (std::vector<int>{0, 0, 72, 255}));

  // Without its parameter entry a filter runs with what it has.
  dest = RunPipeline(list, "Contrast", src, {4, 1});
  EXPECT_EQ(Row(dest, 0), (std::vector<int>{0, 0, 72, 255}));
  EXPECT_EQ(list.PipelineText(), "Contrast");

  // A bad value reverts to the defaults, and the pipeline shows them.
  dest = RunPipeline(list, "Contrast,Level=high", src, {4, 1});
  EXPECT_EQ(list.PipelineText(), "Contrast,Level=0");
  EXPECT_EQ(Row(dest, 0), (std::vector<int>{0, 64, 100, 200}));

  // Blanks separate entries like commas.
  RunPipeline(list, "Gamma Level=-10 , Contrast Level=30", src, {4, 1});
  EXPECT_EQ(Entries(list), (QStringList{"Gamma", "Level=-10", "Contrast", "Level=30"}));
}

TEST(GraphicsFilters, AFilterRepeatedTakesItsParametersAnewEachTime) {
  TGraphicsFilters list;
  const QImage src = FromGreys({{100}});
  // +25.5 then -51: 100 -> 126 (125.5 to even) -> 75.
  const QImage dest = RunPipeline(list, "Gamma,Level=10,Gamma,Level=-20", src, {1, 1});
  EXPECT_EQ(At(dest, 0, 0), Grey(75));
}

TEST(GraphicsFilters, TooFewEntriesAfterAFilterAreSkipped) {
  TGraphicsFilters list;
  const QImage src = Random(8, 6, 10);
  // ResizeFilter holds two parameters; with only one entry after it, it
  // runs with Rate=100 and the entry is passed over.
  const QImage dest = RunPipeline(list, "ResizeFilter,Rate=50", src, {8, 6});
  EXPECT_TRUE(Same(dest, src));
  EXPECT_EQ(list.PipelineText(), "ResizeFilter,Rate=50");
}

TEST(GraphicsFilters, ValidationThatAddsAParameterInsertsItInsteadOfOverwriting) {
  TGraphicsFilters list;
  TCustomGraphicsFilter* resize = list.FindFilter("ResizeFilter");
  resize->SetParamText("Rate=100");  // validation adds Limit=1
  ASSERT_EQ(resize->GetParamText(), "Rate=100,Limit=1");
  // Two entries are taken ("Rate=50" and "Gamma"); validation answers three
  // items. They replace the two taken, and the later filter entries stay.
  const QImage src = FromGreys({{100, 100}, {100, 100}});
  const QImage dest = RunPipeline(list, "ResizeFilter,Rate=50,Gamma,Contrast,Level=-100", src, {2, 2});
  EXPECT_EQ(Entries(list), (QStringList{"ResizeFilter", "Rate=50", "Gamma", "Limit=1", "Contrast", "Level=-100"}));
  // Contrast -100 still ran (every value 128) on the 1x1 result, drawn at
  // ((2 - 1) div 2, (2 - 1) div 2) = (0, 0).
  EXPECT_EQ(At(dest, 0, 0), Grey(128));
  EXPECT_EQ(At(dest, 1, 1), Grey(0));
}

TEST(GraphicsFilters, DuplicateInterpolationIsReportedAndStillRuns) {
  TGraphicsFilters list;
  QString message;
  list.SetPipelineText("");
  EXPECT_TRUE(list.Validate(message));
  EXPECT_EQ(message, "None.");
  list.SetPipelineText("SoftFilter,Complement,Contrast,Level=3");
  EXPECT_TRUE(list.Validate(message));
  EXPECT_EQ(message, "None.");
  list.SetPipelineText("Nearest,BiLinear");
  EXPECT_FALSE(list.Validate(message));
  EXPECT_EQ(message, "Duplicate Interpolation.");

  // The second interpolating filter starts from the working copy, over
  // whose top-left part the first result has been drawn.
  const QImage src = Random(12, 10, 12);
  const QSize view(5, 4);
  QImage first = Make(5, 4), work;
  TNearest(&work).Interpolate(&src, &first);
  QImage working = src;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) Set(working, x, y, At(first, x, y));
  QImage expected = Make(5, 4);
  TBiLinear(&work).Interpolate(&working, &expected);
  EXPECT_TRUE(Same(RunPipeline(list, "Nearest,BiLinear", src, view), expected));
}

TEST(GraphicsFilters, FilterErrorsPropagate) {
  TGraphicsFilters list;
  const QImage src = Random(6, 6, 13);
  list.SetPipelineText("BiLinear");
  QImage oneWide = Make(1, 5);
  EXPECT_THROW(list.Apply(src, oneWide), EMathError);
  // Complement catches the same error (a one-pixel-wide picture enlarged
  // bilinearly to width 1): the picture is shown unscaled and centred.
  const QImage column = Random(1, 6, 14);
  const QImage dest = RunPipeline(list, "Complement", column, {1, 8});
  EXPECT_EQ(At(dest, 0, 0), Grey(0));
  EXPECT_EQ(At(dest, 0, 1), At(column, 0, 0));
}

TEST(GraphicsFilters, ConvertsSourceAndDestinationTo24Bits) {
  TGraphicsFilters list;
  QImage src(4, 4, QImage::Format_ARGB32);
  src.fill(qRgb(200, 100, 50));
  QImage dest(2, 2, QImage::Format_RGB32);
  list.SetPipelineText("Complement");
  list.Apply(src, dest);
  EXPECT_EQ(dest.format(), QImage::Format_BGR888);
  EXPECT_EQ(At(dest, 1, 1), (Bgr{50, 100, 200}));
  EXPECT_EQ(src.format(), QImage::Format_ARGB32);
}

TEST(GraphicsFilters, CostsAreKeptPerFilter) {
  qint64 now = 0;
  TCustomGraphicsFilter::SetTickSource([&] { return now += 3; });
  TGraphicsFilters list;
  RunPipeline(list, "SoftFilter,Complement", Random(8, 8, 1), {4, 4});
  EXPECT_EQ(list.FindFilter("SoftFilter")->Cost(), 3);
  EXPECT_EQ(list.FindFilter("Complement")->Cost(), 3);
  EXPECT_EQ(list.FindFilter("Gamma")->Cost(), 0);
  TCustomGraphicsFilter::SetTickSource({});
}
