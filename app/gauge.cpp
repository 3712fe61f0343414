#include "gauge.h"

#include <QPainter>

TGauge::TGauge(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Gauge1"));
  resize(100, 100);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TGauge::SetMaxValue(int max) {
  FMax = qMax(1, max);
  update();
}

void TGauge::SetProgress(int progress) {
  FProgress = qBound(0, progress, FMax);
  update();
}

void TGauge::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawEllipse(r);
  const int span = int(-360.0 * 16 * FProgress / FMax);
  p.setBrush(QColor(0, 0, 255));
  if (span != 0) p.drawPie(r, 90 * 16, span);
  p.setPen(Qt::black);
  p.drawText(rect(), Qt::AlignCenter, QStringLiteral("%1%").arg(100 * FProgress / FMax));
}
