#include "prompt_service.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QPointer>

#include "input_dialog.h"

namespace {

QStringList& ExtraPictureExtensions() {
  static QStringList extensions;
  return extensions;
}

std::unique_ptr<TPromptService>& Slot() {
  static std::unique_ptr<TPromptService> service;
  return service;
}

QPointer<QWidget>& ParentSlot() {
  static QPointer<QWidget> parent;
  return parent;
}

void CentreOn(QWidget* dialog, QWidget* parent) {
  if (!parent) return;
  dialog->adjustSize();
  const QRect pr = parent->frameGeometry();
  dialog->move(pr.center() - dialog->rect().center());
}

}  // namespace

void SetExtraPictureExtensions(const QStringList& extensions) { ExtraPictureExtensions() = extensions; }

QStringList PictureExtensions() {
  QStringList all;
  for (const QByteArray& f : QImageReader::supportedImageFormats()) all << QString::fromLatin1(f).toLower();
  for (const QString& e : ExtraPictureExtensions()) all << e.toLower();
  all.removeDuplicates();
  all.sort();
  return all;
}

TPromptService& Prompts() {
  auto& s = Slot();
  if (!s) s = std::make_unique<TQtPromptService>();
  return *s;
}

std::unique_ptr<TPromptService> InstallPrompts(std::unique_ptr<TPromptService> service) {
  auto previous = std::move(Slot());
  Slot() = std::move(service);
  return previous;
}

void SetPromptParent(QWidget* parent) { ParentSlot() = parent; }
QWidget* PromptParent() { return ParentSlot().data(); }

TMsgResult TQtPromptService::Message(const QString& text, TMsgKind kind, TMsgButtons buttons) {
  QMessageBox box(PromptParent());
  switch (kind) {
    case TMsgKind::Information: box.setIcon(QMessageBox::Information); box.setWindowTitle(QObject::tr("Information")); break;
    case TMsgKind::Confirmation: box.setIcon(QMessageBox::Question); box.setWindowTitle(QObject::tr("Confirm")); break;
    case TMsgKind::Warning: box.setIcon(QMessageBox::Warning); box.setWindowTitle(QObject::tr("Warning")); break;
    case TMsgKind::Error: box.setIcon(QMessageBox::Critical); box.setWindowTitle(QObject::tr("Error")); break;
  }
  QString shown = text;
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  box.setText(shown);
  switch (buttons) {
    case TMsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case TMsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case TMsgButtons::OkCancelIgnore:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Ignore);
      break;
    case TMsgButtons::OkAbort: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Abort); break;
  }
  box.setDefaultButton(QMessageBox::Ok);
  switch (box.exec()) {
    case QMessageBox::Ok: return TMsgResult::Ok;
    case QMessageBox::Ignore: return TMsgResult::Ignore;
    case QMessageBox::Abort: return TMsgResult::Abort;
    default: return TMsgResult::Cancel;
  }
}

bool TQtPromptService::InputQuery(const QString& caption, const QString& prompt, QString& value,
                                  const QString& second) {
  TForm4 form(PromptParent(), caption, prompt, value, second);
  CentreOn(&form, PromptParent());
  const bool ok = form.exec() == QDialog::Accepted;
  value = form.Text();
  return ok;
}

bool TQtPromptService::ChooseColor(TColor& color) {
  const QColor chosen = QColorDialog::getColor(ColorToQColor(color), PromptParent());
  if (!chosen.isValid()) return false;
  color = QColorToColor(chosen);
  return true;
}

