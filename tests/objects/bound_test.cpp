#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>

#include "bound_keeper.h"
#include "custom_bound.h"
#include "errors.h"
#include "label_bound.h"
#include "prefence_edit.h"
#include "prompt_service.h"
#include "string_list_ex.h"
#include "temp_world.h"

namespace {

QMouseEvent Mouse(QEvent::Type type, QPoint local, QPoint global, Qt::MouseButtons buttons) {
  return QMouseEvent(type, QPointF(local), QPointF(global),
                     type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
}

// Drags the panel from a point in it by (dx, dy).
void Drag(TCustomBound& o, QPoint from, int dx, int dy) {
  const QPoint g(500, 500);
  auto down = Mouse(QEvent::MouseButtonPress, from, g, Qt::LeftButton);
  o.PanelMouseDown(o.Panel(), &down);
  auto move = Mouse(QEvent::MouseMove, from, g + QPoint(dx, dy), Qt::LeftButton);
  o.PanelMouseMove(o.Panel(), &move);
  auto up = Mouse(QEvent::MouseButtonRelease, from, g + QPoint(dx, dy), Qt::NoButton);
  o.PanelMouseUp(o.Panel(), &up);
}

}  // namespace

TEST(Bound, FreshRecordHasTenFields) {
  QWidget host;
  TCustomBound o(&host);
  o.SetParentControl(&host);
  TStringListEx f;
  f.SetCommaText(o.GetRecord());
  ASSERT_EQ(f.Count(), 10);
  EXPECT_EQ(f.Get(0), QStringLiteral("Custom"));
  EXPECT_EQ(f.Get(1), o.ID);
  EXPECT_TRUE(o.ID.startsWith(u'C'));
  EXPECT_EQ(o.ID.size(), 6);
  EXPECT_EQ(f.Get(4), QStringLiteral("200"));
  EXPECT_EQ(f.Get(6), QString());
  EXPECT_EQ(f.Get(7), QStringLiteral("1100"));
  EXPECT_EQ(f.Get(8), QStringLiteral("-"));
  EXPECT_EQ(f.Get(9), QStringLiteral("-"));
  EXPECT_EQ(o.Kind, QStringLiteral("Custom"));
  EXPECT_LT(o.Panel()->x(), 50);
}

TEST(Bound, RecordsRoundTripAndBadFieldsStopWhereTheyAre) {
  TScopedScriptedPrompts prompts;
  QWidget host;
  TLabelBound a(&host);
  a.SetParentControl(&host);
  a.Panel()->setGeometry(12, 34, 56, 78);
  a.AnchorRight = true;
  a.Panel()->SetCaption(QStringLiteral("two words, a \"quote\""));
  const QString record = a.GetRecord();
  TLabelBound b(&host);
  b.SetParentControl(&host);
  b.SetRecord(record);
  EXPECT_EQ(b.ID, a.ID);
  EXPECT_EQ(b.Panel()->geometry(), QRect(12, 34, 56, 78));
  EXPECT_EQ(b.Caption(), a.Caption());
  EXPECT_EQ(b.AnchorText(), QStringLiteral("1110"));
  EXPECT_EQ(b.GetRecord(), record);
  EXPECT_TRUE(b.ReferenceValid);
  EXPECT_EQ(b.ReferenceLeft, 12);

  struct Case {
    const char* record;
    QRect geometry;
    const char* anchors;
  } cases[] = {
      {"Label,C00001,5,6,x,9", QRect(5, 6, 200, 200), "1100"},
      {"Label,C00001,-40,-3,1,2,,-", QRect(0, 0, 20, 20), "1100"},
      {"Label,C00001,99999999,7,2147483647,30,C12345,0011,-,-,hi", QRect(32000, 7, 32000, 30), "0011"},
      {"Label,C00001", QRect(7, 7, 200, 200), "1100"},
  };
  for (const auto& c : cases) {
    TLabelBound o(&host);
    o.SetParentControl(&host);
    o.Panel()->setGeometry(7, 7, 200, 200);
    bool threw = false;
    try {
      o.SetRecord(QLatin1String(c.record));
    } catch (const EConvertError&) {
      threw = true;
    }
    EXPECT_EQ(o.ID, QStringLiteral("C00001")) << c.record;
    EXPECT_EQ(o.Panel()->geometry(), c.geometry) << c.record;
    EXPECT_EQ(o.AnchorText(), QLatin1String(c.anchors)) << c.record;
    EXPECT_EQ(threw, !QByteArray(c.record).endsWith("hi")) << c.record;
  }
}

TEST(Bound, SnapsToTheGrid) {
  QWidget host;
  TCustomBound o(&host);
  o.SetParentControl(&host);
  struct Case {
    QRect before;
    int lineWidth;
    QRect after;
  } cases[] = {
      {QRect(6, 7, 41, 42), 0, QRect(4, 8, 40, 40)},
      {QRect(5, 2, 43, 40), 0, QRect(4, 0, 44, 40)},
      {QRect(6, 7, 41, 42), 1, QRect(5, 9, 39, 39)},
  };
  for (const auto& c : cases) {
    o.GridLineWidth = c.lineWidth;
    o.Panel()->setGeometry(c.before);
    o.SnapToGrid();
    EXPECT_EQ(o.Panel()->geometry(), c.after);
  }
}

TEST(Bound, DraggingMovesAndResizesByZone) {
  QWidget host;
  host.resize(800, 800);
  TCustomBound o(&host);
  o.SetParentControl(&host);
  struct Case {
    QPoint at;
    int dx, dy;
    QRect after;
  } cases[] = {
      {{50, 50}, 10, 20, QRect(110, 120, 100, 80)},   // move
      {{10, 5}, 10, 20, QRect(110, 120, 100, 80)},    // x = 10 is outside the corner zone: move
      {{5, 5}, 10, 20, QRect(110, 120, 90, 60)},      // top-left
      {{5, 75}, 10, 20, QRect(110, 100, 90, 100)},    // bottom-left
      {{95, 5}, 10, 20, QRect(100, 120, 110, 60)},    // top-right
      {{95, 75}, 10, 20, QRect(100, 100, 110, 100)},  // bottom-right
      {{95, 75}, -83, -63, QRect(100, 100, 20, 20)},  // three beyond the minimum
      {{50, 50}, -150, -150, QRect(0, 0, 100, 80)},   // not past the top-left corner of the host
  };
  for (const auto& c : cases) {
    o.Panel()->setGeometry(100, 100, 100, 80);
    Drag(o, c.at, c.dx, c.dy);
    EXPECT_EQ(o.Panel()->geometry(), c.after) << c.at.x() << "," << c.at.y();
    EXPECT_EQ(o.DragMode, 0);
  }
  o.Locked = true;
  o.Panel()->setGeometry(100, 100, 100, 80);
  Drag(o, {50, 50}, 10, 10);
  EXPECT_EQ(o.Panel()->geometry(), QRect(100, 100, 100, 80));
}

TEST(Bound, SelectingAndTheTopAndBottomCommands) {
  QWidget host;
  TCustomBound o(&host);
  o.SetParentControl(&host);
  QStringList events;
  o.OnSelect = [&](TCustomBound*) { events << "select"; };
  o.OnTop = [&](TCustomBound*) { events << "top"; };
  o.OnBottom = [&](TCustomBound*) { events << "bottom"; };
  auto down = Mouse(QEvent::MouseButtonPress, {50, 50}, {50, 50}, Qt::LeftButton);
  o.PanelMouseDown(o.Panel(), &down);
  const QList<QAction*> items = o.PopupMenu()->actions();
  ASSERT_EQ(items.size(), 4);
  EXPECT_EQ(items[0]->text(), QStringLiteral("Top"));
  EXPECT_EQ(items[0]->data().toInt(), 100);
  EXPECT_TRUE(items[2]->isSeparator());
  EXPECT_EQ(items[3]->text(), QStringLiteral("Edit"));
  items[0]->trigger();
  items[1]->trigger();
  EXPECT_EQ(events, (QStringList{"select", "top", "bottom"}));
}

TEST(Bound, PathsContractToTheProgramFolder) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  QWidget host;
  TCustomBound o(&host);
  const QString file = w.ProgramFolder() + QStringLiteral("/memo/a.txt");
  EXPECT_EQ(o.ContractPath(file), QStringLiteral("::ZEL32/memo/a.txt"));
  EXPECT_EQ(o.ExpandPath(QStringLiteral("::ZEL32/memo/a.txt")), file);
  QString p = QStringLiteral("/plain");
  EXPECT_FALSE(o.ExpandPathInPlace(p));
  o.DynamicPath = true;
  prompts->InputAnswers = {QStringLiteral("::R:Personal/a.txt"), std::nullopt};
  EXPECT_EQ(o.ContractPath(file), QStringLiteral("::R:Personal/a.txt"));
  EXPECT_EQ(o.ContractPath(file), file);
  EXPECT_EQ(prompts->Calls[0].Text, QStringLiteral("DynamicPath|ID"));
}

