#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMenuBar>
#include <QScrollBar>
#include <QTimer>

#include "bound_relater.h"
#include "custom_bound.h"
#include "grid_scroll_box.h"
#include "project_manager.h"
#include "prompt_service.h"
#include "temp_world.h"

namespace {

struct TLayoutFixture : ::testing::Test {
  TTempWorld world;
  TScopedScriptedPrompts prompts;
  TProjectManager m{world.ProgramFolder()};

  // Sizes the window so that the fit's target is W x H.
  void Target(int W, int H) {
    m.ScrollBox()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m.ScrollBox()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m.show();
    const QSize chrome = m.size() - m.ScrollBox()->viewport()->size();
    m.resize(QSize(W + 2, H + 2) + chrome);
    QCoreApplication::processEvents();
    ASSERT_EQ(m.ScrollBox()->viewport()->size(), QSize(W + 2, H + 2));
  }
  TCustomBound* Add(QRect r) {
    TCustomBound* o = m.CreateObject(QStringLiteral("label"), true);
    o->Panel()->setGeometry(r);
    o->StoreReferenceBounds(true);
    return o;
  }
};

}  // namespace

TEST_F(TLayoutFixture, FittingScalesFromTheReferenceBoundsWithoutDrift) {
  Target(400, 300);
  // The references span 0..200 by 0..100; the target is 400 by 300.
  TCustomBound* a = Add(QRect(0, 0, 100, 50));
  TCustomBound* b = Add(QRect(100, 50, 100, 50));
  TCustomBound* c = Add(QRect(10, 10, 3, 3));    // too small: 10 from the fit, then 20 from Arrange
  TCustomBound* d = Add(QRect(0, 60, 199, 10));  // ends 2 short of W after scaling: closes up
  m.FitObjectsToWindow(false);
  EXPECT_EQ(a->Panel()->geometry(), QRect(0, 0, 200, 150));
  EXPECT_EQ(b->Panel()->geometry(), QRect(200, 150, 200, 150));
  EXPECT_EQ(c->Panel()->geometry(), QRect(20, 30, 20, 20));
  EXPECT_EQ(d->Panel()->geometry(), QRect(0, 180, 400, 30));
  m.FitObjectsToWindow(false);
  EXPECT_EQ(a->Panel()->geometry(), QRect(0, 0, 200, 150));
  EXPECT_EQ(d->Panel()->geometry(), QRect(0, 180, 400, 30));
  // Rounding goes to the even neighbour: 0.5 * 5 = 2.5 -> 2, 1.5 * 5 -> 8.
  Target(200, 100);
  a->Panel()->setGeometry(5, 5, 100, 50);
  a->StoreReferenceBounds(true);
  b->Panel()->setGeometry(15, 15, 300, 150);
  b->StoreReferenceBounds(true);
  c->Panel()->setGeometry(0, 0, 400, 200);
  c->StoreReferenceBounds(true);
  m.FitObjectsToWindow(false);
  EXPECT_EQ(a->Panel()->geometry().topLeft(), QPoint(2, 2));
  EXPECT_EQ(b->Panel()->geometry().topLeft(), QPoint(8, 8));
}

TEST_F(TLayoutFixture, TheMenuSwitchAsksAboutNewObjectsAndRestoreComesBack) {
  Target(400, 300);
  TCustomBound* a = Add(QRect(0, 0, 100, 50));
  m.CreateObject(QStringLiteral("label"), false)->Panel()->setGeometry(100, 50, 100, 50);  // design changed
  prompts->MessageAnswers = {TMsgResult::Cancel};
  m.FitToWindow1->trigger();
  EXPECT_FALSE(m.FitToWindow1->isChecked());
  EXPECT_TRUE(m.Restore1->isEnabled());
  EXPECT_EQ(a->Panel()->geometry(), QRect(0, 0, 100, 50));
  prompts->MessageAnswers = {TMsgResult::Ok};
  m.FitToWindow1->trigger();
  EXPECT_TRUE(m.FitToWindow1->isChecked());
  EXPECT_FALSE(m.Restore1->isEnabled());
  EXPECT_FALSE(m.DesignChanged());
  EXPECT_EQ(a->Panel()->geometry(), QRect(0, 0, 200, 150));
  m.FitToWindow1->trigger();
  m.Restore1->trigger();
  EXPECT_EQ(a->Panel()->geometry(), QRect(0, 0, 100, 50));
  // Expert mode leaves placement to the objects' anchors.
  m.Expert1->trigger();
  a->Panel()->setGeometry(1, 1, 5, 5);
  m.FitObjectsToWindow(false);
  EXPECT_EQ(a->Panel()->geometry(), QRect(1, 1, 20, 20));
}

