#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QCoreApplication>
#include <QLineEdit>
#include <QWidget>

#include "custom_bound.h"
#include "prefence_edit.h"
#include "prompt_service.h"

namespace {

struct TEditFixture : ::testing::Test {
  TScopedScriptedPrompts prompts;
  QWidget host;
  TCustomBound object{&host};
  TPrefenceEdit* edit = nullptr;
  int changes = 0;
  void SetUp() override {
    host.resize(800, 800);
    object.SetParentControl(&host);
    edit = object.Prefence();
    edit->OnChange = [this](TPrefenceEdit*) { ++changes; };
  }
};

}  // namespace

TEST_F(TEditFixture, EveryKindMakesItsControlsAndValues) {
  object.Panel()->resize(300, 600);
  auto* check = qobject_cast<QCheckBox*>(edit->AddItem(QStringLiteral("Flag"), QStringLiteral("CheckBox"), QStringLiteral("TRUE")));
  auto* text = qobject_cast<QLineEdit*>(edit->AddItem(QStringLiteral("Name"), QStringLiteral("EditText"), QStringLiteral("a b")));
  auto* info = qobject_cast<QLabel*>(edit->AddItem(QStringLiteral("Info"), QStringLiteral("InformationText"), QStringLiteral("just text")));
  auto* number = qobject_cast<QLineEdit*>(edit->AddItem(QStringLiteral("Count"), QStringLiteral("Integer"), QStringLiteral("a7")));
  auto* file = qobject_cast<QLineEdit*>(edit->AddItem(QStringLiteral("File"), QStringLiteral("FileDialog"), QString()));
  auto* combo = qobject_cast<QComboBox*>(edit->AddItem(QStringLiteral("Pick"), QStringLiteral("ComboBox"), QStringLiteral("one")));
  auto* lines = qobject_cast<QLineEdit*>(edit->AddItem(QStringLiteral("Notes"), QStringLiteral("TextLines"), QStringLiteral("a\\nb\\tc")));
  EXPECT_EQ(edit->AddItem(QStringLiteral("X"), QStringLiteral("checkbox"), QStringLiteral("1")), nullptr);
  ASSERT_TRUE(check && text && info && number && file && combo && lines);
  EXPECT_TRUE(check->isChecked());
  EXPECT_EQ(info->text(), QStringLiteral("just text"));
  EXPECT_EQ(number->text(), QStringLiteral("0"));
  EXPECT_TRUE(lines->isReadOnly());
  EXPECT_EQ(edit->Items.Lines(), (QStringList{"Flag=TRUE", "Name=a b", "Count=a7", "File=", "Pick=one",
                                              "Notes=a\\nb\\tc"}));
  // Controls stack downwards in the order added.
  EXPECT_LT(check->y(), text->y());
  EXPECT_LT(text->y(), info->y());
  EXPECT_LT(combo->y(), lines->y());
  EXPECT_EQ(edit->Header->text(), QStringLiteral("- Custom : ") + object.ID + QStringLiteral(" - "));
  EXPECT_EQ(changes, 0);

  check->click();
  EXPECT_EQ(edit->GetValue(QStringLiteral("Flag")), QStringLiteral("false"));
  text->setText(QStringLiteral("typed"));
  EXPECT_EQ(edit->GetValue(QStringLiteral("Name")), QStringLiteral("typed"));
  number->setText(QStringLiteral("12"));
  number->setText(QStringLiteral("12a"));
  EXPECT_EQ(number->text(), QStringLiteral("0"));
  EXPECT_EQ(edit->GetValue(QStringLiteral("Count")), QStringLiteral("12"));
  combo->setEditText(QStringLiteral("two"));
  EXPECT_EQ(edit->GetValue(QStringLiteral("Pick")), QStringLiteral("two"));
  EXPECT_EQ(changes, 4);

  // The dialog buttons: a file chosen, then a cancelled text window, then an edited one.
  prompts->FileAnswers = {QStringLiteral("/tmp/chosen.txt")};
  prompts->TextAnswers = {std::nullopt, QStringLiteral("line 1\r\nline\t2\r\n")};
  const QList<QPushButton*> buttons = edit->EditorPanel->findChildren<QPushButton*>();
  ASSERT_EQ(buttons.size(), 2);
  buttons[0]->click();
  EXPECT_EQ(edit->GetValue(QStringLiteral("File")), QStringLiteral("/tmp/chosen.txt"));
  EXPECT_EQ(file->text(), QStringLiteral("/tmp/chosen.txt"));
  buttons[1]->click();
  EXPECT_EQ(edit->GetValue(QStringLiteral("Notes")), QStringLiteral("a\\nb\\tc"));
  buttons[1]->click();
  EXPECT_EQ(prompts->TextShown, (QStringList{"a\r\nb\tc", "a\r\nb\tc"}));
  EXPECT_EQ(edit->GetValue(QStringLiteral("Notes")), QStringLiteral("line 1\\nline\\t2\\n"));
  EXPECT_EQ(lines->text(), QStringLiteral("line 1\\nline\\t2\\n"));
}