TEST(Bound, NewIdentifiersAvoidUsedOnes) {
  // Fill the whole space but one identifier: it must be the one drawn.
  QStringList& used = UsedIDs();
  const QStringList saved = used;
  used.clear();
  for (int n = 0; n < 32767; ++n)
    if (n != 42) used.append(QStringLiteral("C%1").arg(n, 5, 10, QLatin1Char('0')));
  EXPECT_EQ(NewObjectID(), QStringLiteral("C00042"));
  used = saved;
}

TEST(Bound, EditOpensAndClosesTheCommonItems) {
  TScopedScriptedPrompts prompts;
  QWidget host;
  TCustomBound o(&host);
  o.SetParentControl(&host);
  o.Expert = true;
  o.PrefenceOpen(nullptr);
  ASSERT_TRUE(o.Prefence()->IsOpen());
  EXPECT_EQ(o.Prefence()->Items.Lines(),
            (QStringList{"Relation=", "AnchorLeft=True", "AnchorTop=True", "AnchorRight=False", "AnchorBottom=False"}));
  o.Prefence()->SetValue(QStringLiteral("AnchorRight"), QStringLiteral("TRUE"));
  o.Prefence()->SetValue(QStringLiteral("AnchorLeft"), QStringLiteral("no"));
  o.PrefenceChanged(nullptr);
  EXPECT_EQ(o.AnchorText(), QStringLiteral("0110"));
  // Edit again closes, once the current event is over.
  o.PrefenceOpen(nullptr);
  EXPECT_FALSE(o.Prefence()->IsOpen());
  EXPECT_TRUE(o.Prefence()->EditorPanel);
  QCoreApplication::sendPostedEvents(o.Panel());
  EXPECT_FALSE(o.Prefence()->EditorPanel);
}