TEST_F(TLayoutFixture, FullScreenComesBackToTheSameBoundsAndRefits) {
  m.show();
  m.setGeometry(30, 40, 500, 400);
  QCoreApplication::processEvents();
  const QRect before = m.geometry();
  TCustomBound* a = Add(QRect(0, 0, 100, 50));
  a->Panel()->setGeometry(3, 3, 30, 30);  // a fit puts it back where its reference says
  m.FullScreen1->trigger();
  EXPECT_TRUE(m.FullScreen1->isChecked());
  EXPECT_TRUE(m.isFullScreen());
  EXPECT_NE(a->Panel()->geometry(), QRect(3, 3, 30, 30));
  m.FullScreen1->trigger();
  QCoreApplication::processEvents();
  EXPECT_FALSE(m.isFullScreen());
  EXPECT_EQ(m.geometry(), before);
}

TEST_F(TLayoutFixture, TheHiddenMenuComesBackNearTheTop) {
  m.show();
  m.HideMenu1->trigger();
  EXPECT_TRUE(m.HideMenu1->isChecked());
  EXPECT_TRUE(m.menuBar()->isHidden());
  EXPECT_TRUE(m.Timer1->isActive());
  EXPECT_EQ(m.Timer1->interval(), 1000);
  QCursor::setPos(m.centralWidget()->mapToGlobal(QPoint(50, 200)));
  m.MenuRecallTick();
  EXPECT_TRUE(m.menuBar()->isHidden());
  QCursor::setPos(m.centralWidget()->mapToGlobal(QPoint(50, 10)));
  m.MenuRecallTick();
  EXPECT_FALSE(m.menuBar()->isHidden());
  EXPECT_FALSE(m.HideMenu1->isChecked());
  EXPECT_FALSE(m.Timer1->isActive());
}

TEST_F(TLayoutFixture, SwitchesReachEveryObject) {
  TCustomBound* a = Add(QRect(6, 7, 41, 42));
  m.FitToGrid1->trigger();
  EXPECT_TRUE(m.ScrollBox()->ShowGrid());
  EXPECT_EQ(a->Panel()->geometry(), QRect(4, 8, 40, 40));
  m.Bevels1->trigger();
  EXPECT_EQ(a->Panel()->BevelOuter(), TOverallPanel::TBevel::None);
  m.Dynamic1->trigger();
  EXPECT_TRUE(a->Dynamic);
  m.Static1->trigger();
  EXPECT_FALSE(a->Dynamic);
  a->Panel()->setGeometry(10, 10, 50, 50);
  m.InitReferencePoint1->trigger();
  EXPECT_EQ(a->ReferenceLeft, 10);
}

TEST_F(TLayoutFixture, TheFitAlonePlacesObjectsOutOfExpertMode) {
  Target(400, 300);
  TCustomBound* a = Add(QRect(0, 0, 100, 50));
  TCustomBound* b = Add(QRect(100, 50, 100, 50));
  b->AnchorRight = true;  // left and right: its width follows the window
  m.FitToWindow1->trigger();
  const QRect fitted = b->Panel()->geometry();
  EXPECT_EQ(fitted, QRect(200, 150, 200, 150));
  Target(300, 300);
  QCoreApplication::processEvents();
  m.FitObjectsToWindow(false);
  EXPECT_EQ(b->Panel()->geometry(), QRect(150, 150, 150, 150));  // the fit's, not the fit's minus the anchor
  EXPECT_EQ(a->Panel()->geometry(), QRect(0, 0, 150, 150));
  EXPECT_FALSE(b->FollowAnchors);
  m.Expert1->trigger();
  EXPECT_TRUE(b->FollowAnchors);
}
