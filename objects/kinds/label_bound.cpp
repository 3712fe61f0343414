#include "label_bound.h"

#include "command_trace.h"
#include "command_words.h"
#include "prefence_edit.h"
#include "string_list_ex.h"

TLabelBound::TLabelBound(QWidget* mainWindow) : TCustomBound(mainWindow, "TLabelBound") {
  IncKindLevel();
  RecvMask = 0xFFFF0000u;
  SendMask = 0;
  Panel()->OnDblClick = [this](QWidget*) { PrefenceOpen(Panel()); };
  LocalizePopup();
}

QString TLabelBound::Caption() const { return Panel()->Caption(); }

void TLabelBound::SetParentControl(QWidget* parent) {
  TCustomBound::SetParentControl(parent);
  Panel()->SetCaption(QStringLiteral("LABEL"));
  Arrange();
}

QString TLabelBound::GetRecord() {
  return ExtendRecord(TCustomBound::GetRecord(), QStringLiteral("Label"), {Caption()});
}

void TLabelBound::SetRecord(const QString& text) {
  TCustomBound::SetRecord(text);
  TStringListEx fields;
  fields.SetCommaText(text);
  Panel()->SetCaption(RecordField(fields, 10));
  Arrange();
}

void TLabelBound::PrefenceOpen(QObject* sender) {
  TCustomBound::PrefenceOpen(sender);
  if (Prefence()->IsOpen()) Prefence()->AddItem(QStringLiteral("Caption"), QStringLiteral("EditText"), Caption());
}

void TLabelBound::PrefenceChanged(QObject* sender) {
  Panel()->SetCaption(Prefence()->GetValue(QStringLiteral("Caption")));
  TCustomBound::PrefenceChanged(sender);
}

bool TLabelBound::RecvCommand(TCustomBound* sender, uint32_t& word, const char* data, int size) {
  TCustomBound::RecvCommand(sender, word, data, size);
  if (!(word & MBDAT_TEXT)) return false;
  Panel()->SetCaption(PayloadToText(data));
  return true;
}
