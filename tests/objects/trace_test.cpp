#include <gtest/gtest.h>

#include <QTextBlock>
#include <QWidget>

#include "bound_keeper.h"
#include "command_trace.h"
#include "command_words.h"
#include "custom_bound.h"
#include "label_bound.h"

namespace {

// A label that hands every word it receives on to its own relations.
class TForwardingLabel : public TLabelBound {
public:
  using TLabelBound::TLabelBound;
  bool RecvCommand(TCustomBound* sender, uint32_t& word, const char* data, int size) override {
    TLabelBound::RecvCommand(sender, word, data, size);
    return SendCommand(word, data, size);
  }
};

class TThrowing : public TCustomBound {
public:
  using TCustomBound::TCustomBound;
  bool RecvCommand(TCustomBound*, uint32_t&, const char*, int) override { throw std::runtime_error("boom"); }
};

struct TTraceFixture : ::testing::Test {
  QWidget host;
  TTraceView view;
  void SetUp() override {
    view.Tag = 255;
    AddTraceView(&view);
    SetTraceClock([] { return QDateTime(QDate(2026, 12, 9), QTime(8, 5, 3)); });
  }
  void TearDown() override {
    RemoveTraceView(&view);
    SetTraceClock(nullptr);
  }
  QStringList Lines() const {
    QStringList out;
    for (QTextBlock b = view.document()->begin(); b.isValid(); b = b.next()) out << b.text().trimmed();
    return out;
  }
  QTextCharFormat Format(int block) const {
    return view.document()->findBlockByNumber(block).begin().fragment().charFormat();
  }
};

}  // namespace

TEST_F(TTraceFixture, NestedSendIsIndentedAndColouredByDepth) {
  TCustomBound sender(&host);
  sender.SendMask = 0x41800000;
  TForwardingLabel middle(&host);
  TLabelBound last(&host);
  sender.Keeper()->AddRelation(&middle);
  middle.Keeper()->AddRelation(&last);

  TScopedPayload text(QStringLiteral("/home/u"));
  EXPECT_TRUE(sender.SendCommand(0x4080806E, text.Data(), text.Size()));
  EXPECT_EQ(last.Caption(), QStringLiteral("/home/u"));
  const QString s = QStringLiteral("09080503 ");
  const QStringList expected{
      s + "Custom  ( " + sender.ID + " ) SEND", "MBSYS_COMMON", "MBTAR_DIRECTORY [MBCMD_READ ]", "MBDAT_TEXT",
      s + "Label  ( " + middle.ID + " ) RECEIVE", "MBSYS_COMMON", "MBTAR_DIRECTORY [MBCMD_READ ]",
      "MBDAT_TEXT",
      // The label forwards: one level deeper, indented by four blanks.
      s + "Label  ( " + middle.ID + " ) SEND", "MBSYS_COMMON", "MBTAR_DIRECTORY [MBCMD_READ ]", "MBDAT_TEXT",
      s + "Label  ( " + last.ID + " ) RECEIVE", "MBSYS_COMMON", "MBTAR_DIRECTORY [MBCMD_READ ]", "MBDAT_TEXT",
      s + "Label  ( " + middle.ID + " ) RET SUCCESS of", "MBSYS_COMMON",
      "MBTAR_DIRECTORY [MBCMD_READ ]", "MBDAT_TEXT",
      s + "Custom  ( " + sender.ID + " ) RET SUCCESS of", "MBSYS_COMMON", "MBTAR_DIRECTORY [MBCMD_READ ]",
      "MBDAT_TEXT"};
  EXPECT_EQ(Lines(), expected);
  // Depth 2 lines start with four blanks; every line is a band of 80.
  const QTextBlock deep = view.document()->findBlockByNumber(8);
  EXPECT_TRUE(deep.text().startsWith(QStringLiteral("    09080503")));
  EXPECT_TRUE(view.document()->findBlockByNumber(9).text().startsWith(QStringLiteral("    MBSYS_COMMON")));
  EXPECT_EQ(view.document()->findBlockByNumber(1).text().size(), 80);
  // Colour sets follow the depth: SEND at depth 1 uses set 1, at depth 2 set 2.
  EXPECT_EQ(Format(0).foreground().color(), QColor(0x00, 0xFF, 0x00));
  EXPECT_EQ(Format(0).background().color(), QColor(0x00, 0x70, 0x00));
  EXPECT_EQ(Format(4).foreground().color(), QColor(0x00, 0xE8, 0x00));  // RECEIVE, set 1
  EXPECT_EQ(Format(8).background().color(), QColor(0x70, 0x70, 0x00));  // SEND, set 2
  EXPECT_EQ(Format(16).background().color(), QColor(0x50, 0x50, 0x00));  // RET at depth 2
  EXPECT_EQ(Format(20).background().color(), QColor(0x00, 0x50, 0x00));  // RET at depth 1
  EXPECT_TRUE(Format(3).fontUnderline());
  EXPECT_FALSE(Format(2).fontUnderline());
  EXPECT_EQ(view.Tag, 255);
}

