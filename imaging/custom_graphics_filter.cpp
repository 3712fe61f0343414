#include "custom_graphics_filter.h"

#include <QElapsedTimer>

namespace {

std::function<qint64()>& TickSource() {
  static std::function<qint64()> source;
  return source;
}

qint64 MonotonicTicks() {
  static QElapsedTimer clock = [] {
    QElapsedTimer t;
    t.start();
    return t;
  }();
  // Starts at 1 so that a running filter's StartTick is never 0.
  return clock.elapsed() + 1;
}

}  // namespace

TCustomGraphicsFilter::TCustomGraphicsFilter(QImage* WorkBitmap) : FWorkBitmap(WorkBitmap) {}

TCustomGraphicsFilter::~TCustomGraphicsFilter() = default;

bool TCustomGraphicsFilter::Interpolate(const QImage*, QImage*) { return false; }

void TCustomGraphicsFilter::Process(QImage&) {}

void TCustomGraphicsFilter::SetTickSource(std::function<qint64()> source) {
  TickSource() = std::move(source);
}

qint64 TCustomGraphicsFilter::TickCount() {
  const auto& source = TickSource();
  return source ? source() : MonotonicTicks();
}

void TCustomGraphicsFilter::BeginCost() {
  FStartTick = TickCount();
  FCost = 0;
}

void TCustomGraphicsFilter::EndCost() {
  FCost = qint32(TickCount() - FStartTick);
  FStartTick = 0;
}

QString TCustomGraphicsFilter::GetParamText() const { return FParams.CommaText(); }

void TCustomGraphicsFilter::SetParamText(const QString& Text) {
  try {
    FParams.SetCommaText(Text);
    ValidateParams();
  } catch (const EZelError&) {
    FParams.SetCommaText(FDefaultParams);
    ValidateParams();
  }
}

void TCustomGraphicsFilter::SetDefaultParams(const QString& text) {
  FDefaultParams = text;
  FParams.SetCommaText(text);
}

qint32 TCustomGraphicsFilter::IntParam(const QString& name) const {
  if (FParams.IndexOfName(name) < 0)
    throw EConvertError(QStringLiteral("'%1' is missing.").arg(name));
  const QString text = FParams.Values(name);
  qint32 value;
  if (!TryStrToInt(text, value))
    throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
  return value;
}
