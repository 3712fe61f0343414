#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>
#include <QThread>

#include "harness.h"

TEST(Objects, PlaceRelateAndTraceByMouseAndKeyboard) {
  TE2eWorld w;
  ASSERT_TRUE(w.X().Ok());
  QProcess* zel = nullptr;
  const QString window = w.StartPlaced(1000, 760, "DEBUG=Yes\r\n", &zel);
  ASSERT_FALSE(window.isEmpty());
  const QStringList windows{window};

  // Three objects from the Objects menu, with the mouse.
  w.ChooseMenu(QStringLiteral("Objects1"), QStringLiteral("mnuAddLabel1"));
  w.ChooseMenu(QStringLiteral("Objects1"), QStringLiteral("MemoPad1"));
  w.ChooseMenu(QStringLiteral("Objects1"), QStringLiteral("DEBUG1"));
  QList<TE2eObject> objects = w.Objects();
  ASSERT_EQ(objects.size(), 3);
  const TE2eObject label = objects[0], memo = objects[1], debug = objects[2];
  EXPECT_EQ(label.Kind, QStringLiteral("Label"));
  EXPECT_EQ(memo.Kind, QStringLiteral("MemoPad"));
  EXPECT_EQ(debug.Kind, QStringLiteral("Debug"));

  // Move them apart by dragging their frames (the top one first, since they
  // start on top of each other); the debug pane also grows from its corner.
  const auto leftEdge = [](const QRect& r) { return QPoint(r.x() + 2, r.center().y()); };
  w.DragMouse(leftEdge(debug.Rect), leftEdge(debug.Rect) + QPoint(460, 0));
  w.DragMouse(leftEdge(memo.Rect), leftEdge(memo.Rect) + QPoint(230, 0));
  objects = w.Objects();
  EXPECT_EQ(objects[1].Rect.x() - memo.Rect.x(), 230);
  EXPECT_EQ(objects[2].Rect.topLeft() - debug.Rect.topLeft(), QPoint(460, 0));
  const QRect d = objects[2].Rect;
  w.DragMouse(d.bottomRight() - QPoint(4, 4), d.bottomRight() + QPoint(300, 400));
  objects = w.Objects();
  EXPECT_EQ(objects[2].Rect.width(), d.width() + 304);
  EXPECT_EQ(objects[2].Rect.height(), d.height() + 404);

  // Relate the label to the memo pad through its preferences: double click,
  // type the identifier into "Relation", then Enter in the caption field.
  w.ClickAt(w.Objects()[0].Rect.center(), 2);
  EXPECT_TRUE(w.Geometry(QStringLiteral("Relation")).isValid());
  w.Click(QStringLiteral("Relation"));
  w.TypeText(QStringLiteral("MemoPad:") + memo.ID);
  w.Click(QStringLiteral("Caption"));
  w.Keys(windows.first(), {QStringLiteral("Return")});
  QThread::msleep(300);
  EXPECT_FALSE(w.Geometry(QStringLiteral("Relation")).isValid());
  EXPECT_EQ(w.RecordField(label.ID, 6), memo.ID);

  // The label sends a text word; the memo pad appends it; the trace shows it.
  EXPECT_EQ(w.Ask(QStringLiteral("send ") + label.ID + QStringLiteral(" 4040800A hello from the label")),
            QStringLiteral("true"));
  QThread::msleep(300);
  EXPECT_EQ(w.Ask(QStringLiteral("text ") + memo.ID), QStringLiteral("hello from the label"));
  const QString trace = w.Ask(QStringLiteral("text ") + debug.ID);
  const QRegularExpression send(QStringLiteral("^\\d{8} Label  \\( ") + label.ID + QStringLiteral(" \\) SEND\\s*$"),
                                QRegularExpression::MultilineOption);
  EXPECT_TRUE(send.match(trace).hasMatch()) << trace.toStdString();
  EXPECT_TRUE(trace.contains(QStringLiteral("MemoPad  ( ") + memo.ID + QStringLiteral(" ) RECEIVE")));
  EXPECT_TRUE(trace.contains(QStringLiteral("MBTAR_FILE [10]")));
  EXPECT_TRUE(trace.contains(QStringLiteral(") RET SUCCESS of")));
  QThread::msleep(1200);  // the debug pane's first refresh
  const QString shot = w.Screenshot(QStringLiteral("objects-trace"), windows.first());
  const QImage picture(shot);
  ASSERT_FALSE(picture.isNull());
  // The trace view's navy background and its coloured bands are on screen.
  const QRect traceArea = w.Geometry(QStringLiteral("TraceView"));
  ASSERT_TRUE(traceArea.isValid());
  const QPoint origin = w.Geometry(windows.first().isEmpty() ? QString() : QStringLiteral("ProjectManager")).topLeft();
  int navy = 0, green = 0;
  for (int y = traceArea.top(); y < traceArea.bottom(); y += 2)
    for (int x = traceArea.left(); x < traceArea.right(); x += 2) {
      const QColor c = picture.pixelColor(QPoint(x, y) - origin);
      if (c == QColor(0, 0, 0x80)) ++navy;
      if (c == QColor(0, 0x70, 0)) ++green;
    }
  EXPECT_GT(navy, 100);
  EXPECT_GT(green, 100);

  w.Keys(windows.first(), {QStringLiteral("alt+f"), QStringLiteral("e")});
  ASSERT_TRUE(TE2eWorld::WaitExit(zel));
  const QString ini = QString::fromUtf8(w.ReadFile(QStringLiteral("program/zel32.ini")));
  EXPECT_TRUE(ini.contains(QStringLiteral("\r\nDEFAULT=\"Label,") + label.ID)) << ini.toStdString();
}
