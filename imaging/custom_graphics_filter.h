#pragma once

#include <functional>
#include <memory>

#include <QImage>
#include <QString>

#include "imaging_errors.h"
#include "string_list_ex.h"

// Base of every image filter. A filter works on 24-bit bitmaps (QImage in
// Format_BGR888: row 0 at the top, bytes blue, green, red) and either
// resamples a source into a destination of another size (Interpolate) or
// changes one bitmap in place (Process).
//
// Parameters live in Params as Name=Value items. SetParamText never fails:
// text a filter cannot use puts the filter back on its DefaultParams.
class TCustomGraphicsFilter {
public:
  // The scratch bitmap is shared by every filter of one filter list and is
  // not owned by the filter.
  explicit TCustomGraphicsFilter(QImage* WorkBitmap);
  virtual ~TCustomGraphicsFilter();
  TCustomGraphicsFilter(const TCustomGraphicsFilter&) = delete;
  TCustomGraphicsFilter& operator=(const TCustomGraphicsFilter&) = delete;

  // The pipeline keyword: the class name without its leading "T".
  virtual QString Keyword() const = 0;

  // Reads Params into the typed fields, clamping, and writes the clamped
  // values back. Raises when a required value is missing or not an integer.
  virtual void ValidateParams() {}
  // Resamples Source into Dest (whose size the caller has set). Returns true
  // when this is an interpolating filter; called with null bitmaps only to
  // ask that question.
  virtual bool Interpolate(const QImage* Source, QImage* Dest);
  // Changes Bitmap in place; its size may change.
  virtual void Process(QImage& Bitmap);

  void BeginCost();
  void EndCost();
  int ParamCount() const { return FParams.Count(); }
  QString GetParamText() const;
  void SetParamText(const QString& Text);

  const QString& DefaultParams() const { return FDefaultParams; }
  const TStringListEx& Params() const { return FParams; }
  qint32 Cost() const { return FCost; }
  qint64 StartTick() const { return FStartTick; }
  QImage* WorkBitmap() const { return FWorkBitmap; }

  // The millisecond tick counter behind Cost. Tests install their own clock;
  // an empty function restores the system's monotonic clock.
  static void SetTickSource(std::function<qint64()> source);
  static qint64 TickCount();

protected:
  // Kinds with parameters call this from their constructor: the text becomes
  // DefaultParams and is loaded into Params without validation.
  void SetDefaultParams(const QString& text);
  TStringListEx& ParamsRef() { return FParams; }

  // Reads the integer value of a parameter; raises EConvertError when the
  // item is missing or not an integer.
  qint32 IntParam(const QString& name) const;

private:
  QImage* FWorkBitmap;
  QString FDefaultParams;
  TStringListEx FParams;
  qint32 FCost = 0;
  qint64 FStartTick = 0;
};

// Brackets a run of a filter: BeginCost on construction, EndCost when the
// run leaves the scope, whichever way it leaves.
class TCostScope {
public:
  explicit TCostScope(TCustomGraphicsFilter& filter) : FFilter(filter) { FFilter.BeginCost(); }
  ~TCostScope() { FFilter.EndCost(); }
  TCostScope(const TCostScope&) = delete;
  TCostScope& operator=(const TCostScope&) = delete;

private:
  TCustomGraphicsFilter& FFilter;
};
