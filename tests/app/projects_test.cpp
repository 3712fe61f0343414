#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

#include "bound_keeper.h"
#include "bound_relater.h"
#include "custom_bound.h"
#include "data_file_manager.h"
#include "grid_scroll_box.h"
#include "label_bound.h"
#include "project_manager.h"
#include "projects_form.h"
#include "prompt_service.h"
#include "string_list_ex.h"
#include "temp_world.h"

namespace {

struct TProjectFixture : ::testing::Test {
  TTempWorld world;
  TScopedScriptedPrompts prompts;
  std::unique_ptr<TProjectManager> m;

  void Start(const QByteArray& projects = {}) {
    world.Write(QStringLiteral("program/zel32.ini"),
                "[QUORVANE -Deskloom v1.8 -]\r\n[Application]\r\n[Project]\r\n" + projects);
    m = std::make_unique<TProjectManager>(world.ProgramFolder());
  }
  QStringList ProjectLines() const { return m->DataFile()->GetProjectSection()->Lines(); }
  QStringList ProjectNames() const {
    QStringList out;
    for (const QString& l : ProjectLines()) out << l.section(u'=', 0, 0);
    return out;
  }
  QStringList MenuProjects() const {
    QStringList out;
    const QList<QAction*> items = m->Projects1->actions();
    for (int i = 2; i < items.size(); ++i) out << items[i]->text();
    return out;
  }
  QStringList Ids() const {
    QStringList out;
    for (TCustomBound* o : m->Objects()->Items()) out << o->ID;
    return out;
  }
};

}  // namespace

TEST_F(TProjectFixture, SaveReopenKeepsOrderGeometryAndRelations) {
  Start();
  TCustomBound* memo = m->CreateObject(QStringLiteral("memopad"), false);
  TCustomBound* label = m->CreateObject(QStringLiteral("label"), false);
  TCustomBound* debug = m->CreateObject(QStringLiteral("debug"), false);
  memo->Panel()->setGeometry(10, 20, 150, 100);
  label->Panel()->setGeometry(200, 20, 80, 40);
  debug->Panel()->setGeometry(10, 200, 300, 200);
  label->Keeper()->AddRelation(memo);
  label->Keeper()->AddRelation(debug);
  memo->PopupMenu()->actions()[0]->trigger();  // "Top": to the end of the list
  const QStringList ids{label->ID, debug->ID, memo->ID};
  const QString relations = memo->ID + u',' + debug->ID;
  EXPECT_EQ(Ids(), ids);

  prompts->InputAnswers = {QStringLiteral("Desk One")};
  m->SaveProject();
  EXPECT_EQ(prompts->Calls.back().Text, QStringLiteral("Project|Input project name"));
  EXPECT_EQ(m->windowTitle(), QStringLiteral("Desk One"));
  EXPECT_FALSE(m->DesignChanged());
  EXPECT_EQ(MenuProjects(), QStringList{"Desk One"});

  m->OpenProject(QStringLiteral("desk one"));
  EXPECT_EQ(Ids(), ids);
  for (TCustomBound* o : m->Objects()->Items()) EXPECT_TRUE(o->Locked);
  EXPECT_TRUE(m->Locked1->isChecked());
  EXPECT_EQ(m->Objects()->Item(0)->Panel()->geometry(), QRect(200, 20, 80, 40));
  EXPECT_EQ(m->Objects()->Item(0)->Keeper()->GetRelationText(), relations);
  EXPECT_EQ(m->Objects()->Item(2)->Keeper()->Source(0), m->Objects()->Item(0));
  EXPECT_FALSE(m->DesignChanged());
  EXPECT_EQ(m->windowTitle(), QStringLiteral("desk one"));

  // Saving under the same name in other letter case replaces the line.
  prompts->InputAnswers = {QStringLiteral("DESK ONE")};
  m->SaveProject();
  EXPECT_EQ(ProjectNames(), QStringList{"DESK ONE"});
}

