#pragma once

#include <functional>
#include <memory>

#include <QString>

#include "string_list_ex.h"

// Owner of zel32.ini: reads it, brings older layouts up to date, hands out
// and takes back its two sections, reports every change and writes it back.
class TDataFileManager {
public:
  using TNotify = std::function<void(TDataFileManager* sender, int code)>;

  static const QString HeaderLayout0;
  static const QString HeaderLayout10;
  static const QString HeaderLayout11;
  static const QString HeaderLayout17;
  static const QString HeaderCurrent;
  static const QString ApplicationMarker;  // "[Application]"
  static const QString ProjectMarker;      // "[Project]"

  // programFolder: where zel32.ini (and a legacy projectman.ini) live.
  explicit TDataFileManager(const QString& programFolder);

  const QString FileName;
  TStringListEx Lines;
  TNotify OnChange;
  TNotify OnBeforeSave;
  bool Quiet = false;
  bool Modified = false;
  // Set when the file could not be read, or its old layout could not be
  // backed up: then Save never replaces it.
  bool SaveBlocked = false;

  void Load();
  std::unique_ptr<TStringListEx> GetApplicationSection() const;
  void SetApplicationSection(std::unique_ptr<TStringListEx> list);
  std::unique_ptr<TStringListEx> GetProjectSection() const;
  void SetProjectSection(std::unique_ptr<TStringListEx> list);
  bool Save(bool force);

  // The four lines of a new file.
  static TStringListEx DefaultLines();
  // Where the backup of an incompatible file goes.
  QString BackupFileName() const;

private:
  void Upgrade();
  void Repair();
  int MarkerIndex(const QString& marker) const;
  const QString FFolder;
};
