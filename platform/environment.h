#pragma once

#include <QString>

// Process-wide facts that the program reads from the system once, in main,
// and that tests replace with folders of their own. Nothing else asks the
// system for them, so a test never touches the real home or program folder.
namespace Environment {

// The folder of the executable, without a trailing "/". zel32.ini,
// localize.txt, colors.txt, plug-ins and AddOn/ live there.
QString ProgramFolder();
void SetProgramFolder(const QString& folder);

// The system temporary folder (QDir::tempPath() unless replaced).
QString SystemTempFolder();
void SetSystemTempFolder(const QString& folder);

// The user's home and the XDG base folders derived from it. Setting the home
// resets the three XDG folders to their defaults under it.
QString HomeFolder();
QString ConfigHome();  // $XDG_CONFIG_HOME or ~/.config
QString DataHome();    // $XDG_DATA_HOME or ~/.local/share
QString CacheHome();   // $XDG_CACHE_HOME or ~/.cache
void SetHomeFolder(const QString& home);

}  // namespace Environment
