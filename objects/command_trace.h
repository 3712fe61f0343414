#pragma once

#include <cstdint>
#include <functional>

#include <QDateTime>
#include <QList>
#include <QTextEdit>

// A rich-text view the command trace writes into. Tag holds the nesting
// level: 0 while the view is not attached, 255 when attached, 255 plus the
// current depth while commands are traced.
class TTraceView : public QTextEdit {
  Q_OBJECT
public:
  explicit TTraceView(QWidget* parent = nullptr);
  int Tag = 0;
};

// The program-wide list of trace views.
QList<TTraceView*>& TraceViews();
void AddTraceView(TTraceView* view);
void RemoveTraceView(TTraceView* view);

// Writes one trace record to every attached trace view.
void TraceCommand(const QString& kind, const QString& id, const QString& event, const QString& text);

// The clock of the trace's time stamps (the local time unless replaced).
void SetTraceClock(std::function<QDateTime()> clock);

// The line colours of an event at a nesting level: text and background.
struct TTraceColors {
  QColor Text, Back;
};
TTraceColors TraceColors(const QString& event, int tag);

// Payloads: NUL-terminated copies of a text, sized length plus one.
struct TPayload {
  char* Data = nullptr;
  int Size = 0;
};
TPayload NewPayload(const QString& text);
void FreePayload(char* data);
QString PayloadToText(const char* data);

// Frees its payload when it goes out of scope.
class TScopedPayload {
public:
  explicit TScopedPayload(const QString& text) : P(NewPayload(text)) {}
  ~TScopedPayload() { FreePayload(P.Data); }
  TScopedPayload(const TScopedPayload&) = delete;
  TScopedPayload& operator=(const TScopedPayload&) = delete;
  const char* Data() const { return P.Data; }
  int Size() const { return P.Size; }

private:
  TPayload P;
};
