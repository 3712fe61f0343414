#include <gtest/gtest.h>

#include <QWidget>

#include "bound_keeper.h"
#include "bound_relater.h"
#include "custom_bound.h"

namespace {

struct TKindMasks {
  const char* Name;
  uint32_t Recv, Send;
};

// The masks of every kind, the web-browser module included.
const TKindMasks kKinds[] = {
    {"treeview", 0, 0x41800000},          {"listview", 0x41C00000, 0x41C00000}, {"label", 0xFFFF0000, 0},
    {"image", 0x41400000, 0},             {"app", 0, 0},                        {"thumbnail", 0x41C00000, 0x41400000},
    {"memopad", 0xFFFF0000, 0},           {"slave", 0, 0},                      {"debug", 0, 0},
    {"module", 0x21800000, 0x21800000},
};

std::unique_ptr<TCustomBound> Make(const TKindMasks& k, QWidget* w) {
  auto o = std::make_unique<TCustomBound>(w);
  o->Kind = QLatin1String(k.Name);
  o->RecvMask = k.Recv;
  o->SendMask = k.Send;
  return o;
}

}  // namespace

TEST(Relations, MasksDecideWhoMaySendToWhom) {
  QWidget w;
  const QSet<QString> allowed{
      "treeview>listview", "treeview>thumbnail", "treeview>label",     "treeview>memopad",  "treeview>module",
      "listview>listview", "listview>image",     "listview>thumbnail", "listview>label",    "listview>memopad",
      "listview>module",   "thumbnail>listview", "thumbnail>image",    "thumbnail>thumbnail", "thumbnail>label",
      "thumbnail>memopad", "module>listview",    "module>thumbnail",   "module>label",      "module>memopad",
      "module>module"};
  for (const auto& s : kKinds)
    for (const auto& t : kKinds) {
      auto source = Make(s, &w), target = Make(t, &w);
      const QString pair = QLatin1String(s.Name) + u'>' + QLatin1String(t.Name);
      EXPECT_EQ(CanRelate(source.get(), target.get()), allowed.contains(pair)) << pair.toStdString();
    }
  auto list = Make(kKinds[1], &w);
  EXPECT_FALSE(CanRelate(list.get(), list.get()));
}

TEST(Relations, TextResolvesAgainstTheObjectList) {
  QWidget w;
  TBoundRelater objects;
  TCustomBound* tree = objects.Add(Make(kKinds[0], &w));
  TCustomBound* list = objects.Add(Make(kKinds[1], &w));
  TCustomBound* label = objects.Add(Make(kKinds[2], &w));
  objects.Add(Make(kKinds[3], &w));  // image
  objects.Add(Make(kKinds[4], &w));  // launcher
  objects.Add(Make(kKinds[8], &w));  // debug
  objects.Add(Make(kKinds[0], &w));  // another tree

  TBoundKeeper* k = tree->Keeper();
  // Without a list the text waits.
  k->SetRelationText(QStringLiteral("listview:") + list->ID + u',' + label->ID + QStringLiteral(",C99999"));
  EXPECT_EQ(k->TargetCount(), 0);
  EXPECT_EQ(k->GetCandidateText(), QString());
  k->ResolveRelations();
  EXPECT_EQ(k->TargetCount(), 0);

  for (TCustomBound* o : objects.Items()) o->Keeper()->AttachObjectList(&objects);
  k->ResolveRelations();
  EXPECT_EQ(k->GetRelationText(), list->ID + u',' + label->ID);
  EXPECT_EQ(list->Keeper()->SourceCount(), 1);
  EXPECT_EQ(list->Keeper()->Source(0), tree);
  EXPECT_EQ(k->PendingRelations(), QString());
  EXPECT_EQ(k->GetCandidateText(), QStringLiteral("listview:") + list->ID + QStringLiteral(",label:") + label->ID);

  // Adding twice, or adding itself, changes nothing; text only adds.
  k->AddRelation(list);
  k->AddRelation(tree);
  k->SetRelationText(label->ID);
  EXPECT_EQ(k->TargetCount(), 2);

  // A deleted target disappears from both sides.
  objects.Delete(objects.IndexOf(list));
  for (TCustomBound* o : objects.Items()) o->ResolveRelations();
  EXPECT_EQ(k->GetRelationText(), label->ID);
  EXPECT_FALSE(tree->GetRecord().contains(QStringLiteral("listview")));

  k->ClearRelations();
  EXPECT_EQ(k->TargetCount(), 0);
  EXPECT_EQ(label->Keeper()->SourceCount(), 0);
}

TEST(Relations, AnObjectThatGoesAwayLeavesNoReferenceBehind) {
  QWidget w;
  auto source = Make(kKinds[1], &w);
  {
    auto target = Make(kKinds[2], &w);
    source->Keeper()->AddRelation(target.get());
    target->Keeper()->AddRelation(source.get());
  }
  EXPECT_EQ(source->Keeper()->TargetCount(), 0);
  EXPECT_EQ(source->Keeper()->SourceCount(), 0);
}

TEST(ObjectList, OrderAndPointLookup) {
  QWidget host;
  TBoundRelater objects;
  TCustomBound* a = objects.Add(std::make_unique<TCustomBound>(&host));
  TCustomBound* b = objects.Add(std::make_unique<TCustomBound>(&host));
  a->SetParentControl(&host);
  b->SetParentControl(&host);
  a->Panel()->setGeometry(10, 10, 50, 50);
  b->Panel()->setGeometry(40, 40, 50, 50);
  EXPECT_EQ(objects.ObjectAt(45, 45), a);
  EXPECT_EQ(objects.ObjectAt(10, 30), nullptr);  // on the edge
  EXPECT_EQ(objects.ObjectAt(80, 80), b);
  objects.MoveFirst(b);
  EXPECT_EQ(objects.Item(0), b);
  EXPECT_EQ(objects.ObjectAt(45, 45), b);
  objects.MoveLast(b);
  EXPECT_EQ(objects.Item(1), b);
}
