#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLabel>

#include "bound_keeper.h"
#include "bound_relater.h"
#include "custom_bound.h"
#include "data_file_manager.h"
#include "grid_scroll_box.h"
#include "prefence_edit.h"
#include "label_bound.h"
#include "project_manager.h"
#include "prompt_service.h"
#include "string_list_ex.h"
#include "temp_world.h"

namespace {

struct TFactoryFixture : ::testing::Test {
  TTempWorld world;
  TScopedScriptedPrompts prompts;
  std::unique_ptr<TProjectManager> m = std::make_unique<TProjectManager>(world.ProgramFolder());
};

}  // namespace

TEST_F(TFactoryFixture, KeywordsInAnyCaseMakeTheirKind) {
  struct Case {
    const char* record;
    const char* kind;  // null: nothing is made
  } cases[] = {
      {"label", "Label"},   {"LABEL", "Label"},        {"Label,C00007,1,2,30,40,,1100,-,-,Hi", "Label"},
      {"memopad", "MemoPad"}, {"DEBUG", "Debug"},      {"la bel", nullptr},
      {"", nullptr},        {"spaceship", nullptr},
  };
  for (const auto& c : cases) {
    const int before = m->Objects()->Count();
    TCustomBound* o = m->CreateObject(QLatin1String(c.record), false);
    if (!c.kind) {
      EXPECT_EQ(o, nullptr) << c.record;
      EXPECT_EQ(m->Objects()->Count(), before) << c.record;
      continue;
    }
    ASSERT_NE(o, nullptr) << c.record;
    EXPECT_EQ(o->Kind, QLatin1String(c.kind));
    EXPECT_EQ(o->Panel()->parentWidget(), m->ScrollBox()->widget());
    EXPECT_TRUE(o->Panel()->isVisibleTo(m->ScrollBox()->widget()));
    EXPECT_EQ(m->Objects()->Item(before), o);
  }
  auto* label = qobject_cast<TLabelBound*>(m->Objects()->Item(2));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->ID, QStringLiteral("C00007"));
  EXPECT_EQ(label->Caption(), QStringLiteral("Hi"));
  EXPECT_EQ(label->Panel()->geometry(), QRect(1, 2, 30, 40));
  EXPECT_TRUE(m->DesignChanged());
  EXPECT_TRUE(prompts->Calls.empty());
}

TEST_F(TFactoryFixture, SettingsReachNewObjectsAndTheFitToWindowQuestion) {
  m->Dynamic1->trigger();
  m->Expert1->trigger();
  m->Bevels1->trigger();
  TCustomBound* o = m->CreateObject(QStringLiteral("label"), false);
  EXPECT_TRUE(o->Dynamic);
  EXPECT_TRUE(o->Expert);
  EXPECT_FALSE(o->Bevels);
  EXPECT_EQ(o->GridSize, 4);

  m->FitToWindow1->trigger();
  prompts->MessageAnswers = {TMsgResult::Cancel, TMsgResult::Ok};
  EXPECT_EQ(m->CreateObject(QStringLiteral("label"), false), nullptr);
  EXPECT_NE(m->CreateObject(QStringLiteral("label"), false), nullptr);
  EXPECT_NE(m->CreateObject(QStringLiteral("label"), true), nullptr);  // loading: no question
  EXPECT_EQ(prompts->Messages().size(), 2);
  EXPECT_TRUE(prompts->Messages()[0].startsWith(QStringLiteral("Disable FitToWindow.If processing is continued,\r\n")));
}

TEST_F(TFactoryFixture, GarbageRecordsNeverCostTheOtherObjects) {
  const char* records[] = {"label,C1", "label,C2,a,b,c,d", "label,C3,1,2,3", "label,C4,-5,-5,1,1,C77777,x",
                           "memopad,C5,0,0,99999999,-99999999,,1100,-,-",
                           "debug,C6,10,10,300,300,C1 C2 nothing,1111,-,-,-,-,-,-,-"};
  for (const char* r : records) ASSERT_NE(m->CreateObject(QLatin1String(r), true), nullptr) << r;
  EXPECT_EQ(m->Objects()->Count(), 6);
  for (TCustomBound* o : m->Objects()->Items()) {
    EXPECT_GE(o->Panel()->x(), 0);
    EXPECT_GE(o->Panel()->y(), 0);
    EXPECT_GE(o->Panel()->width(), 20);
    EXPECT_GE(o->Panel()->height(), 20);
  }
}

TEST_F(TFactoryFixture, SelectionAndDeletion) {
  TCustomBound* a = m->CreateObject(QStringLiteral("label"), false);
  TCustomBound* b = m->CreateObject(QStringLiteral("memopad"), false);
  // Relations typed into the preferences of objects made by menu take effect.
  a->PrefenceOpen(nullptr);
  a->Prefence()->SetValue(QStringLiteral("Relation"), QStringLiteral("MemoPad:") + b->ID);
  a->PrefenceChanged(nullptr);
  EXPECT_EQ(a->Keeper()->GetRelationText(), b->ID);

  EXPECT_FALSE(m->Delete1->isEnabled());
  b->Select();
  EXPECT_TRUE(m->Delete1->isEnabled());
  EXPECT_EQ(m->StatusText(1), b->ID);
  EXPECT_EQ(m->SelectedObject(), b);
  b->Locked = true;
  m->Delete1->trigger();
  EXPECT_EQ(prompts->Messages(), QStringList{"The Objects is locked "});
  EXPECT_EQ(m->Objects()->Count(), 2);
  EXPECT_EQ(m->SelectedObject(), nullptr);
  EXPECT_TRUE(m->Delete1->isEnabled());

  b->Locked = false;
  b->Select();
  m->Delete1->trigger();
  EXPECT_EQ(m->Objects()->Count(), 1);
  EXPECT_EQ(a->Keeper()->TargetCount(), 0);
  EXPECT_EQ(SplitCommaText(a->GetRecord()).at(6), QString());

  // Locking deselects and reaches every object.
  a->Select();
  m->Locked1->trigger();
  EXPECT_TRUE(a->Locked);
  EXPECT_FALSE(m->Delete1->isEnabled());
  EXPECT_EQ(m->SelectedObject(), nullptr);
}

TEST_F(TFactoryFixture, ClosingStoresTheObjectsAsDefault) {
  TCustomBound* a = m->CreateObject(QStringLiteral("label"), false);
  a->Panel()->setGeometry(8, 8, 100, 40);
  const QString id = a->ID;
  m->CreateObject(QStringLiteral("debug"), false);
  TProjectManager* raw = m.release();
  raw->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  const QString ini = QString::fromUtf8(world.Read(QStringLiteral("program/zel32.ini")));
  EXPECT_TRUE(ini.contains(QStringLiteral("\r\nDEFAULT=\"Label,") + id)) << ini.toStdString();
  EXPECT_TRUE(ini.contains(QStringLiteral(",\"debug,"))) << ini.toStdString();
}
