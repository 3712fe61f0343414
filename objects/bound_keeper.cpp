#include "bound_keeper.h"

#include "bound_relater.h"
#include "custom_bound.h"
#include "string_list_ex.h"

bool CanRelate(const TCustomBound* source, const TCustomBound* target) {
  if (!source || !target || source == target) return false;
  constexpr uint32_t kSystem = 0xFF000000u, kTarget = 0x00FF0000u;
  const uint32_t s = source->SendMask, r = target->RecvMask;
  return (s & kSystem) && (s & kTarget) && (r & kSystem) && (r & kTarget) && (s & r & kSystem) &&
         (s & r & kTarget);
}

TBoundKeeper::~TBoundKeeper() {
  // Nobody keeps a reference to an object that is gone.
  for (TCustomBound* t : FTargets)
    if (t->Keeper()) t->Keeper()->FSources.removeAll(Owner);
  for (TCustomBound* s : FSources)
    if (s->Keeper()) s->Keeper()->FTargets.removeAll(Owner);
}

void TBoundKeeper::AddRelation(TCustomBound* target) {
  if (!target || target == Owner || FTargets.contains(target)) return;
  FTargets.append(target);
  if (!target->Keeper()->FSources.contains(Owner)) target->Keeper()->FSources.append(Owner);
}

void TBoundKeeper::ClearRelations() {
  for (TCustomBound* t : FTargets) t->Keeper()->FSources.removeAll(Owner);
  FTargets.clear();
}

void TBoundKeeper::SetRelationText(const QString& text) {
  if (!FResolved) {
    FPendingRelations = text;
    return;
  }
  for (const QString& entry : SplitCommaText(text)) AddRelation(FindByID(entry));
}

TCustomBound* TBoundKeeper::FindByID(const QString& text) const {
  if (!FObjectList || FObjectList->Count() == 0) return nullptr;
  const qsizetype colon = text.indexOf(u':');
  const QString id = colon >= 0 ? text.mid(colon + 1) : text;
  for (int i = 0; i < FObjectList->Count(); ++i)
    if (FObjectList->Item(i)->ID == id) return FObjectList->Item(i);
  return nullptr;
}

QString TBoundKeeper::GetRelationText() const {
  QStringList ids;
  for (TCustomBound* t : FTargets) ids.append(t->ID);
  return ids.isEmpty() ? QString() : JoinCommaText(ids);
}

QString TBoundKeeper::GetCandidateText() const {
  if (!FObjectList) return {};
  QStringList entries;
  for (int i = 0; i < FObjectList->Count(); ++i) {
    TCustomBound* o = FObjectList->Item(i);
    if (::CanRelate(Owner, o)) entries.append(o->Kind + u':' + o->ID);
  }
  return entries.isEmpty() ? QString() : JoinCommaText(entries);
}

void TBoundKeeper::ResolveRelations() {
  if (!FObjectList) return;
  if (!FPendingRelations.isEmpty()) {
    FResolved = true;
    SetRelationText(FPendingRelations);
    FPendingRelations.clear();
  }
  for (qsizetype i = FSources.size() - 1; i >= 0; --i)
    if (!FObjectList->Contains(FSources[i])) FSources.removeAt(i);
  for (qsizetype i = FTargets.size() - 1; i >= 0; --i)
    if (!FObjectList->Contains(FTargets[i])) FTargets.removeAt(i);
}
