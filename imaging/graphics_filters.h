#pragma once

#include <memory>
#include <vector>

#include <QImage>
#include <QString>

#include "custom_graphics_filter.h"
#include "string_list_ex.h"

// The filter list of one viewer surface: one instance of every filter kind,
// the pipeline as a list of text entries, and Apply, which runs the pipeline
// from a source bitmap into a destination bitmap.
//
// A pipeline entry is either a filter keyword (matched exactly, case
// sensitive) or a parameter entry (normally Name=Value) belonging to the
// nearest filter entry before it.
class TGraphicsFilters {
public:
  TGraphicsFilters();
  ~TGraphicsFilters();
  TGraphicsFilters(const TGraphicsFilters&) = delete;
  TGraphicsFilters& operator=(const TGraphicsFilters&) = delete;

  int FilterCount() const { return int(FFilters.size()); }
  TCustomGraphicsFilter* GetFilter(int Index) const { return FFilters.at(size_t(Index)).get(); }
  // The filter whose class name is "T" followed by Keyword, or null.
  TCustomGraphicsFilter* FindFilter(const QString& Keyword) const;

  TStringListEx& Pipeline() { return FPipeline; }
  const TStringListEx& Pipeline() const { return FPipeline; }
  // The pipeline in its text form (comma text), read and replaced whole.
  QString PipelineText() const { return FPipeline.CommaText(); }
  void SetPipelineText(const QString& Text);

  // Runs the pipeline. Dest arrives with the size the result is to have.
  // Steps before the first interpolating filter work at the source's size,
  // the interpolating filter resamples into Dest, and later steps work on
  // Dest; without one the processed picture is drawn centred on black. A
  // filter's error propagates, leaving Dest as far as it got.
  void Apply(const QImage& Source, QImage& Dest);

  // Checks the pipeline: "None." when valid, "Duplicate Interpolation." when
  // more than one interpolating filter is named. Only informs.
  bool Validate(QString& Message) const;

  QImage* WorkBitmap() { return FWorkBitmap.get(); }

private:
  bool InterpolatorFollows(int Index) const;

  std::unique_ptr<QImage> FWorkBitmap;
  std::vector<std::unique_ptr<TCustomGraphicsFilter>> FFilters;
  TStringListEx FPipeline;
};