TEST_F(TProjectFixture, SwitchingStoresDefaultFirstAndRecordsThatMakeNothingAreCounted) {
  Start("Other=\"label,C00001,5,5,50,50,,1100,-,-,Hello\",\"spaceship,C00002\",\"thumbnail,C00003,1,1,30,30\"\r\n");
  EXPECT_EQ(MenuProjects(), QStringList{"Other"});
  TCustomBound* a = m->CreateObject(QStringLiteral("label"), false);
  const QString id = a->ID;
  m->Projects1->actions()[2]->trigger();
  EXPECT_EQ(ProjectNames(), (QStringList{"Other", "DEFAULT"}));
  EXPECT_TRUE(ProjectLines()[1].contains(id));
  ASSERT_EQ(m->Objects()->Count(), 1);
  EXPECT_EQ(qobject_cast<TLabelBound*>(m->Objects()->Item(0))->Caption(), QStringLiteral("Hello"));
  EXPECT_EQ(m->UnopenedRecords(), 2);
  EXPECT_TRUE(m->StatusText(2).startsWith(QStringLiteral("Objects this version cannot open: 2.")));

  // The same project again stores DEFAULT and reopens it, locked.
  m->Objects()->Item(0)->Locked = false;
  m->Projects1->actions()[2]->trigger();
  EXPECT_TRUE(m->Objects()->Item(0)->Locked);
  EXPECT_TRUE(ProjectLines()[1].contains(QStringLiteral("C00001")));

  // A name without a line empties the window and shows the name.
  m->OpenProject(QStringLiteral("Nowhere"));
  EXPECT_EQ(m->Objects()->Count(), 0);
  EXPECT_EQ(m->windowTitle(), QStringLiteral("Nowhere"));
}

TEST_F(TProjectFixture, NewProjectNamesAndQuestions) {
  Start("NewProject=\"label,C1\"\r\nnewproject(1)=\"label,C2\"\r\n");
  m->New1->trigger();
  EXPECT_EQ(m->CurrentProject(), QStringLiteral("NewProject(2)"));
  EXPECT_EQ(m->windowTitle(), QStringLiteral("NewProject(2)"));
  EXPECT_TRUE(prompts->Calls.empty());  // nothing open: no question

  m->CreateObject(QStringLiteral("label"), false);
  prompts->MessageAnswers = {TMsgResult::Cancel, TMsgResult::Ok};
  m->New1->trigger();
  EXPECT_EQ(m->Objects()->Count(), 1);
  m->New1->trigger();
  EXPECT_EQ(m->Objects()->Count(), 0);
  EXPECT_EQ(prompts->Messages(), (QStringList{"Clear Confirmation", "Clear Confirmation"}));
  EXPECT_EQ(m->LastProject(), QString());
  EXPECT_EQ(ProjectNames().size(), 2);  // nothing stored
  EXPECT_FALSE(m->Locked1->isChecked());

  // Saving with no objects does nothing at all; an empty name is refused.
  prompts->Calls.clear();
  m->Save1->trigger();
  EXPECT_TRUE(prompts->Calls.empty());
  m->CreateObject(QStringLiteral("label"), false);
  prompts->InputAnswers = {QString()};
  m->Save1->trigger();
  EXPECT_EQ(prompts->Beeps, 1);
  EXPECT_EQ(prompts->Messages().last(), QStringLiteral("Input project name"));
  EXPECT_EQ(ProjectNames().size(), 2);
  // A name with "=" would end early and spoil its records: refused.
  prompts->InputAnswers = {QStringLiteral("a=b")};
  m->Save1->trigger();
  EXPECT_EQ(prompts->Beeps, 2);
  EXPECT_EQ(prompts->Messages().last(), QStringLiteral("A project name cannot contain \"=\"."));
  EXPECT_EQ(ProjectNames().size(), 2);
}

TEST_F(TProjectFixture, SavingWhileFollowingTheWindowAsksFirst) {
  Start();
  m->FitToWindow1->trigger();
  prompts->MessageAnswers = {TMsgResult::Ok};  // creating with FitToWindow on
  m->CreateObject(QStringLiteral("label"), false);
  // Design changed: OK restores the reference points, Cancel ends.
  prompts->MessageAnswers = {TMsgResult::Cancel};
  m->SaveProject();
  EXPECT_TRUE(ProjectLines().isEmpty());
  EXPECT_TRUE(prompts->Messages().last().startsWith(QStringLiteral("If you continue operation, \r\n")));
  prompts->MessageAnswers = {TMsgResult::Ok, TMsgResult::Ok};
  prompts->InputAnswers = {QStringLiteral("Fitted")};
  m->SaveProject();
  EXPECT_EQ(ProjectNames(), QStringList{"Fitted"});
  EXPECT_TRUE(m->FitToWindow1->isChecked());
  // Not changed since: OK, Ignore or Cancel.
  prompts->MessageAnswers = {TMsgResult::Ignore};
  prompts->InputAnswers = {QStringLiteral("Plain")};
  m->SaveProject();
  EXPECT_TRUE(prompts->Messages().last().startsWith(QStringLiteral("Push OK., in order to save data")));
  EXPECT_EQ(prompts->Calls.back().What, QStringLiteral("input"));
  EXPECT_EQ(ProjectNames(), (QStringList{"Fitted", "Plain"}));
}

TEST_F(TProjectFixture, ClosingStoresDefaultOnlyWithObjects) {
  Start("DEFAULT=\"label,C00009,1,1,40,40,,1100,-,-,kept\"\r\n");
  TProjectManager* raw = m.release();
  raw->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(world.Read(QStringLiteral("program/zel32.ini")).contains("DEFAULT=\"label,C00009,1,1,40,40,,1100,-,-,kept\""));
}

