#pragma once

#include <QString>

// The user's folders as the freedesktop user-dirs file names them, looked up
// by the value names stored locations use after "::R:" ("Desktop",
// "Personal", "My Pictures", ... and the XDG names DESKTOP, DOCUMENTS, ...).
// Empty for a name without an equivalent.
QString UserFolderPath(const QString& valueName);