QString TQtPromptService::OpenFileName(const QString& caption, const QString& filter, const QString& initial,
                                       bool picturePreview) {
  if (!picturePreview) return QFileDialog::getOpenFileName(PromptParent(), caption, initial, filter);
  // The picture dialog: every readable picture type, and a preview of the
  // file under the cursor beside the list.
  QFileDialog dialog(PromptParent(), caption, initial);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  QStringList patterns;
  for (const QString& ext : PictureExtensions()) patterns << QStringLiteral("*.") + ext;
  dialog.setNameFilters({filter.isEmpty() ? QObject::tr("Pictures (%1)").arg(patterns.join(u' ')) : filter,
                         QObject::tr("All Files (*)")});
  auto* preview = new QLabel(&dialog);
  preview->setObjectName(QStringLiteral("PicturePreview"));
  preview->setFixedSize(220, 220);
  preview->setAlignment(Qt::AlignCenter);
  preview->setFrameShape(QFrame::StyledPanel);
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
    grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
  QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid()) reader.setScaledSize(size.scaled(preview->size() - QSize(8, 8), Qt::KeepAspectRatio));
    const QImage image = reader.read();
    preview->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
    preview->setText(image.isNull() ? QObject::tr("No preview") : QString());
  });
  dialog.resize(820, 480);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

bool TQtPromptService::EditTextLines(const QString& caption, QString& text) {
  QDialog dialog(PromptParent());
  dialog.setWindowTitle(caption);
  auto* layout = new QVBoxLayout(&dialog);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* memo = new QPlainTextEdit(&dialog);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  QString shown = text;
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  memo->setPlainText(shown);
  layout->addWidget(memo);
  dialog.resize(480, 320);
  CentreOn(&dialog, PromptParent());
  // The window has no buttons: closing it keeps what was typed.
  dialog.exec();
  text = memo->toPlainText().replace(u'\n', QLatin1String("\r\n"));
  return true;
}

void TQtPromptService::Beep() { QApplication::beep(); }

TMsgResult TScriptedPromptService::Message(const QString& text, TMsgKind kind, TMsgButtons buttons) {
  Calls.push_back({QStringLiteral("message"), text, kind, buttons});
  if (MessageAnswers.empty()) return TMsgResult::Ok;
  const TMsgResult r = MessageAnswers.front();
  MessageAnswers.pop_front();
  return r;
}

bool TScriptedPromptService::InputQuery(const QString& caption, const QString& prompt, QString& value,
                                        const QString& second) {
  Q_UNUSED(second);
  Calls.push_back({QStringLiteral("input"), caption + u'|' + prompt});
  if (InputAnswers.empty()) return false;
  const auto a = InputAnswers.front();
  InputAnswers.pop_front();
  if (!a) return false;
  value = *a;
  return true;
}

bool TScriptedPromptService::ChooseColor(TColor& color) {
  Calls.push_back({QStringLiteral("color"), ColorToText(color)});
  if (ColorAnswers.empty()) return false;
  const auto a = ColorAnswers.front();
  ColorAnswers.pop_front();
  if (!a) return false;
  color = *a;
  return true;
}

QString TScriptedPromptService::OpenFileName(const QString& caption, const QString& filter, const QString& initial,
                                             bool picturePreview) {
  Q_UNUSED(filter);
  Q_UNUSED(initial);
  Q_UNUSED(picturePreview);
  Calls.push_back({QStringLiteral("file"), caption});
  if (FileAnswers.empty()) return {};
  const QString a = FileAnswers.front();
  FileAnswers.pop_front();
  return a;
}

bool TScriptedPromptService::EditTextLines(const QString& caption, QString& text) {
  Calls.push_back({QStringLiteral("text"), caption});
  TextShown.append(text);
  if (TextAnswers.empty()) return false;
  const auto a = TextAnswers.front();
  TextAnswers.pop_front();
  if (!a) return false;
  text = *a;
  return true;
}

QStringList TScriptedPromptService::Messages() const {
  QStringList out;
  for (const TCall& c : Calls)
    if (c.What == QLatin1String("message")) out.append(c.Text);
  return out;
}

TScopedScriptedPrompts::TScopedScriptedPrompts() {
  auto s = std::make_unique<TScriptedPromptService>();
  FService = s.get();
  FPrevious = InstallPrompts(std::move(s));
}

TScopedScriptedPrompts::~TScopedScriptedPrompts() { InstallPrompts(std::move(FPrevious)); }
