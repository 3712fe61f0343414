#pragma once

#include <memory>

#include <QFrame>
#include <QPointer>

#include "colors.h"
#include "custom_bound.h"

#include <QPlainTextEdit>

// A plain-text notepad panel whose text lives in a file of its own.
class TCustomMemoPad : public QFrame {
  Q_OBJECT
public:
  explicit TCustomMemoPad(QWidget* parent = nullptr);

  QPlainTextEdit* Editor() const { return FEditor; }
  QStringList Lines() const;
  void AppendLine(const QString& line);
  // Replaces the text by the file's.
  void Load();
  // Writes the text to the file when a name is set; says "Saving Fail." when
  // that fails. The file is replaced whole or not at all.
  void Save();

  bool Flag = false;
  QString FileName;

  TColor EditorColor() const { return FEditorColor; }
  TColor EditorTextColor() const { return FEditorTextColor; }
  void SetEditorColors(TColor back, TColor text);

protected:
  void resizeEvent(QResizeEvent* e) override;

private:
  QPlainTextEdit* FEditor;
  bool FLatin1 = false;  // the file was not UTF-8
  bool FCrLf = false;    // the file ends its lines with CR LF
  TColor FEditorColor = clWindow;
  TColor FEditorTextColor = clWindowText;
};

class TMemoPad : public TCustomMemoPad {
  Q_OBJECT
public:
  using TCustomMemoPad::TCustomMemoPad;
};

// A memo pad placed in a project; text words with command byte 0x0A are
// appended to it as new lines.
class TMemoPadBound : public TCustomBound {
  Q_OBJECT
public:
  explicit TMemoPadBound(QWidget* mainWindow);
  ~TMemoPadBound() override;

  TMemoPad* MemoPad() const { return FMemoPad; }
  QString FileName() const { return FFileName; }

  void SetParentControl(QWidget* parent) override;
  void Arrange() override;
  QString GetRecord() override;
  void SetRecord(const QString& text) override;
  void PrefenceOpen(QObject* sender) override;
  void PrefenceChanged(QObject* sender) override;
  void PrefenceClose() override;
  void DestroyPrefence() override;
  bool RecvCommand(TCustomBound* sender, uint32_t& word, const char* data, int size) override;

private:
  void MakeDefaultFile();
  void SwitchFile();
  QPointer<TMemoPad> FMemoPad;
  QString FFileName;
  bool FPlaced = false;
  QString FMadeFile;  // the empty default file this pad made, if any
  bool FDefaultTried = false;
};
