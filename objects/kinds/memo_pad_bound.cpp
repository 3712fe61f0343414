#include "memo_pad_bound.h"

#include <QFile>
#include <QMenu>
#include <QFileInfo>
#include <QStringDecoder>
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
  // Block by block: the plain-text form would turn no-break spaces into blanks.
  QStringList lines;
  for (QTextBlock b = FEditor->document()->begin(); b.isValid(); b = b.next()) lines.append(b.text());
  // A text that ends with a line break has an empty last block.
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
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
  const QByteArray bytes = f.readAll();
  // Text that is not UTF-8 is kept byte for byte (as Latin-1) and written
  // back the same way; the line ends the file uses are kept too.
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8.decode(bytes);
  FLatin1 = utf8.hasError();
  if (FLatin1) text = QString::fromLatin1(bytes);
  FCrLf = bytes.contains("\r\n");
  TStringListEx l;
  l.SetText(text);
  FEditor->setPlainText(l.Lines().join(u'\n'));
  FEditor->document()->setModified(false);
}

void TCustomMemoPad::Save() {
  if (FileName.isEmpty()) {
    ShowMessage(QStringLiteral("Saving Fail."));
    return;
  }
  // An unchanged text stays as the file has it.
  if (!FEditor->document()->isModified() && QFile::exists(FileName)) return;
  QSaveFile f(FileName);
  QByteArray bytes;
  const QByteArray end = FCrLf ? QByteArray("\r\n") : QByteArray("\n");
  for (const QString& line : Lines()) bytes += (FLatin1 ? line.toLatin1() : line.toUtf8()) + end;
  if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
    f.cancelWriting();
    ShowMessage(QStringLiteral("Saving Fail."));
    return;
  }
  FEditor->document()->setModified(false);
}

TMemoPadBound::TMemoPadBound(QWidget* mainWindow) : TCustomBound(mainWindow, "TMemoPadBound") {
  IncKindLevel();
  RecvMask = 0xFFFF0000u;
  SendMask = 0;
  FMemoPad = new TMemoPad(Panel());
  FMemoPad->setObjectName(QStringLiteral("MemoPad"));
  FMemoPad->hide();
  // The editor covers nearly all of the panel: its context menu also offers
  // the object's own commands (Top, Bottom, Edit).
  QPlainTextEdit* editor = FMemoPad->Editor();
  editor->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(editor, &QWidget::customContextMenuRequested, this, [this, editor](const QPoint& at) {
    std::unique_ptr<QMenu> menu(editor->createStandardContextMenu(at));
    menu->addSeparator();
    for (QAction* a : PopupMenu()->actions()) menu->addAction(a);
    menu->exec(editor->viewport()->mapToGlobal(at));
  });
  LocalizePopup();
}

TMemoPadBound::~TMemoPadBound() {
  // Closing the project (New Project, deleting the pad) must not throw away
  // what was typed since the project was last stored: the pad's own file
  // gets its text. Nothing is written when nothing changed.
  if (FMemoPad && !FMemoPad->FileName.isEmpty()) FMemoPad->Save();
  std::unique_ptr<TMemoPad> pad(FMemoPad.data());
}

void TMemoPadBound::MakeDefaultFile() {
  // Beside the program; for a program folder nobody may write to (a system
  // installation), in the user's data folder instead.
  QString name = TempFileIn(Environment::ProgramFolder() + QStringLiteral("/memo"), QStringLiteral("txt"));
  if (name.isEmpty())
    name = TempFileIn(Environment::DataHome() + QStringLiteral("/Deskloom/memo"), QStringLiteral("txt"));
  FFileName = name;
  FMemoPad->FileName = name;
  FMadeFile = name;
  FDefaultTried = true;
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
  if (FFileName.isEmpty() && !FDefaultTried) MakeDefaultFile();
  if (!Panel()->isVisible()) Panel()->show();
}

QString TMemoPadBound::GetRecord() {
  if (FFileName.isEmpty()) MakeDefaultFile();
  // A file name typed into the open preferences counts from now on.
  SwitchFile();
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
  const QString recorded = ExpandPath(RecordField(fields, 11));
  if (!recorded.isEmpty()) {
    // The pad was placed before its record came: its fresh file is not needed.
    if (!FMadeFile.isEmpty() && FMadeFile != recorded && QFileInfo(FMadeFile).size() == 0) QFile::remove(FMadeFile);
    FMadeFile.clear();
    FFileName = recorded;
  }
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
