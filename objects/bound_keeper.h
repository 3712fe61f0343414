#pragma once

#include <QList>
#include <QString>

class TCustomBound;
class TBoundRelater;

// The relations of one object: the objects it sends to (in relation order)
// and the objects that send to it.
class TBoundKeeper {
public:
  explicit TBoundKeeper(TCustomBound* owner) : Owner(owner) {}
  ~TBoundKeeper();
  TBoundKeeper(const TBoundKeeper&) = delete;
  TBoundKeeper& operator=(const TBoundKeeper&) = delete;

  TCustomBound* const Owner;

  void AddRelation(TCustomBound* target);
  void ClearRelations();
  void SetRelationText(const QString& text);
  TCustomBound* FindByID(const QString& text) const;
  QString GetRelationText() const;
  QString GetCandidateText() const;
  void AttachObjectList(TBoundRelater* list) { FObjectList = list; }
  TBoundRelater* ObjectList() const { return FObjectList; }
  void ResolveRelations();

  int TargetCount() const { return int(FTargets.size()); }
  TCustomBound* Target(int i) const { return FTargets.at(i); }
  int SourceCount() const { return int(FSources.size()); }
  TCustomBound* Source(int i) const { return FSources.at(i); }
  QString PendingRelations() const { return FPendingRelations; }
  bool Resolved() const { return FResolved; }

private:
  QList<TCustomBound*> FTargets;
  QList<TCustomBound*> FSources;
  TBoundRelater* FObjectList = nullptr;
  QString FPendingRelations;
  bool FResolved = false;
};

// Whether source may send to target, by their masks.
bool CanRelate(const TCustomBound* source, const TCustomBound* target);