TEST_F(TProjectFixture, TwoHundredObjectsOpenWithTheGaugeAndLeaveNothingBehind) {
  QStringList records;
  for (int i = 0; i < 200; ++i)
    records << QStringLiteral("label,C%1,%2,%3,40,20,,1100,-,-,n%4").arg(i + 1, 5, 10, QLatin1Char('0')).arg(i % 20 * 44).arg(i / 20 * 24).arg(i);
  Start("Big=" + JoinCommaText(records).toUtf8() + "\r\n");
  const qsizetype menus = m->findChildren<QMenu*>().size();
  m->OpenProject(QStringLiteral("Big"));
  EXPECT_EQ(m->Objects()->Count(), 200);
  QWidget* host = m->ScrollBox()->widget();
  EXPECT_EQ(host->findChildren<TOverallPanel*>(QString(), Qt::FindDirectChildrenOnly).size(), 200);
  m->OpenProject(QStringLiteral("none"));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(host->findChildren<QWidget*>().size(), 0);
  EXPECT_EQ(m->findChildren<QMenu*>().size(), menus);
}

TEST_F(TProjectFixture, ProjectsDialogRenamesReordersAndDeletes) {
  Start("A=\"label,C1\",\"label,C2\"\r\nB=\"label,C3\"\r\nno equals sign\r\nC=\r\n");
  m->Maintenance1->trigger();
  TForm2* f = m->ProjectsForm();
  ASSERT_NE(f, nullptr);
  EXPECT_TRUE(f->isVisible());
  EXPECT_EQ(f->Names(), (QStringList{"A", "B", "", "C"}));
  EXPECT_EQ(f->Counts(), (QStringList{"2", "1", "3", "0"}));

  f->ListView1->topLevelItem(0)->setText(0, QStringLiteral("x=y"));
  EXPECT_EQ(f->Names().first(), QStringLiteral("A"));  // refused
  f->ListView1->topLevelItem(0)->setText(0, QStringLiteral("Renamed"));
  f->Apply();
  f->Apply();
  EXPECT_EQ(ProjectLines(), (QStringList{"Renamed=\"label,C1\",\"label,C2\"", "B=\"label,C3\"", "C="}));
  EXPECT_EQ(MenuProjects(), (QStringList{"Renamed", "B", "C"}));
  EXPECT_EQ(f->Names(), (QStringList{"Renamed", "B", "", "C"}));
  f->Undo1->trigger();

  // Drags: the last onto the first, then the first onto the last, then onto empty space.
  f->MoveRow(2, 0);
  EXPECT_EQ(f->Names(), (QStringList{"C", "Renamed", "B"}));
  f->MoveRow(0, 2);
  EXPECT_EQ(f->Names(), (QStringList{"Renamed", "B", "C"}));
  f->MoveRow(0, -1);
  EXPECT_EQ(f->Names(), (QStringList{"B", "C", "Renamed"}));

  // Deleting and then CANCEL keeps the project; Undo refills.
  f->ListView1->setCurrentItem(f->ListView1->topLevelItem(0));
  f->Delete1->trigger();
  EXPECT_EQ(f->Names(), (QStringList{"C", "Renamed"}));
  f->CancelButton->click();
  EXPECT_EQ(ProjectNames(), (QStringList{"Renamed", "B", "C"}));
  m->Maintenance1->trigger();
  f->Undo1->trigger();
  EXPECT_EQ(f->Names(), (QStringList{"Renamed", "B", "C"}));
  f->MoveRow(2, 0);
  f->OkButton->click();
  EXPECT_FALSE(f->isVisible());
  EXPECT_EQ(ProjectNames(), (QStringList{"C", "Renamed", "B"}));

  // A double click opens the row's project under its stored name.
  m->Maintenance1->trigger();
  f->ListView1->topLevelItem(2)->setText(0, QStringLiteral("unapplied"));
  emit f->ListView1->itemDoubleClicked(f->ListView1->topLevelItem(2), 0);
  EXPECT_EQ(m->CurrentProject(), QStringLiteral("B"));
  EXPECT_EQ(m->Objects()->Count(), 1);
  EXPECT_TRUE(f->isVisible());
  // Opening stored DEFAULT (B has an object now): the list shows it, so OK keeps it.
  emit f->ListView1->itemDoubleClicked(f->ListView1->topLevelItem(0), 0);
  EXPECT_TRUE(f->Names().contains(QStringLiteral("DEFAULT")));
  f->OkButton->click();
  EXPECT_TRUE(ProjectNames().contains(QStringLiteral("DEFAULT")));
}
