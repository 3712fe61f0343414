#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "colors.h"

class QWidget;

enum class TMsgKind { Information, Confirmation, Warning, Error };
enum class TMsgButtons { Ok, OkCancel, OkCancelIgnore, OkAbort };
enum class TMsgResult { Ok, Cancel, Ignore, Abort };

// Every message box, input query, colour and file dialog of the program goes
// through the one installed prompt service, so that tests can script the
// answers.
class TPromptService {
public:
  virtual ~TPromptService() = default;
  virtual TMsgResult Message(const QString& text, TMsgKind kind, TMsgButtons buttons) = 0;
  // The input dialog: caption, prompt, an editable box holding value whose
  // list offers value and second. value becomes the box's text either way.
  virtual bool InputQuery(const QString& caption, const QString& prompt, QString& value,
                          const QString& second) = 0;
  virtual bool ChooseColor(TColor& color) = 0;
  // An existing file to open; empty when the user cancels. picturePreview
  // asks for a dialog that previews pictures.
  virtual QString OpenFileName(const QString& caption, const QString& filter, const QString& initial,
                               bool picturePreview) = 0;
  // A window for editing multi-line text; false when the user cancels.
  virtual bool EditTextLines(const QString& caption, QString& text) = 0;
  virtual void Beep() = 0;
};

TPromptService& Prompts();
// Installs a service and returns the previous one.
std::unique_ptr<TPromptService> InstallPrompts(std::unique_ptr<TPromptService> service);

// The picture types the picture dialog offers: what Qt reads, and the
// extensions picture plug-ins announce (set once they are loaded).
void SetExtraPictureExtensions(const QStringList& extensions);
QStringList PictureExtensions();

// The window message boxes are centred on (the main window once it exists).
void SetPromptParent(QWidget* parent);
QWidget* PromptParent();

// Shorthand for the common case.
inline TMsgResult ShowMessage(const QString& text, TMsgKind kind = TMsgKind::Information,
                              TMsgButtons buttons = TMsgButtons::Ok) {
  return Prompts().Message(text, kind, buttons);
}

// The real dialogs.
class TQtPromptService : public TPromptService {
public:
  TMsgResult Message(const QString& text, TMsgKind kind, TMsgButtons buttons) override;
  bool InputQuery(const QString& caption, const QString& prompt, QString& value, const QString& second) override;
  bool ChooseColor(TColor& color) override;
  QString OpenFileName(const QString& caption, const QString& filter, const QString& initial,
                       bool picturePreview) override;
  bool EditTextLines(const QString& caption, QString& text) override;
  void Beep() override;
};

// Answers from queues and records every call: for tests.
class TScriptedPromptService : public TPromptService {
public:
  struct TCall {
    QString What;  // "message", "input", "color", "file"
    QString Text;  // message text, or the input caption + "|" + prompt
    TMsgKind Kind = TMsgKind::Information;
    TMsgButtons Buttons = TMsgButtons::Ok;
  };

  std::deque<TMsgResult> MessageAnswers;              // empty: Ok
  std::deque<std::optional<QString>> InputAnswers;    // nullopt or empty queue: Cancel
  std::deque<std::optional<TColor>> ColorAnswers;     // nullopt or empty queue: Cancel
  std::deque<QString> FileAnswers;                    // empty queue: cancelled
  std::deque<std::optional<QString>> TextAnswers;     // nullopt or empty queue: Cancel
  QStringList TextShown;                              // what each text window started with
  std::vector<TCall> Calls;
  int Beeps = 0;

  TMsgResult Message(const QString& text, TMsgKind kind, TMsgButtons buttons) override;
  bool InputQuery(const QString& caption, const QString& prompt, QString& value, const QString& second) override;
  bool ChooseColor(TColor& color) override;
  QString OpenFileName(const QString& caption, const QString& filter, const QString& initial,
                       bool picturePreview) override;
  bool EditTextLines(const QString& caption, QString& text) override;
  void Beep() override { ++Beeps; }

  QStringList Messages() const;
};

// Installs a scripted service for the life of a scope.
class TScopedScriptedPrompts {
public:
  TScopedScriptedPrompts();
  ~TScopedScriptedPrompts();
  TScriptedPromptService& operator*() { return *FService; }
  TScriptedPromptService* operator->() { return FService; }

private:
  TScriptedPromptService* FService;
  std::unique_ptr<TPromptService> FPrevious;
};
