#include "command_trace.h"

#include <cstdlib>
#include <cstring>

#include <QApplication>
#include <QScrollBar>
#include <QTextCursor>

#include "string_list_ex.h"

TTraceView::TTraceView(QWidget* parent) : QTextEdit(parent) {
  setReadOnly(true);
  // A long session keeps its newest lines, not every line ever traced.
  document()->setMaximumBlockCount(20000);
  setLineWrapMode(QTextEdit::NoWrap);
  setAcceptRichText(false);
}

namespace {

std::function<QDateTime()>& Clock() {
  static std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };
  return clock;
}

constexpr quint32 kSets[5][6] = {
    {0xFFFFFF, 0x707070, 0xE8E8E8, 0x555555, 0xE0E0E0, 0x505050},
    {0x00FF00, 0x007000, 0x00E800, 0x005500, 0x00E000, 0x005000},
    {0xFFFF00, 0x707000, 0xE8E800, 0x555500, 0xE0E000, 0x505000},
    {0x00FFFF, 0x007070, 0x00E8E8, 0x005555, 0x00E0E0, 0x005050},
    {0xFF00FF, 0x700070, 0xE800E8, 0x550055, 0xE000E0, 0x500050},
};

bool IsReturn(const QString& event) {
  return event == QLatin1String("RET SUCCESS of") || event == QLatin1String("RET FAIL of") ||
         event == QLatin1String("RET EXCEPTION of");
}

}  // namespace

QList<TTraceView*>& TraceViews() {
  static QList<TTraceView*> views;
  return views;
}

void AddTraceView(TTraceView* view) {
  if (!TraceViews().contains(view)) TraceViews().append(view);
}

void RemoveTraceView(TTraceView* view) { TraceViews().removeAll(view); }

void SetTraceClock(std::function<QDateTime()> clock) {
  Clock() = clock ? std::move(clock) : [] { return QDateTime::currentDateTime(); };
}

TTraceColors TraceColors(const QString& event, int tag) {
  const quint32* c = kSets[((tag % 5) + 5) % 5];
  auto rgb = [](quint32 v) { return QColor(QRgb(v)); };
  if (event == QLatin1String("RET EXCEPTION of")) return {Qt::white, Qt::red};
  if (event == QLatin1String("REVISED")) return {rgb(c[0]), rgb(c[5])};
  if (event == QLatin1String("RECEIVE")) return {rgb(c[2]), rgb(c[3])};
  if (event == QLatin1String("RET SUCCESS of") || event == QLatin1String("RET FAIL of")) return {rgb(c[4]), rgb(c[5])};
  return {rgb(c[0]), rgb(c[1])};
}

void TraceCommand(const QString& kind, const QString& id, const QString& event, const QString& text) {
  bool beeped = false;
  const QString stamp = Clock()().toString(QStringLiteral("ddhhmmss"));
  for (TTraceView* view : QList<TTraceView*>(TraceViews())) {
    if (view->Tag < 255) continue;
    if (event == QLatin1String("SEND")) ++view->Tag;
    if (view->Tag < 255) view->Tag = 255;
    const int depth = view->Tag - 255;
    const QString indent(depth >= 2 ? 4 * (depth - 1) : 0, u' ');
    QString body = text;
    body.replace(u'\t', indent);
    const QString record = indent + stamp + u' ' + kind + u' ' + QStringLiteral(" ( ") + id + QStringLiteral(" ) ") +
                           event + QStringLiteral(" \r\n") + body;
    TStringListEx lines;
    lines.SetText(record);
    const TTraceColors colors = TraceColors(event, view->Tag);

    QTextCursor cursor(view->document());
    cursor.movePosition(QTextCursor::End);
    for (int i = 0; i < lines.Count(); ++i) {
      QString line = lines.Get(i);
      QTextCharFormat format;
      if (!line.isEmpty()) {
        format.setForeground(colors.Text);
        format.setBackground(colors.Back);
      }
      if (line == QLatin1String("ERROR")) {
        format.setForeground(Qt::white);
        format.setBackground(Qt::red);
      }
      format.setFontUnderline(i == lines.Count() - 1);
      if (line.size() < 80) line += QString(80 - line.size(), u' ');
      if (!view->document()->isEmpty()) cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
      cursor.insertText(line, format);
    }
    // Follow the newest line, from its start.
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    view->horizontalScrollBar()->setValue(0);
    if (event == QLatin1String("RET EXCEPTION of") && !beeped) {
      QApplication::beep();
      beeped = true;
    }
    if (IsReturn(event)) {
      --view->Tag;
      if (view->Tag < 255) view->Tag = 255;
    }
  }
}

TPayload NewPayload(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  TPayload p;
  p.Size = int(bytes.size()) + 1;
  p.Data = static_cast<char*>(std::malloc(size_t(p.Size)));
  std::memcpy(p.Data, bytes.constData(), size_t(p.Size));
  return p;
}

void FreePayload(char* data) { std::free(data); }

QString PayloadToText(const char* data) { return data ? QString::fromUtf8(data) : QString(); }
