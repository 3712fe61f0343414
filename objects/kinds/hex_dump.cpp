#include "hex_dump.h"

#include <QFile>

namespace {

bool Shown(uchar b) { return b >= 0x20 && b <= 0xDF; }
bool Complete(uchar b) { return (b >= 0x20 && b <= 0x7E) || (b >= 0xA0 && b <= 0xDF); }

}  // namespace

int DumpBytesPerLine(int viewWidth, int charWidth) {
  if (charWidth <= 0) return 4;
  const int n = (viewWidth / (3 * charWidth) - 2) / 8 * 8;
  return qMax(4, n);
}

QString HexDumpText(const QString& fileName, int n) {
  QFile f(fileName);
  if (!f.exists() || !f.open(QIODevice::ReadOnly)) return QStringLiteral("File not found.");
  const QByteArray data = f.read(1024);
  const QString tail = data.size() == 1024 ? QStringLiteral("[MORE]") : QStringLiteral("[EOF]");
  n = qMax(1, n);

  QString lines, hex, text;
  uchar last = 0;
  const auto emitLine = [&] {
    // A line never ends in half of a two-byte character.
    if (!text.isEmpty() && !Complete(last)) text[text.size() - 1] = u'.';
    lines += hex + u' ' + text + QStringLiteral("\r\n");
    hex.clear();
    text.clear();
  };
  int inLine = 0;
  for (const char c : data) {
    const uchar b = uchar(c);
    hex += QStringLiteral("%1 ").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    text += Shown(b) ? QChar(b) : QChar(u'.');
    last = Shown(b) ? b : uchar('.');
    if (++inLine == n) {
      emitLine();
      inLine = 0;
    }
  }
  if (!text.isEmpty()) {
    hex = hex.leftJustified(3 * n, u' ');
    emitLine();
  }
  QString hexRuler, textRuler;
  for (int i = 1; i <= n; ++i) {
    hexRuler += i % 8 == 0 ? QStringLiteral("--+") : QStringLiteral("---");
    textRuler += i % 8 == 0 ? u'+' : u'-';
  }
  const QString ruler = hexRuler + u' ' + textRuler;
  return ruler + QStringLiteral("\r\n") + lines + ruler + QStringLiteral("\r\n") + tail;
}
