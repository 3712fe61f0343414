#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include <QElapsedTimer>
#include <QImage>
#include <QThread>

#include "harness.h"

namespace {

int Darken(int byte) { return (((byte * 26) >> 5) * 26) >> 5; }

}  // namespace

TEST(RelationManager, DrawnOverTheDarkenedWindowAndDraggingClearsAForbiddenRelation) {
  TE2eWorld w;
  ASSERT_TRUE(w.X().Ok());
  QProcess* zel = nullptr;
  const QString window = w.StartPlaced(900, 700, {}, &zel);
  ASSERT_FALSE(window.isEmpty());

  // A label and a memo pad from the Objects menu, moved apart.
  w.ChooseMenu(QStringLiteral("Objects1"), QStringLiteral("mnuAddLabel1"));
  w.ChooseMenu(QStringLiteral("Objects1"), QStringLiteral("MemoPad1"));
  QList<TE2eObject> objects = w.Objects();
  ASSERT_EQ(objects.size(), 2);
  const QRect memoStart = objects[1].Rect;
  w.DragMouse(QPoint(memoStart.x() + 2, memoStart.center().y()),
              QPoint(memoStart.x() + 402, memoStart.center().y() + 150));
  objects = w.Objects();
  const TE2eObject label = objects[0], memo = objects[1];
  ASSERT_EQ(memo.Rect.topLeft() - memoStart.topLeft(), QPoint(400, 150));

  // The label sends to the memo pad through its "Relation" preference.
  w.ClickAt(label.Rect.center(), 2);
  ASSERT_TRUE(WaitFor([&] { return w.Geometry(QStringLiteral("Relation")).isValid(); }));
  w.Click(QStringLiteral("Relation"));
  w.TypeText(memo.ID);
  w.Click(QStringLiteral("Caption"));
  w.Keys(window, {QStringLiteral("Return")});
  ASSERT_TRUE(WaitFor([&] { return w.RecordField(label.ID, 6) == memo.ID; })) << w.RecordField(label.ID, 6).toStdString();
  ASSERT_TRUE(WaitFor([&] { return !w.Geometry(QStringLiteral("Relation")).isValid(); }));

  // The project window as it is, for comparing with the darkened picture.
  const QRect client = w.Geometry(QStringLiteral("GridScrollBox"));
  ASSERT_TRUE(client.isValid());
  const QPoint origin = w.Geometry(QStringLiteral("ProjectManager")).topLeft();
  const QPoint empty = client.bottomRight() - QPoint(30, 30);
  const QColor before = QImage(w.Screenshot(QStringLiteral("relation-manager-before"), window)).pixelColor(empty - origin);

  // Open it by menu: the project window is replaced by the drawing surface.
  w.ChooseMenu(QStringLiteral("Objects1"), QStringLiteral("Relation1"));
  ASSERT_TRUE(WaitFor([&] { return w.Geometry(QStringLiteral("RelationManager")) == client; }));
  EXPECT_FALSE(w.Geometry(QStringLiteral("GridScrollBox")).isValid());

  // The arrow from the label's centre to the memo pad's, in blue, over the
  // darkened picture.
  const QPoint from = label.Rect.center(), to = memo.Rect.center();
  const QPoint onArrow = (from + to) / 2;
  QImage shot;
  ASSERT_TRUE(WaitFor([&] {
    shot = QImage(w.Screenshot(QStringLiteral("relation-manager"), window));
    return !shot.isNull() && shot.pixelColor(onArrow - origin) == QColor(0, 0, 255);
  }));
  EXPECT_EQ(shot.pixelColor(empty - origin),
            QColor(Darken(before.red()), Darken(before.green()), Darken(before.blue())));
  EXPECT_EQ(shot.pixelColor(QPoint(label.Rect.left(), label.Rect.center().y() + 20) - origin), QColor(0, 0, 255));

  // Released over empty space: nothing changes.
  w.DragMouse(from, empty);
  EXPECT_EQ(w.RecordField(label.ID, 6), memo.ID);

  // While dragging onto the memo pad, which a label may not send to, the
  // source is outlined red and the end carries the clear mark: a white X
  // with a red rim.
  const double a = std::atan2(double(to.y() - from.y()), double(to.x() - from.x()));
  const double along = a + std::numbers::pi / 4, across = a + 3 * std::numbers::pi / 4;
  const QPoint rim = to + QPoint(int(std::lround(12 * std::cos(along) + 6 * std::cos(across))),
                                 int(std::lround(12 * std::sin(along) + 6 * std::sin(across))));
  w.Xdotool({QStringLiteral("mousemove"), QString::number(from.x()), QString::number(from.y())});
  w.Xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
  for (int i = 1; i <= 5; ++i) {
    const QPoint p = from + (to - from) * i / 5;
    w.Xdotool({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
  }
  EXPECT_TRUE(WaitFor([&] {
    shot = QImage(w.Screenshot(QStringLiteral("relation-manager-clearing"), window));
    return !shot.isNull() && shot.pixelColor(to - origin) == QColor(255, 255, 255) &&
           shot.pixelColor(rim - origin) == QColor(255, 0, 0) &&
           shot.pixelColor(QPoint(label.Rect.left(), label.Rect.center().y() + 20) - origin) == QColor(255, 0, 0);
  }));
  w.Xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
  EXPECT_TRUE(WaitFor([&] { return w.RecordField(label.ID, 6).isEmpty(); })) << w.RecordField(label.ID, 6).toStdString();
  // And the arrow is gone.
  EXPECT_TRUE(WaitFor([&] {
    shot = QImage(w.Screenshot(QStringLiteral("relation-manager-after"), window));
    return !shot.isNull() && shot.pixelColor(onArrow - origin) != QColor(0, 0, 255) &&
           shot.pixelColor(to - origin) != QColor(255, 255, 255);
  }));

  // Closing it brings the project window back.
  w.ChooseMenu(QStringLiteral("Objects1"), QStringLiteral("Relation1"));
  EXPECT_TRUE(WaitFor([&] { return w.Geometry(QStringLiteral("GridScrollBox")) == client; }));
  EXPECT_FALSE(w.Geometry(QStringLiteral("RelationManager")).isValid());

  w.Keys(window, {QStringLiteral("alt+f"), QStringLiteral("e")});
  ASSERT_TRUE(TE2eWorld::WaitExit(zel));
  const QString ini = QString::fromUtf8(w.ReadFile(QStringLiteral("program/zel32.ini")));
  EXPECT_TRUE(ini.contains(QStringLiteral("\r\nDEFAULT=\"Label,") + label.ID)) << ini.toStdString();
}
