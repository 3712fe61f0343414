#pragma once

#include <functional>

#include <QList>
#include <QString>
#include <QStringList>

#include "paths.h"

// What a file dropped on the main window becomes.
struct TDropAction {
  QString Kind;       // "app", "image" or "listview"
  QString File;       // the program, picture or folder
  bool FromShortcut = false;
  TShellLink Shortcut;
};

// Sorts dropped names into the objects they make, in the drop's order:
// web links make nothing; shortcuts (.desktop launchers and .lnk files) whose
// target is an existing file make a launcher (for an application's launcher
// the launcher file itself, so its whole command line runs; else the target); programs make a
// launcher; pictures whose extension isPicture accepts make an image; folders
// make a list pane; anything else is skipped. Names are taken up to 256
// characters.
QList<TDropAction> ClassifyDrops(const QStringList& files, const std::function<bool(const QString&)>& isPicture);
