#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>

#include "bound_keeper.h"
#include "bound_relater.h"
#include "custom_bound.h"
#include "paint_box_ex.h"
#include "relation_drawing.h"

namespace {

const QColor kBlue(0, 0, 255), kYellow(255, 255, 0), kRed(255, 0, 0), kWhite(255, 255, 255);

// Masks of the kinds used here.
constexpr uint32_t kListMask = 0x41C00000, kImageRecv = 0x41400000, kTreeSend = 0x41800000;

void SendMouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

// A main window whose central widget is the project window the panels sit on.
struct TRelationManagerFixture : ::testing::Test {
  QMainWindow window;
  QWidget* client = new QWidget;
  QWidget* host = client;  // the panels' parent
  TBoundRelater objects;

  void SetUp() override {
    QPalette p = client->palette();
    p.setColor(QPalette::Window, QColor(200, 100, 40));
    client->setPalette(p);
    client->setAutoFillBackground(true);
    window.setCentralWidget(client);
    window.resize(640, 480);
    window.show();
  }

  TCustomBound* Add(const char* kind, uint32_t recv, uint32_t send, const QRect& bounds) {
    auto made = std::make_unique<TCustomBound>(&window);
    made->Kind = QLatin1String(kind);
    made->RecvMask = recv;
    made->SendMask = send;
    made->SetParentControl(host);
    made->Panel()->setGeometry(bounds);
    made->Panel()->show();
    TCustomBound* o = objects.Add(std::move(made));
    o->Keeper()->AttachObjectList(&objects);
    return o;
  }

  TPaintBoxEx* Surface() const { return objects.RelationSurface(); }

