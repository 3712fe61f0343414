// Speed of the filters on real photographs, in megapixels per second.
//
// The pictures come from bench/run (ZEL_BENCH_PICTURES names their folder):
// photo_20mp.png, photo_12mp.png and photo_vga.png, all cut from the
// wallpaper photographs Debian ships. Single thread.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include <QImage>
#include <QString>

#include "bitmap24.h"
#include "resampling_filters.h"
#include "tone_filters.h"

namespace {

const QImage& Picture(const char* name) {
  static std::map<std::string, QImage> cache;
  auto it = cache.find(name);
  if (it != cache.end()) return it->second;
  const char* folder = std::getenv("ZEL_BENCH_PICTURES");
  QImage image;
  if (folder) image.load(QString::fromLocal8Bit(folder) + "/" + name);
  if (image.isNull()) {
    std::fprintf(stderr, "zel-bench: %s/%s missing; run bench/run, which prepares it\n", folder ? folder : "$ZEL_BENCH_PICTURES", name);
    std::exit(2);
  }
  return cache.emplace(name, Bitmap24::As24(image)).first->second;
}

void Rate(benchmark::State& state, qint64 pixels) {
  state.counters["MP/s"] = benchmark::Counter(double(pixels) * double(state.iterations()) / 1e6,
                                              benchmark::Counter::kIsRate);
}

// An interpolating filter from a picture into a destination of a size.
template <typename Filter>
void Resample(benchmark::State& state, const char* name, QSize (*size)(QSize)) {
  const QImage& src = Picture(name);
  QImage work, dest = Bitmap24::New(size(src.size()).width(), size(src.size()).height());
  Filter f(&work);
  for (auto _ : state) {
    if (!f.Interpolate(&src, &dest)) state.SkipWithError("Interpolate failed");
    benchmark::DoNotOptimize(dest.constBits());
  }
  Rate(state, std::max<qint64>(qint64(src.width()) * src.height(), qint64(dest.width()) * dest.height()));
  state.SetLabel(QStringLiteral("%1x%2 -> %3x%4").arg(src.width()).arg(src.height()).arg(dest.width()).arg(dest.height()).toStdString());
}

QSize Fit1080(QSize s) { return CalcFitSize(s.width(), s.height(), 1920, 1080); }
QSize Fit100(QSize s) { return CalcFitSize(s.width(), s.height(), 100, 100); }
QSize Enlarge3(QSize s) { return s * 3; }
QSize Half(QSize s) { return s / 2; }

// An in-place filter on a fresh copy of the picture each time; the copy is
// not timed.
template <typename Filter>
void InPlace(benchmark::State& state, const char* name, const char* params) {
  const QImage& src = Picture(name);
  QImage work;
  Filter f(&work);
  if (params) f.SetParamText(QString::fromLatin1(params));
  for (auto _ : state) {
    state.PauseTiming();
    QImage picture = src.copy();
    state.ResumeTiming();
    f.Process(picture);
    benchmark::DoNotOptimize(picture.constBits());
  }
  Rate(state, qint64(src.width()) * src.height());
  state.SetLabel(QStringLiteral("%1x%2").arg(src.width()).arg(src.height()).toStdString());
}


void Complement(benchmark::State& s, const char* name, QSize (*size)(QSize)) { Resample<TComplement>(s, name, size); }
void BiLinear(benchmark::State& s, const char* name, QSize (*size)(QSize)) { Resample<TBiLinear>(s, name, size); }
void AverageOperation(benchmark::State& s, const char* name, QSize (*size)(QSize)) { Resample<TAverageOperation>(s, name, size); }
void Nearest(benchmark::State& s, const char* name, QSize (*size)(QSize)) { Resample<TNearest>(s, name, size); }
void NegaPosiReverse(benchmark::State& s, const char* name, const char* params) { InPlace<TNegaPosiReverse>(s, name, params); }
void Contrast(benchmark::State& s, const char* name, const char* params) { InPlace<TContrast>(s, name, params); }
void Gamma(benchmark::State& s, const char* name, const char* params) { InPlace<TGamma>(s, name, params); }
void Median(benchmark::State& s, const char* name, const char* params) { InPlace<TMedian>(s, name, params); }
void SepiaColor(benchmark::State& s, const char* name, const char* params) { InPlace<TSepiaColor>(s, name, params); }
void SoftFilter(benchmark::State& s, const char* name, const char* params) { InPlace<TSoftFilter>(s, name, params); }
void Rotate(benchmark::State& s, const char* name, const char* params) { InPlace<TRotate>(s, name, params); }
void ResizeFilter(benchmark::State& s, const char* name, const char* params) { InPlace<TResizeFilter>(s, name, params); }

// The two passes of the area average on their own (20 MP to 1620 x 1080).
void AveragePasses(benchmark::State& state, bool horizontal) {
  const QImage& src = Picture("photo_20mp.png");
  const QSize size = Fit1080(src.size());
  QImage scratch, dest = Bitmap24::New(size.width(), size.height());
  TAverageOperation::HorizontalPass(src, size.width(), scratch);
  for (auto _ : state) {
    if (horizontal)
      TAverageOperation::HorizontalPass(src, size.width(), scratch);
    else
      TAverageOperation::VerticalPass(scratch, dest);
    benchmark::DoNotOptimize(dest.constBits());
  }
  Rate(state, qint64(src.width()) * src.height());
}

}  // namespace