TEST_F(TTraceFixture, FirstAcceptorEndsDeliveryAndMasksRevise) {
  TCustomBound sender(&host);
  TLabelBound first(&host), second(&host);
  TCustomBound blind(&host);  // RecvMask 0 clears the upper half
  sender.Keeper()->AddRelation(&blind);
  sender.Keeper()->AddRelation(&first);
  sender.Keeper()->AddRelation(&second);
  EXPECT_TRUE(sender.SendCommand(0x40C00068, nullptr, 0));
  QStringList events;
  for (const QString& l : Lines())
    if (l.startsWith(QStringLiteral("09080503"))) events << l.section(QStringLiteral(" ) "), 1);
  // The blind receiver accepts (the base accepts every word) after revising it.
  EXPECT_EQ(events, (QStringList{"SEND", "RECEIVE", "REVISED", "RET SUCCESS of", "SEND", "RET SUCCESS of", "SEND",
                                 "RET SUCCESS of"}));
  EXPECT_EQ(first.Caption(), QString());
}

TEST_F(TTraceFixture, AThrowingReceiverIsContainedAndDeliveryGoesOn) {
  TCustomBound sender(&host);
  TThrowing thrower(&host);
  TLabelBound label(&host);
  sender.Keeper()->AddRelation(&thrower);
  sender.Keeper()->AddRelation(&label);
  TScopedPayload text(QStringLiteral("still here"));
  EXPECT_TRUE(sender.SendCommand(0x40408000, text.Data(), text.Size()));
  EXPECT_EQ(label.Caption(), QStringLiteral("still here"));
  const QStringList lines = Lines();
  EXPECT_TRUE(lines[4].endsWith(QStringLiteral("RET EXCEPTION of"))) << lines[4].toStdString();
  EXPECT_EQ(Format(4).background().color(), QColor(Qt::red));
  EXPECT_EQ(view.Tag, 255);
}

TEST_F(TTraceFixture, UnbalancedReturnsNeverGoBelowTheBase) {
  TraceCommand(QStringLiteral("K"), QStringLiteral("C1"), QStringLiteral("RET FAIL of"), QStringLiteral("x"));
  TraceCommand(QStringLiteral("K"), QStringLiteral("C1"), QStringLiteral("RET FAIL of"), QStringLiteral("x"));
  EXPECT_EQ(view.Tag, 255);
  const QString longLine(100, u'x');
  TraceCommand(QStringLiteral("K"), QStringLiteral("C1"), QStringLiteral("NOTE"), longLine + QStringLiteral("\r\nERROR"));
  const QStringList lines = Lines();
  EXPECT_EQ(view.document()->findBlockByNumber(lines.size() - 2).text(), longLine);
  EXPECT_EQ(Format(lines.size() - 1).background().color(), QColor(Qt::red));
  // A view that is not attached gets nothing.
  TTraceView off;
  AddTraceView(&off);
  TraceCommand(QStringLiteral("K"), QStringLiteral("C1"), QStringLiteral("SEND"), QStringLiteral("x"));
  EXPECT_TRUE(off.document()->isEmpty());
  RemoveTraceView(&off);
}

TEST(Payload, CopiesWithTheTerminator) {
  TPayload p = NewPayload(QStringLiteral("äb"));
  EXPECT_EQ(p.Size, 4);
  EXPECT_EQ(p.Data[3], '\0');
  EXPECT_EQ(PayloadToText(p.Data), QStringLiteral("äb"));
  FreePayload(p.Data);
  FreePayload(nullptr);
  EXPECT_EQ(PayloadToText(nullptr), QString());
}