  void Drag(QPoint from, QPoint to) {
    SendMouse(Surface(), QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    SendMouse(Surface(), QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    SendMouse(Surface(), QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    SendMouse(Surface(), QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  }

  QColor PixelAt(QPoint p) {
    Surface()->Render(Surface()->rect());
    return Surface()->Bitmap().pixelColor(p);
  }
};

QStringList Targets(const TCustomBound* o) {
  QStringList ids;
  for (int i = 0; i < o->Keeper()->TargetCount(); ++i) ids << o->Keeper()->Target(i)->ID;
  return ids;
}

}  // namespace

TEST_F(TRelationManagerFixture, ObjectAtTakesOnlyPointsStrictlyInsideAndTheFirstInListOrder) {
  TCustomBound* a = Add("a", 0, 0, QRect(10, 20, 100, 50));
  TCustomBound* b = Add("b", 0, 0, QRect(60, 40, 100, 50));  // overlaps a
  const struct {
    QPoint p;
    TCustomBound* expected;
  } cases[] = {
      {{10, 30}, nullptr}, {{11, 30}, a},        {{50, 20}, nullptr}, {{50, 21}, a},  {{109, 30}, a},
      {{110, 30}, nullptr}, {{50, 69}, a},       {{50, 70}, nullptr}, {{80, 60}, a},  {{130, 60}, b},
      {{159, 89}, b},       {{160, 60}, nullptr}, {{130, 90}, nullptr}, {{0, 0}, nullptr},
  };
  for (const auto& c : cases)
    EXPECT_EQ(objects.ObjectAt(c.p.x(), c.p.y()), c.expected) << c.p.x() << "," << c.p.y();
  objects.MoveFirst(b);
  EXPECT_EQ(objects.ObjectAt(80, 60), b);
}

TEST_F(TRelationManagerFixture, ShowingTakesADarkenedPictureAndHidingFreesTheSurface) {
  Add("a", 0, 0, QRect(10, 10, 100, 80));
  EXPECT_FALSE(objects.RelationManagerShown());
  objects.ShowRelationManager(&window);
  ASSERT_TRUE(objects.RelationManagerShown());
  EXPECT_EQ(Surface()->geometry(), client->geometry());
  EXPECT_TRUE(Surface()->isVisible());
  EXPECT_EQ(Surface()->Background, &objects.RelationPicture());
  auto* image = window.findChild<QLabel*>(QStringLiteral("RelationImage"));
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->geometry(), client->geometry());

  const QImage& picture = objects.RelationPicture();
  EXPECT_EQ(picture.format(), QImage::Format_BGR888);
  EXPECT_EQ(picture.size(), client->size());
  // 200, 100, 40 darkened twice by 26/32.
  EXPECT_EQ(picture.pixelColor(400, 300), QColor(131, 65, 26));
  EXPECT_EQ(PixelAt(QPoint(400, 300)), QColor(131, 65, 26));

  objects.ShowRelationManager(&window);  // already shown: nothing new
  EXPECT_EQ(window.findChildren<TPaintBoxEx*>().size(), 1);

  objects.HideRelationManager();
  EXPECT_FALSE(objects.RelationManagerShown());
  EXPECT_EQ(window.findChild<TPaintBoxEx*>(), nullptr);
  EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("RelationImage")), nullptr);
  objects.HideRelationManager();  // twice is harmless
}

TEST_F(TRelationManagerFixture, ObjectsAreOutlinedWithDiagonalsAndRelationsDrawnAsArrows) {
  TCustomBound* list = Add("listview", kListMask, kListMask, QRect(20, 20, 100, 100));
  TCustomBound* image = Add("image", kImageRecv, 0, QRect(320, 20, 100, 100));
  list->Keeper()->AddRelation(image);
  objects.ShowRelationManager(&window);
  const QColor dark(131, 65, 26);
  // Outline on the edge pixels, diagonals through the corners.
  EXPECT_EQ(PixelAt(QPoint(20, 50)), kBlue);
  EXPECT_EQ(PixelAt(QPoint(119, 50)), kBlue);
  EXPECT_EQ(PixelAt(QPoint(50, 20)), kBlue);
  EXPECT_EQ(PixelAt(QPoint(50, 119)), kBlue);
  EXPECT_EQ(PixelAt(QPoint(40, 40)), kBlue);
  EXPECT_EQ(PixelAt(QPoint(99, 40)), kBlue);
  EXPECT_NE(PixelAt(QPoint(40, 50)), kBlue);
  // The arrow from centre (70,70) to centre (370,70): line, white square at
  // the source, white head hiding the line near the target.
  EXPECT_EQ(PixelAt(QPoint(200, 70)), kBlue);
  EXPECT_EQ(PixelAt(QPoint(200, 60)), dark);
  EXPECT_EQ(PixelAt(QPoint(70, 70)), kWhite);
  EXPECT_EQ(PixelAt(QPoint(345, 70)), kWhite);
  EXPECT_EQ(PixelAt(QPoint(345, 66)), kWhite);
  // The image has no targets: no head points back at the list.
  EXPECT_NE(PixelAt(QPoint(95, 66)), kWhite);
}

TEST_F(TRelationManagerFixture, DraggingHighlightsWhatTheSourceMayRelateTo) {
  TCustomBound* tree = Add("treeview", 0, kTreeSend, QRect(20, 20, 100, 100));
  Add("listview", kListMask, kListMask, QRect(220, 20, 100, 100));
  Add("image", kImageRecv, 0, QRect(420, 20, 100, 100));
  objects.ShowRelationManager(&window);
  ASSERT_EQ(objects.RelationObjectAt(QPoint(70, 70)), tree);

  // Onto the image, which a tree may not send to: a clear mark.
  SendMouse(Surface(), QEvent::MouseButtonPress, QPoint(70, 70), Qt::LeftButton, Qt::LeftButton);
  SendMouse(Surface(), QEvent::MouseMove, QPoint(470, 80), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(PixelAt(QPoint(20, 50)), kRed);      // the source
  EXPECT_EQ(PixelAt(QPoint(220, 50)), kYellow);  // a list may receive from it
  EXPECT_EQ(PixelAt(QPoint(420, 50)), kBlue);    // the image may not
  EXPECT_EQ(PixelAt(QPoint(50, 50)), kBlue);     // diagonals stay blue
  EXPECT_EQ(PixelAt(QPoint(470, 80)), kWhite);                   // the X's white core
  EXPECT_EQ(PixelAt(QPoint(470, 80) + QPoint(12, 4)), kRed);     // its red rim
  EXPECT_EQ(PixelAt(QPoint(470, 80) + QPoint(12, -4)), kRed);

  // Onto the list: an arrow, the target outlined yellow.
  SendMouse(Surface(), QEvent::MouseMove, QPoint(270, 80), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(PixelAt(QPoint(220, 50)), kYellow);
  EXPECT_EQ(PixelAt(QPoint(258, 80)), kWhite);                    // inside the head
  EXPECT_NE(PixelAt(QPoint(270, 80) + QPoint(12, 4)), kRed);      // no X
  EXPECT_NE(PixelAt(QPoint(270, 80) + QPoint(12, 4)), kWhite);

  SendMouse(Surface(), QEvent::MouseButtonRelease, QPoint(270, 80), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(PixelAt(QPoint(20, 50)), kBlue);  // the drag is over
  EXPECT_EQ(PixelAt(QPoint(220, 50)), kBlue);
}

TEST_F(TRelationManagerFixture, DragOutcomes) {
  TCustomBound* list1 = Add("listview", kListMask, kListMask, QRect(20, 20, 100, 100));
  TCustomBound* list2 = Add("listview", kListMask, kListMask, QRect(220, 20, 100, 100));
  TCustomBound* image = Add("image", kImageRecv, 0, QRect(420, 20, 100, 100));
  TCustomBound* tree = Add("treeview", 0, kTreeSend, QRect(20, 220, 100, 100));
  TCustomBound* thumb = Add("thumbnail", kListMask, 0x41400000, QRect(220, 220, 100, 100));
  const QPoint empty(500, 400);
  auto centre = [](TCustomBound* o) { return o->Panel()->geometry().center(); };
  objects.ShowRelationManager(&window);

  struct TCase {
    const char* what;
    TCustomBound* source;
    QList<TCustomBound*> before;  // the source's targets before the drag
    QPoint from, to;
    QList<TCustomBound*> after;
  } cases[] = {
      {"relate", list1, {}, centre(list1), centre(list2), {list2}},
      {"relate again adds nothing", list1, {list2}, centre(list1), centre(list2), {list2}},
      {"relate appends in order", list1, {list2}, centre(list1), centre(image), {list2, image}},
      {"onto itself clears", list1, {list2, image}, centre(list1), centre(list1) + QPoint(10, 5), {}},
      {"onto a forbidden target clears", tree, {list1, list2}, centre(tree), centre(image), {}},
      {"a tree may send to a list", tree, {}, centre(tree), centre(list2), {list2}},
      {"release over empty space changes nothing", list1, {list2}, centre(list1), empty, {list2}},
      {"a drag from empty space changes nothing", list2, {image}, empty, centre(list1), {image}},
      {"onto the edge of a target changes nothing", list1, {image}, centre(list1), QPoint(220, 60), {image}},
  };
  for (const TCase& c : cases) {
    for (TCustomBound* o : objects.Items()) o->Keeper()->ClearRelations();
    for (TCustomBound* t : c.before) c.source->Keeper()->AddRelation(t);
    Drag(c.from, c.to);
    QStringList expected;
    for (TCustomBound* t : c.after) expected << t->ID;
    EXPECT_EQ(Targets(c.source), expected) << c.what;
    for (TCustomBound* o : objects.Items()) {
      if (o == c.source) continue;
      EXPECT_EQ(Targets(o), QStringList()) << c.what << ": " << o->Kind.toStdString();
    }
  }

  // Clearing also takes the source out of its former targets' sources.
  list1->Keeper()->AddRelation(list2);
  Drag(centre(list1), centre(image) + QPoint(0, 200));  // empty space below the image
  EXPECT_EQ(list2->Keeper()->SourceCount(), 1);
  Drag(centre(list1), centre(list1));
  EXPECT_EQ(list2->Keeper()->SourceCount(), 0);

  // A press and release without moving is a drag onto the object itself; it
  // never reaches back to where the previous drag ended.
  thumb->Keeper()->AddRelation(image);
  Drag(centre(tree), centre(list2));
  SendMouse(Surface(), QEvent::MouseButtonPress, centre(thumb), Qt::LeftButton, Qt::LeftButton);
  SendMouse(Surface(), QEvent::MouseButtonRelease, centre(thumb), Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(Targets(thumb), QStringList());

  // Only the left button drags.
  SendMouse(Surface(), QEvent::MouseButtonPress, centre(list1), Qt::RightButton, Qt::RightButton);
  SendMouse(Surface(), QEvent::MouseMove, centre(list2), Qt::NoButton, Qt::RightButton);
  SendMouse(Surface(), QEvent::MouseButtonRelease, centre(list2), Qt::RightButton, Qt::NoButton);
  EXPECT_EQ(Targets(list1), QStringList());
}

TEST_F(TRelationManagerFixture, PointsFollowTheProjectWindowWhenItIsScrolled) {
  // The panels' parent scrolled by 40, 30 within the client area.
  host = new QWidget(client);
  host->setGeometry(-40, -30, 900, 700);
  host->show();
  TCustomBound* list1 = Add("listview", kListMask, kListMask, QRect(100, 100, 80, 60));
  TCustomBound* list2 = Add("listview", kListMask, kListMask, QRect(300, 100, 80, 60));
  objects.ShowRelationManager(&window);
  EXPECT_EQ(objects.RelationBounds(list1), QRect(60, 70, 80, 60));
  EXPECT_EQ(objects.RelationObjectAt(QPoint(61, 71)), list1);
  EXPECT_EQ(objects.RelationObjectAt(QPoint(60, 71)), nullptr);
  EXPECT_EQ(objects.RelationObjectAt(QPoint(141, 131)), nullptr);
  EXPECT_EQ(PixelAt(QPoint(60, 100)), kBlue);
  Drag(QPoint(100, 100), QPoint(300, 100));
  EXPECT_EQ(Targets(list1), QStringList{list2->ID});
}

TEST(RelationDrawing, DirectionIsMeasuredWithYPointingDown) {
  const struct {
    QPoint q;
    double degrees;
  } cases[] = {{{10, 0}, 360}, {{0, 10}, 90}, {{-10, 0}, 180}, {{0, -10}, 270}, {{3, 4}, 53.130102},
               {{3, -4}, 306.869898}, {{-3, 4}, 126.869898}};
  for (const auto& c : cases) EXPECT_NEAR(RelationDirection(QPoint(5, 5), QPoint(5, 5) + c.q), c.degrees, 1e-5);
}

TEST(RelationDrawing, ArrowAndClearMarkGeometry) {
  EXPECT_FALSE(RelationArrowShape(QPoint(7, 7), QPoint(7, 7)).has_value());

  const struct {
    QPoint p, q;
    QPoint head1, head2;                  // at a + 200 and a + 160 degrees, from q
    std::array<QPoint, 4> strokes;        // at a + 45, a - 45, a + 225, a + 135, from q
  } cases[] = {
      {{20, 50}, {120, 50}, {-47, -17}, {-47, 17}, {{{18, 18}, {18, -18}, {-18, -18}, {-18, 18}}}},
      {{50, 10}, {50, 110}, {17, -47}, {-17, -47}, {{{-18, 18}, {18, 18}, {18, -18}, {-18, -18}}}},
      {{120, 50}, {20, 50}, {47, 17}, {47, -17}, {{{-18, -18}, {-18, 18}, {18, 18}, {18, -18}}}},
      {{0, 0}, {30, 40}, {-15, -48}, {-42, -27}, {{{-4, 25}, {25, 4}, {4, -25}, {-25, -4}}}},
  };
  for (const auto& c : cases) {
    const auto arrow = RelationArrowShape(c.p, c.q);
    ASSERT_TRUE(arrow.has_value());
    EXPECT_EQ(arrow->Line, QLine(c.p, c.q));
    EXPECT_EQ(arrow->Square, QRect(c.p - QPoint(5, 5), QSize(10, 10)));
    EXPECT_EQ(arrow->Head[0], c.q);
    EXPECT_EQ(arrow->Head[1], c.q + c.head1) << c.q.x() << "," << c.q.y();
    EXPECT_EQ(arrow->Head[2], c.q + c.head2) << c.q.x() << "," << c.q.y();

    const TClearMark mark = ClearMarkShape(c.p, c.q);
    EXPECT_EQ(mark.Line, QLine(c.p, c.q));
    EXPECT_EQ(mark.Square, arrow->Square);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(mark.Strokes[i], QLine(c.q, c.q + c.strokes[i])) << i;
  }
  // Without a direction the X stands as for a drag to the right.
  const TClearMark still = ClearMarkShape(QPoint(9, 9), QPoint(9, 9));
  EXPECT_EQ(still.Strokes[0], QLine(9, 9, 27, 27));
  EXPECT_EQ(still.Strokes[3], QLine(9, 9, -9, 27));
}

TEST(RelationDrawing, ArrowAndClearMarkPixels) {
  QImage img(240, 140, QImage::Format_RGB32);
  img.fill(Qt::black);
  {
    QPainter canvas(&img);
    canvas.setPen(RelationPen(kRed, 5));
    canvas.setBrush(kWhite);
    DrawRelationArrow(canvas, QPoint(20, 50), QPoint(120, 50));
    DrawClearMark(canvas, QPoint(140, 110), QPoint(200, 110));
    // The pen comes back as it was.
    EXPECT_EQ(canvas.pen().width(), 5);
    EXPECT_EQ(canvas.pen().color(), kRed);
  }
  const struct {
    QPoint p;
    QColor c;
    const char* what;
  } cases[] = {
      {{60, 50}, kRed, "line"},
      {{60, 44}, Qt::black, "beside the line"},
      {{20, 45}, kRed, "square edge"},
      {{20, 50}, kWhite, "square inside, over the line"},
      {{95, 50}, kWhite, "head inside, over the line"},
      {{95, 45}, kWhite, "head inside"},
      {{120, 50}, kRed, "tip"},
      {{73, 33}, kRed, "head corner"},
      {{100, 30}, Qt::black, "outside the head"},
      {{200, 110}, kWhite, "X centre"},
      {{208, 118}, kWhite, "X stroke core"},
      {{212, 114}, kRed, "X stroke rim"},
      {{192, 102}, kWhite, "X stroke core backwards"},
      {{200, 94}, Qt::black, "between the strokes"},
      {{170, 110}, kRed, "clear mark line"},
  };
  for (const auto& c : cases) EXPECT_EQ(img.pixelColor(c.p), c.c) << c.what;
}

TEST(RelationDrawing, DarkeningTruncatesTwice) {
  // byte -> byte * 26 div 32, twice: 2 gives 0, not the 1 of a single 676/1024.
  const int in[] = {0, 2, 31, 32, 100, 255}, out[] = {0, 0, 20, 21, 65, 168};
  QImage picture(6, 1, QImage::Format_RGB32);
  for (int i = 0; i < 6; ++i) picture.setPixelColor(i, 0, QColor(in[i], in[5 - i], in[i]));
  DarkenBitmap(picture);
  ASSERT_EQ(picture.format(), QImage::Format_BGR888);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(picture.pixelColor(i, 0), QColor(out[i], out[5 - i], out[i])) << in[i];
}

TEST(PaintBoxEx, PaintsTheBackgroundThenTheHandlerThroughItsBitmap) {
  QImage background(50, 40, QImage::Format_BGR888);
  background.fill(QColor(10, 20, 30));
  TPaintBoxEx box;
  box.resize(80, 60);
  int calls = 0;
  box.Background = &background;
  box.OnPaint = [&](TPaintBoxEx* sender, QPainter& canvas) {
    EXPECT_EQ(sender, &box);
    ++calls;
    canvas.fillRect(QRect(0, 0, 5, 5), Qt::green);
  };
  box.Render(box.rect());
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(box.Bitmap().size(), QSize(80, 60));
  EXPECT_EQ(box.Bitmap().pixelColor(2, 2), QColor(Qt::green));
  EXPECT_EQ(box.Bitmap().pixelColor(30, 30), QColor(10, 20, 30));
  EXPECT_EQ(box.Bitmap().pixelColor(70, 50), box.palette().color(QPalette::Window));

  // Only the clipped part is brought up to date.
  background.fill(QColor(200, 0, 0));
  box.Render(QRect(20, 20, 10, 10));
  EXPECT_EQ(box.Bitmap().pixelColor(25, 25), QColor(200, 0, 0));
  EXPECT_EQ(box.Bitmap().pixelColor(10, 10), QColor(10, 20, 30));
  EXPECT_EQ(box.Bitmap().pixelColor(2, 2), QColor(Qt::green));

  // What reaches the screen is the bitmap.
  const QImage shown = box.grab().toImage();
  EXPECT_EQ(shown.pixelColor(2, 2), QColor(Qt::green));
  EXPECT_EQ(shown.pixelColor(10, 10), QColor(200, 0, 0));
}
