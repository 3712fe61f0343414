#include "data_file_manager.h"

#include <QDir>
#include <QFile>

#include "localize.h"
#include "paths.h"
#include "prompt_service.h"

const QString TDataFileManager::HeaderLayout0 = QStringLiteral("[QUORVANE -Project Manager-]");
const QString TDataFileManager::HeaderLayout10 = QStringLiteral("[QUORVANE -Project Manager v1.0 -]");
const QString TDataFileManager::HeaderLayout11 = QStringLiteral("[QUORVANE -Project Manager v1.1 -]");
const QString TDataFileManager::HeaderLayout17 = QStringLiteral("[QUORVANE -Deskloom v1.7 -]");
const QString TDataFileManager::HeaderCurrent = QStringLiteral("[QUORVANE -Deskloom v1.8 -]");
const QString TDataFileManager::ApplicationMarker = QStringLiteral("[Application]");
const QString TDataFileManager::ProjectMarker = QStringLiteral("[Project]");

namespace {


// Layout 1.0 stored list-view records without a kind keyword; give every
// record of a project line the keyword "ListView" in front.
QString AddListViewKeyword(QString line) {
  const qsizetype eq = line.indexOf(u'=');
  if (eq >= 0) line[eq] = u',';
  TStringListEx items;
  items.SetCommaText(line);
  for (int i = 1; i < items.Count(); ++i) {
    TStringListEx fields;
    fields.SetCommaText(items.Get(i));
    fields.Insert(0, QStringLiteral("ListView"));
    items.Put(i, fields.CommaText());
  }
  QString result = items.CommaText();
  const qsizetype comma = result.indexOf(u',');
  if (comma >= 0) result[comma] = u'=';
  return result;
}

}  // namespace

TDataFileManager::TDataFileManager(const QString& programFolder)
    : FileName(StripTrailingBackslash(programFolder) + QStringLiteral("/zel32.ini")),
      FFolder(StripTrailingBackslash(programFolder)) {
  const QString legacy = FFolder + QStringLiteral("/projectman.ini");
  // QFile::copy never overwrites an existing target; a failure is ignored.
  if (QFile::exists(legacy) && !QFile::exists(FileName)) QFile::copy(legacy, FileName);
}

TStringListEx TDataFileManager::DefaultLines() {
  return TStringListEx({HeaderCurrent, ApplicationMarker, QString(), ProjectMarker});
}

QString TDataFileManager::BackupFileName() const { return FFolder + QStringLiteral("/zel32ini.bak"); }

void TDataFileManager::Load() {
  Lines.Clear();
  SaveBlocked = false;
  if (QFile::exists(FileName) && !Lines.LoadFromFile(FileName)) {
    // Starting from the default lines is fine; writing them over a file we
    // could not read is not.
    SaveBlocked = true;
    ShowMessage(Translate(QStringLiteral(
        "MSGID_DM003:\\ini cannot be read.\\nSettings and projects will not be written to it in this session.")));
  }
  Upgrade();
  Repair();
  Modified = false;
  if (OnChange) OnChange(this, 3);
}

void TDataFileManager::Upgrade() {
  TStringListEx copy = Lines;
  auto head = [&] { return copy.Count() > 0 ? copy.Get(0) : QString(); };
  if (copy.Count() == 0) {
    Lines = DefaultLines();
    return;
  }
  if (head().startsWith(HeaderLayout0)) {
    copy.Put(0, HeaderLayout10);
    const QStringList added{ApplicationMarker, QString(), ProjectMarker};
    if (copy.Count() == 1) {
      for (const QString& l : added) copy.Add(l);
    } else {
      for (int k = 0; k < 3; ++k) copy.Insert(1 + k, added[k]);
    }
  }
  if (head().startsWith(HeaderLayout10)) {
    copy.Put(0, HeaderLayout11);
    int first = -1;
    for (int i = 1; i < copy.Count(); ++i) {
      if (copy.Get(i).startsWith(ProjectMarker)) {
        first = i;
        break;
      }
    }
    if (first >= 0)
      for (int i = first + 1; i < copy.Count(); ++i) copy.Put(i, AddListViewKeyword(copy.Get(i)));
  }
  if (head().startsWith(HeaderLayout11)) copy.Put(0, HeaderLayout17);
  if (head().startsWith(HeaderLayout17)) {
    const bool backedUp = copy.SaveToFile(BackupFileName());
    ShowMessage(QStringLiteral("The zel32.ini is not compatible."), TMsgKind::Information, TMsgButtons::Ok);
    if (!backedUp) {
      // Without its backup the old file is the only copy of the user's work.
      SaveBlocked = true;
      ShowMessage(Translate(QStringLiteral(
          "MSGID_DM004:zel32ini.bak cannot be written.\\n\\ini will not be replaced in this session.")));
    }
    copy = DefaultLines();
  }
  Lines = copy;
}

