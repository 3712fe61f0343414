#include "memo_pad_bound.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include "command_trace.h"
#include "command_words.h"
#include "environment.h"
#include "paths.h"
#include "prefence_edit.h"
#include "prompt_service.h"
#include "string_list_ex.h"

TCustomMemoPad::TCustomMemoPad(QWidget* parent) : QFrame(parent) {
  setFrameShape(QFrame::NoFrame);
  FEditor = new QPlainTextEdit(this);
  FEditor->setObjectName(QStringLiteral("MemoEditor"));
  FEditor->setLineWrapMode(QPlainTextEdit::NoWrap);
  FEditor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  FEditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  SetEditorColors(FEditorColor, FEditorTextColor);
}

void TCustomMemoPad::resizeEvent(QResizeEvent* e) {
  QFrame::resizeEvent(e);
  FEditor->setGeometry(rect());
}

void TCustomMemoPad::SetEditorColors(TColor back, TColor text) {
  FEditorColor = back;
  FEditorTextColor = text;
  QPalette p = FEditor->palette();
  p.setColor(QPalette::Base, ColorToQColor(back));
  p.setColor(QPalette::Text, ColorToQColor(text));
  FEditor->setPalette(p);
}

QStringList TCustomMemoPad::Lines() const {
  TStringListEx l;
  l.SetText(FEditor->toPlainText());
  return l.Lines();
}

void TCustomMemoPad::AppendLine(const QString& line) {
  // A text that ends with a line break already has its empty last line.
  QTextCursor c(FEditor->document());
  c.movePosition(QTextCursor::End);
  if (!FEditor->document()->lastBlock().text().isEmpty()) c.insertBlock();
  c.insertText(line);
}

void TCustomMemoPad::Load() {
  QFile f(FileName);
  if (!f.open(QIODevice::ReadOnly)) return;
  TStringListEx l;
  l.SetText(QString::fromUtf8(f.readAll()));
  FEditor->setPlainText(l.Lines().join(u'\n'));
}

void TCustomMemoPad::Save() {
  if (FileName.isEmpty()) return;
  QSaveFile f(FileName);
  QByteArray bytes;
  for (const QString& line : Lines()) bytes += line.toUtf8() + '\n';
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
    f.cancelWriting();
    ShowMessage(QStringLiteral("Saving Fail."));
  }
}

TMemoPadBound::TMemoPadBound(QWidget* mainWindow) : TCustomBound(mainWindow, "TMemoPadBound") {
  IncKindLevel();
  RecvMask = 0xFFFF0000u;
  SendMask = 0;
  FMemoPad = new TMemoPad(Panel());
  FMemoPad->setObjectName(QStringLiteral("MemoPad"));
  FMemoPad->hide();
  LocalizePopup();
}

TMemoPadBound::~TMemoPadBound() {
  // The text is not saved here: storing the project does that.
  std::unique_ptr<TMemoPad> pad(FMemoPad.data());
}

void TMemoPadBound::MakeDefaultFile() {
  const QString name = TempFileIn(Environment::ProgramFolder() + QStringLiteral("/memo"), QStringLiteral("txt"));
  FFileName = name;
  FMemoPad->FileName = name;
}

void TMemoPadBound::SetParentControl(QWidget* parent) {
  TCustomBound::SetParentControl(parent);
  if (!FPlaced) {
    FPlaced = true;
    Panel()->SetCaption(QStringLiteral("MemoPad"));
    FMemoPad->show();
  }
  Arrange();
}

void TMemoPadBound::Arrange() {
  TCustomBound::Arrange();
  if (!ParentControl()) return;
  FMemoPad->setGeometry(4, 4, Panel()->width() - 8, Panel()->height() - 8);
  if (FFileName.isEmpty()) MakeDefaultFile();
  if (!Panel()->isVisible()) Panel()->show();
}

QString TMemoPadBound::GetRecord() {
  if (FFileName.isEmpty()) MakeDefaultFile();
  const QString record = ExtendRecord(TCustomBound::GetRecord(), QStringLiteral("memopad"),
                                      {TrueFalseWord(FMemoPad->Flag), ContractPath(FFileName),
                                       ColorToText(FMemoPad->EditorColor()), ColorToText(FMemoPad->EditorTextColor())});
  try {
    FMemoPad->Save();
  } catch (...) {
    ShowMessage(QStringLiteral("Saving Fail. :") + FFileName);
  }
  return record;
}

void TMemoPadBound::SetRecord(const QString& text) {
  TCustomBound::SetRecord(text);
  TStringListEx fields;
  fields.SetCommaText(text);
  if (fields.Count() == 0) return;
  FMemoPad->Flag = IsTrueWord(RecordField(fields, 10));
  FFileName = ExpandPath(RecordField(fields, 11));
  TColor back = FMemoPad->EditorColor(), fore = FMemoPad->EditorTextColor();
  if (fields.Count() > 12) TextToColor(fields.Get(12), back);
  if (fields.Count() > 13) TextToColor(fields.Get(13), fore);
  FMemoPad->SetEditorColors(back, fore);
  Arrange();
  FMemoPad->FileName = FFileName;
  if (QFile::exists(FFileName)) FMemoPad->Load();
}

void TMemoPadBound::PrefenceOpen(QObject* sender) {
  TCustomBound::PrefenceOpen(sender);
  if (Prefence()->IsOpen()) Prefence()->AddItem(QStringLiteral("FileName"), QStringLiteral("EditText"), FFileName);
}

void TMemoPadBound::PrefenceChanged(QObject* sender) {
  FFileName = Prefence()->GetValue(QStringLiteral("FileName"));
  TCustomBound::PrefenceChanged(sender);
}

void TMemoPadBound::SwitchFile() {
  if (FMemoPad->FileName == FFileName) return;
  FMemoPad->Save();
  FMemoPad->FileName = FFileName;
  if (QFile::exists(FFileName)) FMemoPad->Load();
}

void TMemoPadBound::PrefenceClose() {
  SwitchFile();
  TCustomBound::PrefenceClose();
}

// The editor also closes without PrefenceClose (Enter in a field); the pad
// must not go on writing to the old file while the record names the new one.
void TMemoPadBound::DestroyPrefence() {
  SwitchFile();
  TCustomBound::DestroyPrefence();
}

bool TMemoPadBound::RecvCommand(TCustomBound* sender, uint32_t& word, const char* data, int size) {
  const bool base = TCustomBound::RecvCommand(sender, word, data, size);
  if (!(word & MBDAT_TEXT)) return false;
  if ((word & 0xFFu) == 0x0Au) {
    FMemoPad->AppendLine(PayloadToText(data));
    return true;
  }
  return base;
}
