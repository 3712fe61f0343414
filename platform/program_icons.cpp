#include "program_icons.h"

#include <QApplication>
#include <QDesktopServices>
#include <QStyle>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "desktop_entry.h"
#include "paths.h"

namespace {

QIcon IconByName(const QString& name) {
  if (name.isEmpty()) return {};
  if (name.startsWith(u'/')) {
    const QIcon icon(name);
    return icon.availableSizes().isEmpty() && icon.pixmap(32).isNull() ? QIcon() : icon;
  }
  return QIcon::fromTheme(name);
}

// Program path and file name -> icon name, from every launcher the desktop knows.
struct TLauncherIndex {
  QHash<QString, QString> ByPath, ByName;
};

const TLauncherIndex& Launchers() {
  static QMutex lock;
  static TLauncherIndex index;
  static bool built = false;
  QMutexLocker guard(&lock);
  if (built) return index;
  built = true;
  for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
    QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      TDesktopEntry entry;
      if (!entry.Load(it.next())) continue;
      const QString icon = entry.Value(QStringLiteral("Icon"));
      const QStringList args = entry.ExecArguments();
      if (icon.isEmpty() || args.isEmpty()) continue;
      const QString program = entry.ExecProgram();
      if (!program.isEmpty()) index.ByPath.insert(QFileInfo(program).canonicalFilePath(), icon);
      index.ByName.insert(QFileInfo(args.first()).fileName(), icon);
    }
  }
  return index;
}

}  // namespace

QIcon ProgramIcon(const QString& program) {
  const QFileInfo fi(program);
  const TLauncherIndex& index = Launchers();
  QString name = index.ByPath.value(fi.canonicalFilePath());
  if (name.isEmpty()) name = index.ByName.value(fi.fileName());
  QIcon icon = IconByName(name);
  if (icon.isNull()) icon = QIcon::fromTheme(fi.fileName());
  if (icon.isNull()) icon = QIcon::fromTheme(fi.completeBaseName());
  if (icon.isNull()) icon = QIcon::fromTheme(QStringLiteral("application-x-executable"));
  if (icon.isNull()) icon = QApplication::style()->standardIcon(QStyle::SP_ComputerIcon);
  return icon;
}

QIcon DesktopEntryIcon(const QString& desktopFile) {
  TDesktopEntry entry;
  if (!entry.Load(desktopFile)) return {};
  return IconByName(entry.Value(QStringLiteral("Icon")));
}

QIcon FileTypeIcon(const QString& file) {
  const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
  QIcon icon = QIcon::fromTheme(type.iconName());
  if (icon.isNull()) icon = QIcon::fromTheme(type.genericIconName());
  if (icon.isNull()) icon = QIcon::fromTheme(QStringLiteral("text-x-generic"));
  if (icon.isNull()) icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
  return icon;
}

bool LaunchFile(const QString& file, const QString& workingFolder) {
  const QString folder = QFileInfo(workingFolder).isDir() ? workingFolder : QFileInfo(file).absolutePath();
  if (IsProgramFile(file)) return QProcess::startDetached(file, {}, folder);
  if (file.endsWith(QLatin1String(".desktop"), Qt::CaseInsensitive)) {
    TDesktopEntry entry;
    if (entry.Load(file)) {
      const QStringList args = entry.ExecArguments();
      const QString program = entry.ExecProgram();
      if (!program.isEmpty()) {
        const QString path = entry.Value(QStringLiteral("Path"));
        return QProcess::startDetached(program, args.mid(1), QFileInfo(path).isDir() ? path : folder);
      }
    }
  }
  return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}
