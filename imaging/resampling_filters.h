#pragma once

#include <array>
#include <memory>

#include <QSize>

#include "custom_graphics_filter.h"

// The interpolating filters resample a source into a destination of another
// size; TResizeFilter and TRotate change one bitmap in place.

// Nearest neighbour.
class TNearest : public TCustomGraphicsFilter {
public:
  using TCustomGraphicsFilter::TCustomGraphicsFilter;
  QString Keyword() const override { return QStringLiteral("Nearest"); }
  bool Interpolate(const QImage* Source, QImage* Dest) override;
};

// Two separable passes with 16-bit fixed-point weights, horizontal into the
// scratch bitmap (Wd x Hs), then vertical into the destination.
class TBiLinear : public TCustomGraphicsFilter {
public:
  using TCustomGraphicsFilter::TCustomGraphicsFilter;
  QString Keyword() const override { return QStringLiteral("BiLinear"); }
  bool Interpolate(const QImage* Source, QImage* Dest) override;

  // The two passes on their own. The horizontal pass sizes Dest to
  // DestWidth x Source's height; the vertical pass fills Dest as it is
  // (Source has Dest's width).
  static void HorizontalPass(const QImage& Source, int DestWidth, QImage& Dest);
  static void VerticalPass(const QImage& Source, QImage& Dest);
};

// Area average with 8-bit fixed-point weights, designed for reduction.
// Enlarging along an axis averages the source area each destination pixel
// covers: the pixel it lies in, or the two it straddles (see README).
class TAverageOperation : public TCustomGraphicsFilter {
public:
  using TCustomGraphicsFilter::TCustomGraphicsFilter;
  QString Keyword() const override { return QStringLiteral("AverageOperation"); }
  bool Interpolate(const QImage* Source, QImage* Dest) override;

  static void HorizontalPass(const QImage& Source, int DestWidth, QImage& Dest);
  static void VerticalPass(const QImage& Source, QImage& Dest);
};

// Area average along an axis that shrinks, bilinear along one that does
// not. Any failure makes Interpolate answer false.
class TComplement : public TCustomGraphicsFilter {
public:
  explicit TComplement(QImage* WorkBitmap);
  ~TComplement() override;
  QString Keyword() const override { return QStringLiteral("Complement"); }
  bool Interpolate(const QImage* Source, QImage* Dest) override;

private:
  std::unique_ptr<TBiLinear> FBiLinear;
  std::unique_ptr<TAverageOperation> FAverageOperation;
};

// Scales a picture by Rate percent (Limit=1 keeps the rate within 1..1000).
class TResizeFilter : public TCustomGraphicsFilter {
public:
  explicit TResizeFilter(QImage* WorkBitmap);
  ~TResizeFilter() override;
  QString Keyword() const override { return QStringLiteral("ResizeFilter"); }
  void ValidateParams() override;
  void Process(QImage& Bitmap) override;

  qint32 Rate() const { return FRate; }
  qint32 Limit() const { return FLimit; }

private:
  std::unique_ptr<TComplement> FComplement;
  qint32 FRate = 100;
  qint32 FLimit = 1;
};

// Turns a picture about its centre by Degree (counter-clockwise on screen
// for a positive degree); the picture keeps its size and uncovered corners
// show FillColor.
class TRotate : public TCustomGraphicsFilter {
public:
  explicit TRotate(QImage* WorkBitmap);
  QString Keyword() const override { return QStringLiteral("Rotate"); }
  void ValidateParams() override;
  void Process(QImage& Bitmap) override;

  qint32 Degree() const { return FDegree; }
  // The colour of the uncovered corners: the brush colour of the bitmap's
  // canvas where the bitmap had one; white unless the caller sets another.
  QRgb FillColor() const { return FFillColor; }
  void SetFillColor(QRgb color) { FFillColor = color; }

  static constexpr int TableSize = 361;
  const std::array<float, TableSize>& SinTable() const { return FSinTable; }
  const std::array<float, TableSize>& CosTable() const { return FCosTable; }

private:
  qint32 FDegree = 90;
  QRgb FFillColor = qRgb(255, 255, 255);
  std::array<float, TableSize> FSinTable{};
  std::array<float, TableSize> FCosTable{};
};

// Fits a picture size into a box keeping its aspect; may enlarge. Any
// failure (a zero source dimension) gives 1 x 1.
QSize CalcFitSize(int SourceWidth, int SourceHeight, int BoxWidth, int BoxHeight);
