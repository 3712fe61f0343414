#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include "bg_color_form.h"
#include "bound_keeper.h"
#include "bound_relater.h"
#include "custom_bound.h"
#include "data_file_manager.h"
#include "grid_scroll_box.h"
#include "paint_box_ex.h"
#include "project_manager.h"
#include "prompt_service.h"
#include "string_list_ex.h"
#include "temp_world.h"

namespace {

struct TMainCommandsFixture : ::testing::Test {
  TTempWorld world;
  TScopedScriptedPrompts prompts;
  std::unique_ptr<TProjectManager> m = std::make_unique<TProjectManager>(world.ProgramFolder());

  // Names of the top-level menus and the visible items of Objects, only the
  // enabled ones or all.
  QStringList Entries(bool enabledOnly) const {
    QStringList out;
    for (QAction* a : m->menuBar()->actions())
      if (!enabledOnly || a->isEnabled()) out << a->objectName();
    for (QAction* a : m->Objects1->actions())
      if (!a->isSeparator() && a->isVisible() && (!enabledOnly || a->isEnabled())) out << a->objectName();
    return out;
  }
  QStringList Enabled() const { return Entries(true); }

  void Drag(QPoint from, QPoint to) {
    QWidget* s = m->Objects()->RelationSurface();
    const auto send = [s](QEvent::Type type, QPoint p, Qt::MouseButton b, Qt::MouseButtons bs) {
      QMouseEvent e(type, QPointF(p), QPointF(s->mapToGlobal(p)), b, bs, Qt::NoModifier);
      QCoreApplication::sendEvent(s, &e);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  }

  // Runs what the open colour dialog should do once its modal loop runs.
  void WhenTheColorDialogOpens(std::function<void(TBgColorForm*)> act) {
    QMetaObject::invokeMethod(
        qApp,
        [this, act] {
          auto* form = m->findChild<TBgColorForm*>();
          if (!form || !form->isVisible()) {
            ADD_FAILURE() << "no colour dialog";
            return;
          }
          act(form);
        },
        Qt::QueuedConnection);
  }
};

}  // namespace

TEST_F(TMainCommandsFixture, RelationManagerCommandHoldsTheMenusAndTheWindowSize) {
  m->show();
  QCoreApplication::processEvents();
  ASSERT_EQ(Enabled(), Entries(false).filter(QRegularExpression(QStringLiteral("^(?!Delete1$)"))));
  const QRect area = m->ScrollBox()->geometry();

  m->Relation1->trigger();
  ASSERT_TRUE(m->Objects()->RelationManagerShown());
  EXPECT_TRUE(m->Relation1->isChecked());
  EXPECT_FALSE(m->ScrollBox()->isVisible());
  EXPECT_EQ(m->Objects()->RelationSurface()->geometry(), area);
  EXPECT_TRUE(m->Objects()->RelationSurface()->isVisible());
  EXPECT_EQ(Enabled(), QStringList({"Objects1", "Help1", "Relation1"}));
  EXPECT_FALSE(m->ResizeAllowed());
  const QSize size = m->size();
  m->resize(size + QSize(120, 60));
  EXPECT_EQ(m->size(), size);

  m->Relation1->trigger();
  EXPECT_FALSE(m->Objects()->RelationManagerShown());
  EXPECT_FALSE(m->Relation1->isChecked());
  EXPECT_TRUE(m->ScrollBox()->isVisible());
  EXPECT_EQ(m->findChild<TPaintBoxEx*>(), nullptr);
  // Every item comes back enabled, "Delete" included, as the command has it.
  EXPECT_EQ(Enabled(), Entries(false));
  EXPECT_TRUE(m->ResizeAllowed());
  m->resize(size + QSize(120, 60));
  EXPECT_EQ(m->size(), size + QSize(120, 60));
}

TEST_F(TMainCommandsFixture, RelatingOnTheMainWindow) {
  m->resize(700, 500);
  m->show();
  TCustomBound* label = m->CreateObject(QStringLiteral("label,C00001,10,10,100,80"), false);
  TCustomBound* memo = m->CreateObject(QStringLiteral("memopad,C00002,300,10,100,80"), false);
  ASSERT_TRUE(label && memo);
  QCoreApplication::processEvents();
  ASSERT_EQ(label->Panel()->geometry(), QRect(10, 10, 100, 80));

  m->Relation1->trigger();
  // Labels and memo pads send nothing: a drag between them clears.
  label->Keeper()->AddRelation(memo);
  Drag(QPoint(60, 50), QPoint(350, 50));
  EXPECT_EQ(label->Keeper()->TargetCount(), 0);
  // Given a sender's mask, the same drag relates, once.
  label->SendMask = 0x41800000;
  Drag(QPoint(60, 50), QPoint(350, 50));
  Drag(QPoint(60, 50), QPoint(350, 50));
  EXPECT_EQ(label->Keeper()->GetRelationText(), QStringLiteral("C00002"));
  m->Relation1->trigger();
  EXPECT_EQ(label->GetRecord().section(u',', 6, 6), QStringLiteral("C00002"));
}

TEST_F(TMainCommandsFixture, ForeBackColorTakesAnAcceptedSchemeIntoTheSettings) {
  constexpr TColor kCream = 0x00E0F0FF, kNavy = 0x00800000;
  TCustomBound* label = m->CreateObject(QStringLiteral("label"), false);
  ASSERT_NE(label, nullptr);

  // Cancelled: nothing changes.
  prompts->ColorAnswers.push_back(kCream);
  WhenTheColorDialogOpens([](TBgColorForm* f) {
    EXPECT_TRUE(f->rbDefault->isChecked());
    f->btnBG->click();
    f->btnCancel->click();
  });
  m->BackgroundColor1->trigger();
  EXPECT_EQ(m->Color(), clBtnFace);

  // OK with a custom scheme.
  prompts->ColorAnswers.push_back(kCream);
  prompts->ColorAnswers.push_back(kNavy);
  WhenTheColorDialogOpens([](TBgColorForm* f) {
    f->btnBG->click();
    f->btnCLFG->click();
    f->cbBorder->click();
    f->btnOK->click();
  });
  m->BackgroundColor1->trigger();
  EXPECT_EQ(m->Color(), kCream);
  EXPECT_EQ(m->FontColor(), clWindowText);
  EXPECT_EQ(m->WindowTextColor(), kNavy);
  EXPECT_EQ(m->WindowBackgroundColor(), clWindow);
  EXPECT_FALSE(m->WindowBorder());
  EXPECT_EQ(m->ScrollBox()->palette().color(QPalette::Window), ColorToQColor(kCream));
  EXPECT_EQ(label->Panel()->palette().color(QPalette::Window), ColorToQColor(kCream));
  m->WriteSettings(3);
  auto section = m->DataFile()->GetApplicationSection();
  EXPECT_EQ(section->Values(QStringLiteral("BackgroundColor")), QStringLiteral("$00E0F0FF"));
  EXPECT_EQ(section->Values(QStringLiteral("WindowTextColor")), QStringLiteral("$00800000"));
  EXPECT_EQ(section->Values(QStringLiteral("WindowBorder")), QStringLiteral("False"));

  // The dialog opens on the current values; Default and OK restores the
  // defaults with the border on.
  WhenTheColorDialogOpens([](TBgColorForm* f) {
    EXPECT_TRUE(f->rbCustom->isChecked());
    EXPECT_FALSE(f->cbBorder->isChecked());
    f->rbDefault->click();
    f->btnOK->click();
  });
  m->BackgroundColor1->trigger();
  EXPECT_EQ(m->Color(), clBtnFace);
  EXPECT_EQ(m->WindowTextColor(), clWindowText);
  EXPECT_TRUE(m->WindowBorder());
  EXPECT_EQ(m->findChild<TBgColorForm*>(), nullptr);  // a new dialog each time, gone after
}
