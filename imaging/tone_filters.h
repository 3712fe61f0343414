#pragma once

#include "custom_graphics_filter.h"

// Filters that change tones and colours in place. None of them
// interpolates.

// A running 3x3 smoothing that reads the row itself twice and the row below
// once, writing each result one column to the right of where it started.
class TSoftFilter : public TCustomGraphicsFilter {
public:
  using TCustomGraphicsFilter::TCustomGraphicsFilter;
  QString Keyword() const override { return QStringLiteral("SoftFilter"); }
  void Process(QImage& Bitmap) override;
};

// The negative: every byte complemented.
class TNegaPosiReverse : public TCustomGraphicsFilter {
public:
  using TCustomGraphicsFilter::TCustomGraphicsFilter;
  QString Keyword() const override { return QStringLiteral("NegaPosiReverse"); }
  void Process(QImage& Bitmap) override;
};

// Sepia through a 1025-entry luminance table.
class TSepiaColor : public TCustomGraphicsFilter {
public:
  using TCustomGraphicsFilter::TCustomGraphicsFilter;
  QString Keyword() const override { return QStringLiteral("SepiaColor"); }
  void Process(QImage& Bitmap) override;

  static constexpr int TableSize = 1025;
  // Entry i of the table, as bytes blue, green, red.
  static void TableEntry(int i, uint8_t bgr[3]);
};

// Contrast about 127.5, Level -100..100.
class TContrast : public TCustomGraphicsFilter {
public:
  explicit TContrast(QImage* WorkBitmap);
  QString Keyword() const override { return QStringLiteral("Contrast"); }
  void ValidateParams() override;
  void Process(QImage& Bitmap) override;
  qint32 Level() const { return FLevel; }

private:
  qint32 FLevel = 0;
};

// Brightness: adds Level percent of 255 to every channel.
class TGamma : public TCustomGraphicsFilter {
public:
  explicit TGamma(QImage* WorkBitmap);
  QString Keyword() const override { return QStringLiteral("Gamma"); }
  void ValidateParams() override;
  void Process(QImage& Bitmap) override;
  qint32 Level() const { return FLevel; }

private:
  qint32 FLevel = 0;
};

// Rank filter over 3x3 blocks of whole pixels ordered blue first, then
// green, then red; Threshold 1..9 picks the rank. The picture loses one
// pixel on every side.
class TMedian : public TCustomGraphicsFilter {
public:
  explicit TMedian(QImage* WorkBitmap);
  QString Keyword() const override { return QStringLiteral("Median"); }
  void ValidateParams() override;
  void Process(QImage& Bitmap) override;
  qint32 Threshold() const { return FThreshold; }

private:
  qint32 FThreshold = 1;
};