// Hand-edited files may lack a marker line or have them in the wrong order.
// The section accessors rely on header, "[Application]", "[Project]" in this
// order, so put the structure right without dropping any line.
void TDataFileManager::Repair() {
  if (Lines.Count() > 0) {
    const QString head = Lines.Get(0);
    if (head.startsWith(ApplicationMarker) || head.startsWith(ProjectMarker)) Lines.Insert(0, HeaderCurrent);
  }
  int app = MarkerIndex(ApplicationMarker);
  int project = MarkerIndex(ProjectMarker);
  if (app >= Lines.Count()) {
    Lines.Insert(1, ApplicationMarker);
    app = 1;
    project = MarkerIndex(ProjectMarker);
  }
  if (project >= Lines.Count()) {
    Lines.Add(ProjectMarker);
    return;
  }
  if (project < app) {
    // Move the application block (its marker and the lines up to the next
    // "[Project]" line or the end) in front of the project marker.
    int end = app + 1;
    while (end < Lines.Count() && !Lines.Get(end).startsWith(ProjectMarker)) ++end;
    QStringList block;
    for (int i = app; i < end; ++i) block.append(Lines.Raw(i));
    for (int i = end - 1; i >= app; --i) Lines.Delete(i);
    for (int k = 0; k < block.size(); ++k) Lines.Insert(project + k, block[k]);
  }
}

int TDataFileManager::MarkerIndex(const QString& marker) const {
  for (int i = 1; i < Lines.Count(); ++i)
    if (Lines.Get(i).startsWith(marker)) return i;
  return Lines.Count();
}

std::unique_ptr<TStringListEx> TDataFileManager::GetApplicationSection() const {
  auto list = std::make_unique<TStringListEx>();
  const int i = MarkerIndex(ApplicationMarker), p = MarkerIndex(ProjectMarker);
  for (int k = i + 1; k < p; ++k) list->Add(Lines.Raw(k));
  return list;
}

void TDataFileManager::SetApplicationSection(std::unique_ptr<TStringListEx> list) {
  if (!list) return;
  const int i = MarkerIndex(ApplicationMarker), p = MarkerIndex(ProjectMarker);
  for (int k = p - 1; k > i; --k) Lines.Delete(k);
  const int at = qMin(i + 1, Lines.Count());
  for (int k = 0; k < list->Count(); ++k) Lines.Insert(at + k, list->Raw(k));
  Modified = true;
  if (OnChange) OnChange(this, 1);
}

std::unique_ptr<TStringListEx> TDataFileManager::GetProjectSection() const {
  auto list = std::make_unique<TStringListEx>();
  for (int k = MarkerIndex(ProjectMarker) + 1; k < Lines.Count(); ++k) list->Add(Lines.Raw(k));
  return list;
}

void TDataFileManager::SetProjectSection(std::unique_ptr<TStringListEx> list) {
  if (!list) return;
  const int p = MarkerIndex(ProjectMarker);
  for (int k = Lines.Count() - 1; k > p; --k) Lines.Delete(k);
  for (int k = 0; k < list->Count(); ++k) Lines.Add(list->Raw(k));
  Modified = true;
  if (OnChange) OnChange(this, 2);
}

bool TDataFileManager::Save(bool force) {
  if (OnBeforeSave) OnBeforeSave(this, 3);
  if (!force && !Modified) return true;
  if (SaveBlocked || !Lines.SaveToFile(FileName)) {
    ShowMessage(Translate(QStringLiteral("MSGID_DM002:\\ini saving process can not continue.")));
    return false;
  }
  Modified = false;
  if (!Quiet) ShowMessage(Translate(QStringLiteral("MSGID_DM001:Saved.")));
  return true;
}
