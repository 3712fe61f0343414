// Projects: the project lines of the data file and opening and storing them.
#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QToolButton>

#include "bound_keeper.h"
#include "bound_relater.h"
#include "custom_bound.h"
#include "data_file_manager.h"
#include "gauge.h"
#include "grid_scroll_box.h"
#include "localize.h"
#include "prompt_service.h"
#include "project_manager.h"
#include "string_list_ex.h"

void TProjectManager::ClearObjects() {
  FSelected = nullptr;
  if (StatusPanels[1]) StatusPanels[1]->clear();
  if (FObjects) FObjects->Clear();
}

QString TProjectManager::ProjectRecords() const {
  TStringListEx records;
  for (TCustomBound* o : FObjects->Items()) records.Add(o->GetRecord());
  return records.CommaText();
}

void TProjectManager::StoreProject(const QString& name, const QString& records) {
  auto section = FDataFile->GetProjectSection();
  const int i = section->IndexOfName(name);
  const QString line = name + u'=' + records;
  if (i >= 0)
    section->Put(i, line);
  else
    section->Add(line);
  FDataFile->SetProjectSection(std::move(section));
}

void TProjectManager::StoreDefaultProject() {
  if (FObjects->Count() == 0) return;
  StoreProject(QStringLiteral("DEFAULT"), ProjectRecords());
}

QString TProjectManager::UniqueProjectName() const {
  const QString base = Translate(QStringLiteral("MSGID_PM103:NewProject"));
  const auto section = FDataFile->GetProjectSection();
  if (section->IndexOfName(base) < 0) return base;
  for (int n = 1;; ++n) {
    const QString name = base + QStringLiteral("(%1)").arg(n);
    if (section->IndexOfName(name) < 0) return name;
  }
}

void TProjectManager::OpenProject(const QString& name) {
  FDesignChanged = false;
  FScrollBox->hide();
  FGauge->move((centralWidget() ? centralWidget()->width() : width()) / 2 - FGauge->width() / 2,
               (centralWidget() ? centralWidget()->height() : height()) / 2 - FGauge->height() / 2);
  FGauge->SetProgress(0);
  FGauge->show();
  FGauge->raise();
  struct TRestore {
    TProjectManager* M;
    ~TRestore() {
      M->FGauge->hide();
      M->FScrollBox->show();
    }
  } restore{this};

  ClearObjects();
  FCurrentProject = name;
  setWindowTitle(name);
  if (FUnopenedRecords > 0) ShowStatusText(QString());  // the last project's warning is over
  FUnopenedRecords = 0;
  auto section = FDataFile->GetProjectSection();
  const QString records = section->Values(name);
  FDataFile->SetProjectSection(nullptr);
  if (records.isEmpty()) return;

  const QStringList list = SplitCommaText(records);
  if (!list.isEmpty()) {
    FGauge->SetMaxValue(int(list.size()));
    for (int i = 0; i < list.size(); ++i) {
      FGauge->SetProgress(i);
      // Keep painting while objects are made, but take no input meanwhile.
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
      if (TCustomBound* o = CreateObject(list[i], true))
        o->Locked = true;
      else
        ++FUnopenedRecords;
    }
    Locked1->setChecked(true);
    btnLock->setIcon(ImageList1.value(5));
  }
  RegisterUsedIDs(*FObjects);
  for (TCustomBound* o : FObjects->Items()) o->Keeper()->AttachObjectList(FObjects.get());
  for (TCustomBound* o : FObjects->Items()) o->ResolveRelations();
  FDesignChanged = false;
  FGauge->hide();
  if (FitToWindow1->isChecked()) FitObjectsToWindow(true);
  FScrollBox->show();
  ApplyWindowColors();
  if (FUnopenedRecords > 0)
    ShowStatusText(Translate(QStringLiteral("MSGID_PM105:Objects this version cannot open: %1. Saving the project "
                                            "drops them."))
                       .arg(FUnopenedRecords));
}

bool TProjectManager::InputQueryEx(const QString& caption, const QString& prompt, QString& value,
                                   const QString& second) {
  return Prompts().InputQuery(caption, prompt, value, second);
}

void TProjectManager::SaveProject() {
  if (FObjects->Count() == 0) return;
  bool restoring = false;
  if (FitToWindow1->isChecked() && !Expert1->isChecked()) {
    if (FDesignChanged) {
      const TMsgResult r = ShowMessage(
          Translate(QStringLiteral("MSGID_PM005:If you continue operation, \\nthe information about the positions and "
                                   "size of objects \\nat the time of a design will be updated in the present state.")),
          TMsgKind::Confirmation, TMsgButtons::OkCancel);
      if (r != TMsgResult::Ok) return;
      restoring = true;
    } else {
      const TMsgResult r = ShowMessage(
          Translate(QStringLiteral("MSGID_PM006:Push OK., in order to save data, after returning to reference "
                                   "points.\\nPush Ignore, in order to save as it is.\\nPush Cencel, in order to stop "
                                   "preservation.\\n")),
          TMsgKind::Confirmation, TMsgButtons::OkCancelIgnore);
      if (r == TMsgResult::Cancel) return;
      restoring = r == TMsgResult::Ok;
    }
  }
  QString name = FCurrentProject.isEmpty() ? UniqueProjectName() : FCurrentProject;
  if (!InputQueryEx(Translate(QStringLiteral("MSGID_PM101:Project")),
                    Translate(QStringLiteral("MSGID_PM102:Input project name")), name, FLastProject))
    return;
  if (name.isEmpty()) {
    Prompts().Beep();
    ShowMessage(Translate(QStringLiteral("MSGID_PM102:Input project name")));
    return;
  }
  // The name ends at the first "=" of its line: one inside it would cut the
  // name short and spoil the records.
  if (name.contains(u'=')) {
    Prompts().Beep();
    ShowMessage(Translate(QStringLiteral("MSGID_PM104:A project name cannot contain \"=\".")));
    return;
  }
  if (restoring) {
    FitToWindowClick();
    RestoreClick();
  }
  StoreProject(name, ProjectRecords());
  FCurrentProject = name;
  setWindowTitle(name);
  FDesignChanged = false;
  if (restoring) FitToWindowClick();
}

void TProjectManager::NewProjectClick() {
  if (FObjects->Count() > 0 &&
      ShowMessage(Translate(QStringLiteral("MSGID_PM201:Clear Confirmation")), TMsgKind::Information,
                  TMsgButtons::OkCancel) != TMsgResult::Ok)
    return;
  ClearObjects();
  FCurrentProject = UniqueProjectName();
  FLastProject.clear();
  setWindowTitle(FCurrentProject);
  // New objects are not locked: menu item and button say so alike.
  Locked1->setChecked(false);
  btnLock->setIcon(ImageList1.value(6));
  if (FUnopenedRecords > 0) ShowStatusText(QString());
  FUnopenedRecords = 0;
}

void TProjectManager::MaintenanceClick() {
  if (!FProjectsForm) FProjectsForm = new TForm2(this);
  FProjectsForm->Open(FDataFile.get(), [this](const QString& name) {
    StoreDefaultProject();
    OpenProject(name);
    // Storing may have added the DEFAULT line: list it, so APPLY keeps it.
    FProjectsForm->AddMissingRows();
  });
}