// The resampling cases.
BENCHMARK_CAPTURE(Complement, Complement_20MP_to_1080, "photo_20mp.png", Fit1080)->Unit(benchmark::kMillisecond)->MinTime(1.5);
BENCHMARK_CAPTURE(Complement, Complement_20MP_to_100, "photo_20mp.png", Fit100)->Unit(benchmark::kMillisecond)->MinTime(1.5);
BENCHMARK_CAPTURE(BiLinear, BiLinear_VGA_to_1920x1440, "photo_vga.png", Enlarge3)->Unit(benchmark::kMillisecond)->MinTime(1.5);
BENCHMARK_CAPTURE(AveragePasses, AverageOperation_horizontal_pass, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AveragePasses, AverageOperation_vertical_pass, false)->Unit(benchmark::kMillisecond);
// Every other interpolating filter, for the record.
BENCHMARK_CAPTURE(AverageOperation, AverageOperation_20MP_to_1080, "photo_20mp.png", Fit1080)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Nearest, Nearest_12MP_to_half, "photo_12mp.png", Half)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BiLinear, BiLinear_12MP_to_half, "photo_12mp.png", Half)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Complement, Complement_VGA_to_1920x1440, "photo_vga.png", Enlarge3)->Unit(benchmark::kMillisecond);

// The in-place filters on 12 megapixels.
BENCHMARK_CAPTURE(NegaPosiReverse, NegaPosiReverse_12MP, "photo_12mp.png", nullptr)->Unit(benchmark::kMillisecond)->MinTime(1.5);
BENCHMARK_CAPTURE(Contrast, Contrast_12MP, "photo_12mp.png", "Level=30")->Unit(benchmark::kMillisecond)->MinTime(1.5);
BENCHMARK_CAPTURE(Gamma, Gamma_12MP, "photo_12mp.png", "Level=20")->Unit(benchmark::kMillisecond)->MinTime(1.5);
BENCHMARK_CAPTURE(Median, Median_12MP, "photo_12mp.png", "Threshold=5")->Unit(benchmark::kMillisecond)->MinTime(1.5);
BENCHMARK_CAPTURE(SepiaColor, SepiaColor_12MP, "photo_12mp.png", nullptr)->Unit(benchmark::kMillisecond)->MinTime(1.5);
BENCHMARK_CAPTURE(SoftFilter, SoftFilter_12MP, "photo_12mp.png", nullptr)->Unit(benchmark::kMillisecond)->MinTime(1.5);
BENCHMARK_CAPTURE(Rotate, Rotate_12MP, "photo_12mp.png", "Degree=30")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ResizeFilter, ResizeFilter_12MP_50, "photo_12mp.png", "Rate=50,Limit=1")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
