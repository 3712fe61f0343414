#pragma once

#include <QIcon>
#include <QString>

// The icon of a program: that of a launcher (.desktop entry) whose Exec
// names it, else the theme icon named after the file, else the generic
// executable icon.
QIcon ProgramIcon(const QString& program);
// The icon of a launcher file: its Icon key (a theme name or a path).
QIcon DesktopEntryIcon(const QString& desktopFile);
// The theme icon of a file's type.
QIcon FileTypeIcon(const QString& file);

// Opens a file the way the desktop does: programs start detached in the
// working folder, launchers run their Exec line, anything else opens with
// the user's default application. False when nothing could be started.
bool LaunchFile(const QString& file, const QString& workingFolder);
