#pragma once

#include <QString>
#include <QStringList>

#include "string_list_ex.h"

// The named pipelines of pipeline.txt in the program folder: one line per
// pipeline, its name, "=" and its pipeline text (Portrait=Contrast,Level=20,
// Complement). Names are looked up without regard to case. The file is
// optional and is read once; changes stay in memory until Save.
class TNamedPipelines {
public:
  static QString FileName();  // pipeline.txt in the program folder

  // Reads pipeline.txt if it exists (UTF-8, any line ends); a missing file
  // means no named pipelines.
  void Load();
  // Writes the whole list to pipeline.txt (CR LF, replacing the file
  // atomically). On failure the file is left as it was, the list in memory
  // keeps its content and errorText says why.
  bool Save(QString* errorText = nullptr) const;

  // The names in file order (lines without "=" have no name and are
  // skipped).
  QStringList Names() const;
  int IndexOf(const QString& Name) const { return FLines.IndexOfName(Name); }
  bool Contains(const QString& Name) const { return IndexOf(Name) >= 0; }
  // The stored pipeline text of a name (empty when unknown).
  QString PipelineText(const QString& Name) const;

  // Stores the pipeline under a name: a new name is appended as a line,
  // an existing one gets the new text, and an empty text removes the
  // existing line. Returns true when the name was new.
  bool Store(const QString& Name, const QString& PipelineText);
  // Removes the line of a name, if there is one.
  void Remove(const QString& Name);

  const TStringListEx& Lines() const { return FLines; }

  // The message the Pipeline window shows when Save fails.
  static QString SaveFailMessage() {
    return QStringLiteral("Save fail.(Check diskspace and file-attributes.)");
  }

private:
  TStringListEx FLines;
};
