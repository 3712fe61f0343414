// Commands of the main window that reach outside the project window: files
// dropped on it, the drop question of the file panes, pictures to show, and
// add-on modules.
#include <QAction>
#include <QCoreApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "bound_relater.h"
#include "custom_bound.h"
#include "drop_rules.h"
#include "picture_formats.h"
#include "picture_loader.h"
#include "project_manager.h"

void TProjectManager::CreateObjectByDropClick() {
  CreateObjectbyDrop1->setChecked(!CreateObjectbyDrop1->isChecked());
  setAcceptDrops(CreateObjectbyDrop1->isChecked());
}

void TProjectManager::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TProjectManager::dropEvent(QDropEvent* event) {
  event->acceptProposedAction();
  DropUrls(event->mimeData()->urls());
}

void TProjectManager::DropUrls(const QList<QUrl>& urls) {
  QStringList files;
  for (const QUrl& url : urls)
    if (url.isLocalFile()) files.append(url.toLocalFile());
  DropFiles(files);
}

void TProjectManager::DropFiles(const QStringList& files) {
  // Pictures: what the picture loader's plug-ins announce, and what Qt reads.
  const auto isPicture = [this](const QString& ext) {
    return (FPictureLoader && FPictureLoader->IsSupportedExtension(ext)) || PictureFormats::IsBuiltIn(ext);
  };
  for (const TDropAction& action : ClassifyDrops(files, isPicture)) {
    TCustomBound* object = CreateObject(action.Kind, false);
    if (object) object->ReceiveDroppedFile(action.File, action.FromShortcut ? &action.Shortcut : nullptr);
  }
}

void TProjectManager::ConfirmFileOperation(int& result) {
  if (!ConfirmRequest1->isChecked()) return;
  const QPoint at = QCursor::pos();
  popCancel->setChecked(true);
  QCoreApplication::processEvents();
  popFileControl->exec(at);
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  result = popCopy->isChecked() ? 1 : popMove->isChecked() ? 2 : 3;
}

void TProjectManager::OpenPictureRequest(QObject* sender, const QString& file, const QStringList& files,
                                         const QString& kind) {
  if (kind != QLatin1String("IMAGE")) return;
  // The image viewer shows pictures once it is part of the program.
  Q_UNUSED(sender);
  Q_UNUSED(file);
  Q_UNUSED(files);
}

void TProjectManager::AddonClick() {
  // Choosing a module in the Add-on manager comes with the add-on layer;
  // relations are resolved again whether or not one was chosen.
  ResolveAllRelations();
}
