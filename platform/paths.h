#pragma once

#include <functional>

#include <QByteArray>
#include <QString>

// Stored locations: plain paths and the virtual forms "::ZEL32" (the program
// folder), "::R:" + a user-folder value name, "::CSIDL_" + a special folder
// name, and ":::" + the hexadecimal bytes of an item-id list.

QString ExpandZelPrefix(const QString& text);
QString ShellFolderPath(const QString& text);
QString ExpandVirtualPath(const QString& text);
QString ContractVirtualPath(const QString& path);

constexpr int CSIDL_NONE = 65535;
int CsidlFromName(const QString& text);

QString IdListToText(const QByteArray& idList);
// For a text holding ":::": decodes the bytes and calls use with them when
// there are more than four. Throws EConvertError on a digit pair that is not
// hexadecimal.
void TextToIdList(const QString& text, const std::function<void(const QByteArray&)>& use);

QString StripTrailingBackslash(const QString& text);
struct TPathMask {
  QString Folder;  // always ends with "/"
  QString Mask;
};
TPathMask SplitPathMask(const QString& text);

// Creates folder (with its parents) when missing, then a new empty file
// "<first three characters of prefix><hex number>.TMP" in it; returns its
// full name, or empty when nothing could be created.
QString TempFileIn(const QString& folder, const QString& prefix);

// The version of file formatted with pattern ("%d.%d.%d.%d"): only the
// program itself carries a version; any other file gives an empty text.
QString FileVersionText(const QString& file, const QString& pattern);
// The program's version as four numbers (major, minor, release, build).
void ProgramVersion(int out[4]);

// The canonical absolute form of a path (the cleaned absolute path when it
// does not exist); empty for an empty name.
QString PathFromDisplayName(const QString& name);

struct TShellLink {
  bool Ok = false;
  QString Target;
  QString WorkingFolder;
  int IconIndex = 0;
  QString IconFile;
};
// Reads a shortcut: a .desktop launcher (also when named .lnk) or a symbolic
// link. Fails when the file is neither or its target cannot be resolved.
TShellLink ReadShellLink(const QString& file);

// A shortcut file: a .desktop launcher, or a .lnk file (read as one).
bool IsShortcutFile(const QString& file);
// A .desktop launcher that runs a program: started as a whole, so that its
// Exec line keeps its arguments.
bool IsApplicationLauncher(const QString& file);

// "A program": an executable regular file whose content is an ELF image or
// starts with "#!". A picture with an execute bit (common on FAT media) is not.
bool IsProgramFile(const QString& file);

constexpr quint32 HKEY_CURRENT_USER = 0x80000001u;
// Only the user's Shell Folders key exists here; its values are the user's
// folders. Anything else reads as empty.
QString ReadRegistryString(quint32 root, const QString& key, const QString& valueName);
