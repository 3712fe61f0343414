#include "graphics_filters.h"

#include "bitmap24.h"
#include "resampling_filters.h"
#include "tone_filters.h"

namespace {

void DrawCentredOnBlack(QImage& dest, const QImage& picture) {
  Bitmap24::Fill(dest, qRgb(0, 0, 0));
  Bitmap24::Draw(dest, picture, (dest.width() - picture.width()) / 2,
                 (dest.height() - picture.height()) / 2);
}

}  // namespace

TGraphicsFilters::TGraphicsFilters() : FWorkBitmap(std::make_unique<QImage>()) {
  QImage* work = FWorkBitmap.get();
  FFilters.push_back(std::make_unique<TNearest>(work));
  FFilters.push_back(std::make_unique<TBiLinear>(work));
  FFilters.push_back(std::make_unique<TAverageOperation>(work));
  FFilters.push_back(std::make_unique<TComplement>(work));
  FFilters.push_back(std::make_unique<TSoftFilter>(work));
  FFilters.push_back(std::make_unique<TNegaPosiReverse>(work));
  FFilters.push_back(std::make_unique<TSepiaColor>(work));
  FFilters.push_back(std::make_unique<TContrast>(work));
  FFilters.push_back(std::make_unique<TGamma>(work));
  FFilters.push_back(std::make_unique<TRotate>(work));
  FFilters.push_back(std::make_unique<TMedian>(work));
  FFilters.push_back(std::make_unique<TResizeFilter>(work));
}

TGraphicsFilters::~TGraphicsFilters() {
  while (!FFilters.empty()) FFilters.pop_back();  // last first
}

TCustomGraphicsFilter* TGraphicsFilters::FindFilter(const QString& Keyword) const {
  for (const auto& f : FFilters)
    if (f->Keyword() == Keyword) return f.get();
  return nullptr;
}

void TGraphicsFilters::SetPipelineText(const QString& Text) {
  FPipeline.SetCommaText(Text);
  // The pipeline holds entries, not stored lines: a trailing comma gives no
  // extra entry.
  for (int i = FPipeline.Count() - 1; i >= 0; --i)
    if (FPipeline.Raw(i) == TStringListEx::EmptyMarker) FPipeline.Delete(i);
}

void TGraphicsFilters::Apply(const QImage& Source, QImage& Dest) {
  if (FPipeline.Count() == 0) {
    Bitmap24::Ensure(Dest);
    DrawCentredOnBlack(Dest, Bitmap24::As24(Source));
    return;
  }
  Bitmap24::Ensure(Dest);
  QImage working = Bitmap24::As24(Source);
  bool resampled = false;
  for (int i = 0; i < FPipeline.Count(); ++i) {
    TCustomGraphicsFilter* filter = FindFilter(FPipeline.Get(i));
    if (!filter) continue;
    const int n = filter->ParamCount();
    if (n > 0 && FPipeline.Count() - 1 - i >= n) {
      QStringList taken;
      for (int k = 1; k <= n; ++k) taken.append(FPipeline.Get(i + k));
      filter->SetParamText(taken.join(QStringLiteral(", ")));
      // The taken entries are replaced by the validated parameters. When
      // validation changed their number, the pipeline grows or shrinks by
      // the difference instead of overwriting the entries after them.
      const QStringList validated = SplitCommaText(filter->GetParamText());
      for (int k = 0; k < n; ++k) FPipeline.Delete(i + 1);
      for (int k = 0; k < validated.size(); ++k) FPipeline.Insert(i + 1 + k, validated.at(k));
      i += int(validated.size());
    }
    if (filter->Interpolate(&working, &Dest)) {
      resampled = true;
      // The result is drawn over the working copy's top-left part, where a
      // later interpolating filter starts from. Without one, nothing reads
      // the working copy again and the draw (a copy of the whole source)
      // is skipped.
      if (InterpolatorFollows(i)) Bitmap24::Draw(working, Dest, 0, 0);
    } else {
      filter->Process(resampled ? Dest : working);
    }
  }
  if (!resampled) DrawCentredOnBlack(Dest, working);
}

bool TGraphicsFilters::InterpolatorFollows(int Index) const {
  for (int i = Index + 1; i < FPipeline.Count(); ++i) {
    TCustomGraphicsFilter* filter = FindFilter(FPipeline.Get(i));
    if (filter && filter->Interpolate(nullptr, nullptr)) return true;
  }
  return false;
}

bool TGraphicsFilters::Validate(QString& Message) const {
  Message = QStringLiteral("None.");
  bool valid = true;
  int interpolating = 0;
  for (int i = 0; i < FPipeline.Count(); ++i) {
    TCustomGraphicsFilter* filter = FindFilter(FPipeline.Get(i));
    if (filter && filter->Interpolate(nullptr, nullptr) && ++interpolating >= 2) {
      Message = QStringLiteral("Duplicate Interpolation.");
      valid = false;
    }
  }
  return valid;
}
