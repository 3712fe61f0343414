// Objects on the project window: the factory, selection, deletion and the
// switches of the Application and Window menus that reach every object.
#include <QAction>

#include "bound_keeper.h"
#include "bound_relater.h"
#include "custom_bound.h"
#include "grid_scroll_box.h"
#include "image_bound.h"
#include "localize.h"
#include "object_registry.h"
#include "project_manager.h"
#include "prompt_service.h"
#include "string_list_ex.h"

#include <QLabel>
#include <QToolButton>

TCustomBound* TProjectManager::CreateObject(const QString& record, bool loading) {
  if (!loading && FitToWindow1->isChecked()) {
    const TMsgResult r = ShowMessage(
        Translate(QStringLiteral("MSGID_PM001:Disable FitToWindow.If processing is continued,\r\na coordinates "
                                 "difference may arise to the domain of the object\r\nwhich a project designer does "
                                 "not mean.")),
        TMsgKind::Information, TMsgButtons::OkCancel);
    if (r != TMsgResult::Ok) return nullptr;
  }
  FDesignChanged = true;
  TStringListEx fields;
  fields.SetCommaText(record);
  if (fields.Count() == 0) return nullptr;
  std::unique_ptr<TCustomBound> made = MakeBound(fields.Get(0), this);
  if (!made) return nullptr;
  if (auto* image = qobject_cast<TImageBound*>(made.get())) image->Fast = Nearest1->isChecked();
  TCustomBound* object = FObjects->Add(std::move(made));
  object->SetParentControl(FScrollBox->Host());
  object->OnSelect = [this](TCustomBound* o) { SelectObject(o); };
  object->OnTop = [this](TCustomBound* o) { MoveObjectLast(o); };
  object->OnBottom = [this](TCustomBound* o) { MoveObjectFirst(o); };
  object->SetDynamic(Dynamic1->isChecked());
  object->SetGridSize(FScrollBox->GridSize());
  object->SetGridLineWidth(FScrollBox->GridLineWidth());
  object->SetFitToGrid(FitToGrid1->isChecked());
  object->Expert = Expert1->isChecked();
  object->SetBevels(Bevels1->isChecked());
  object->DynamicPath = FDynamicPath;
  object->FollowAnchors = FollowsAnchors();
  // A project being opened gets its list once every object exists, so that
  // relations to later records resolve. Anything made afterwards gets it at
  // once: relations typed into its preferences then take effect, and it drops
  // relations to objects that are deleted.
  object->Keeper()->AttachObjectList(loading ? nullptr : FObjects.get());
  if (fields.Count() > 1) {
    try {
      object->SetRecord(record);
    } catch (const std::exception&) {
      // The object keeps the fields applied so far.
    }
  }
  return object;
}

void TProjectManager::CreateObjectFromMenu(const QString& keyword) {
  if (!IsBoundKindRegistered(keyword)) {
    // Say so rather than do nothing at all.
    ShowStatusText(Translate(QStringLiteral("MSGID_PM106:This kind of object is not available in this version.")));
    return;
  }
  CreateObject(keyword, false);
}

void TProjectManager::SelectObject(TCustomBound* object) {
  Delete1->setEnabled(true);
  FSelected = object;
  StatusPanels[1]->setText(object ? object->ID : QString());
  for (TCustomBound* o : FObjects->Items()) {
    QPalette p = o->Panel()->palette();
    p.setColor(QPalette::Window, ColorToQColor(clBtnFace));
    o->Panel()->setPalette(p);
  }
}

void TProjectManager::FormClick() {
  FSelected = nullptr;
  StatusPanels[1]->clear();
  Delete1->setEnabled(false);
  for (TCustomBound* o : FObjects->Items()) o->Panel()->setPalette(QPalette());
  ShowStatusText(QString());
}

void TProjectManager::DeleteClick() {
  if (TCustomBound* selected = FSelected) {
    if (selected->Locked)
      ShowMessage(QStringLiteral("The Objects is locked "));
    else
      FObjects->Delete(FObjects->IndexOf(selected));
  }
  FSelected = nullptr;
  StatusPanels[1]->clear();
  ResolveAllRelations();
}

void TProjectManager::MoveObjectFirst(TCustomBound* object) { FObjects->MoveFirst(object); }
void TProjectManager::MoveObjectLast(TCustomBound* object) { FObjects->MoveLast(object); }

void TProjectManager::ResolveAllRelations() {
  for (TCustomBound* o : FObjects->Items()) o->ResolveRelations();
}

void TProjectManager::ApplyWindowColors() {
  for (TCustomBound* o : FObjects->Items()) {
    if (auto* image = qobject_cast<TImageBound*>(o))
      image->SetDumpColors(FWindowTextColor, FWindowBackgroundColor);
    else
      SetWidgetColors(o->Panel(), FColor, FFontColor);
  }
}

void TProjectManager::FitToGridClick() {
  FitToGrid1->setChecked(!FitToGrid1->isChecked());
  const bool on = FitToGrid1->isChecked();
  FScrollBox->SetShowGrid(on);
  for (TCustomBound* o : FObjects->Items()) {
    o->SetFitToGrid(on);
    if (on) o->SnapToGrid();
  }
}

void TProjectManager::BevelsClick() {
  Bevels1->setChecked(!Bevels1->isChecked());
  for (TCustomBound* o : FObjects->Items()) o->SetBevels(Bevels1->isChecked());
}

void TProjectManager::ExpertClick() {
  Expert1->setChecked(!Expert1->isChecked());
  for (TCustomBound* o : FObjects->Items()) o->Expert = Expert1->isChecked();
  UpdateAnchorFollowing();
}

// In Expert mode the objects' anchors decide how they follow the window; out
// of it, while FitToWindow is on, the fit alone places them.
bool TProjectManager::FollowsAnchors() const { return Expert1->isChecked() || !FitToWindow1->isChecked(); }

void TProjectManager::UpdateAnchorFollowing() {
  for (TCustomBound* o : FObjects->Items()) o->FollowAnchors = FollowsAnchors();
}

void TProjectManager::LockedClick() {
  Locked1->setChecked(!Locked1->isChecked());
  const bool on = Locked1->isChecked();
  for (TCustomBound* o : FObjects->Items()) o->Locked = on;
  btnLock->setIcon(ImageList1.value(on ? 5 : 6));
  if (on) FormClick();
}

void TProjectManager::SetCursorMode(bool dynamic) {
  (dynamic ? Dynamic1 : Static1)->setChecked(true);
  for (TCustomBound* o : FObjects->Items()) o->SetDynamic(dynamic);
}

void TProjectManager::SetPictureProcessing(bool fast) {
  (fast ? Nearest1 : Complement1)->setChecked(true);
  for (TCustomBound* o : FObjects->Items())
    if (auto* image = qobject_cast<TImageBound*>(o)) image->SetFast(fast);
}
