#include <gtest/gtest.h>

#include <QLineEdit>
#include <QWidget>

#include "bound_keeper.h"
#include "command_trace.h"
#include "debug_bound.h"
#include "label_bound.h"
#include "prefence_edit.h"

TEST(DebugObject, TracesOnlyAfterItIsAttachedAndListsLibraries) {
  QWidget host;
  TCustomBound sender(&host);
  TLabelBound label(&host);
  sender.Keeper()->AddRelation(&label);
  TScopedPayload p(QStringLiteral("x"));
  {
    TDebugBound debug(&host);
    EXPECT_EQ(debug.TitleLabel()->text(), QString());
    EXPECT_EQ(debug.TraceView()->Tag, 0);
    sender.SendCommand(0x4040806E, p.Data(), p.Size());
    EXPECT_TRUE(debug.TraceView()->document()->isEmpty());
    debug.SetParentControl(&host);
    EXPECT_EQ(debug.TitleLabel()->text(), QStringLiteral("INTERFACE READY"));
    EXPECT_EQ(debug.TraceLabel()->text(), QStringLiteral("INITIALIZING..."));
    EXPECT_TRUE(debug.Timer()->isActive());
    sender.SendCommand(0x4040806E, p.Data(), p.Size());
    EXPECT_TRUE(debug.TraceView()->toPlainText().contains(QStringLiteral("RECEIVE")));
    debug.Refresh();
    EXPECT_EQ(debug.TitleLabel()->text(), QStringLiteral("Module Instnace"));
    EXPECT_EQ(debug.TraceLabel()->text(), QStringLiteral("Command Trace"));
    EXPECT_EQ(debug.InstanceMemo()->toPlainText(), QStringLiteral("NONE"));
    EXPECT_TRUE(debug.GetRecord().startsWith(QStringLiteral("debug,")));
    EXPECT_TRUE(debug.GetRecord().endsWith(QStringLiteral(",-,-,-,-,-,-,-")));
    EXPECT_EQ(debug.RecvMask | debug.SendMask, 0u);
    EXPECT_EQ(TraceViews().size(), 1);
  }
  EXPECT_TRUE(TraceViews().isEmpty());
}

TEST(LabelObject, ShowsTextWordsAndEditsItsCaption) {
  QWidget host;
  TLabelBound label(&host);
  label.SetParentControl(&host);
  EXPECT_EQ(label.Caption(), QStringLiteral("LABEL"));
  TScopedPayload p(QStringLiteral("hello"));
  uint32_t word = 0x41C0E065;
  EXPECT_TRUE(label.RecvCommand(nullptr, word, p.Data(), p.Size()));
  EXPECT_EQ(label.Caption(), QStringLiteral("hello"));
  word = 0x41C0D000;
  EXPECT_TRUE(label.RecvCommand(nullptr, word, nullptr, 0));
  EXPECT_EQ(label.Caption(), QString());
  word = 0x40C00068;
  EXPECT_FALSE(label.RecvCommand(nullptr, word, p.Data(), p.Size()));
  EXPECT_EQ(label.Caption(), QString());

  label.PrefenceOpen(nullptr);
  EXPECT_EQ(label.Prefence()->Items.Lines(), (QStringList{"Relation=", "Caption="}));
  qobject_cast<QLineEdit*>(label.Prefence()->Control(QStringLiteral("Caption")))->setText(QStringLiteral("Photos"));
  EXPECT_EQ(label.Caption(), QStringLiteral("Photos"));
}