TEST_F(TEditFixture, ValuesAndTheTextForm) {
  object.Panel()->resize(300, 600);
  edit->AddItemsFromText(QStringLiteral("HomePosition:EditText=https://example.org/a=b,Same:EditText=Same,"
                                        "\"Two Words:CheckBox=true\",NoColon=1,NoEquals:EditText"));
  EXPECT_EQ(edit->Items.Lines(), (QStringList{"HomePosition=https://example.org/a=b", "Same=Same", "Two Words=true"}));
  EXPECT_EQ(edit->GetValue(QStringLiteral("Same")), QString());
  EXPECT_EQ(edit->GetValue(QStringLiteral("Missing")), QString());
  edit->SetValue(QStringLiteral("HomePosition"), QString());
  EXPECT_EQ(edit->GetValue(QStringLiteral("HomePosition")), QString());
  EXPECT_EQ(edit->Items.Text(), QStringLiteral("HomePosition=\r\nSame=Same\r\nTwo Words=true\r\n"));
}

TEST_F(TEditFixture, SmallHostsGrowAndComeBack) {
  object.Panel()->setGeometry(10, 20, 100, 50);
  edit->AddItem(QStringLiteral("Name"), QStringLiteral("EditText"), QString());
  EXPECT_TRUE(edit->BoundsSaved);
  EXPECT_EQ(object.Panel()->width(), 200);
  EXPECT_GE(object.Panel()->height(), edit->NextTop + 24);
  EXPECT_TRUE(edit->Items.Lines().contains(QStringLiteral("RestoreBounds=true")));
  edit->Close();
  EXPECT_EQ(object.Panel()->geometry(), QRect(10, 20, 100, 50));
  EXPECT_EQ(edit->NextTop, 0);
  EXPECT_FALSE(edit->EditorPanel);

  // Unchecking RestoreBounds keeps the enlarged size.
  edit->AddItem(QStringLiteral("Name"), QStringLiteral("EditText"), QString());
  qobject_cast<QCheckBox*>(edit->Control(QStringLiteral("RestoreBounds")))->click();
  const QRect grown = object.Panel()->geometry();
  edit->Close();
  EXPECT_EQ(object.Panel()->geometry(), grown);

  // A host that is big enough is left alone.
  object.Panel()->setGeometry(0, 0, 400, 400);
  edit->AddItem(QStringLiteral("Name"), QStringLiteral("EditText"), QString());
  EXPECT_FALSE(edit->BoundsSaved);
  EXPECT_EQ(edit->Items.Count(), 1);
  edit->Close();
  EXPECT_EQ(object.Panel()->geometry(), QRect(0, 0, 400, 400));
}

TEST_F(TEditFixture, EnterStoresAndClosesAfterTheKeyEvent) {
  object.Panel()->resize(300, 300);
  auto* text = qobject_cast<QLineEdit*>(edit->AddItem(QStringLiteral("Name"), QStringLiteral("EditText"), QString()));
  text->setText(QStringLiteral("done"));
  emit text->returnPressed();
  EXPECT_TRUE(edit->EditorPanel);
  QCoreApplication::sendPostedEvents(object.Panel());
  EXPECT_FALSE(edit->EditorPanel);
}

TEST(FileFilter, PairsBecomeQtFilters) {
  EXPECT_EQ(QtFileFilter(QStringLiteral("Application (*.exe)|*.exe|ShortCut (*.lnk)|*.lnk")),
            QStringLiteral("Application (*.exe);;ShortCut (*.lnk)"));
  EXPECT_EQ(QtFileFilter(QStringLiteral("Pictures|*.png;*.jpg")), QStringLiteral("Pictures (*.png *.jpg)"));
}
