#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include "bg_color_form.h"
#include "prompt_service.h"
#include "temp_world.h"

namespace {

constexpr TColor kRed = 0x000000FF, kGreen = 0x0000FF00, kNavy = 0x00800000, kCream = 0x00E0F0FF;

struct TBgColorFormFixture : ::testing::Test {
  TTempWorld world;
  TScopedScriptedPrompts prompts;

  QString ColorsPath() const { return world.ProgramFolder() + QStringLiteral("/colors.txt"); }
  void WriteColors(const QByteArray& text) const { world.Write(QStringLiteral("program/colors.txt"), text); }
  QByteArray ReadColors() const { return world.Read(QStringLiteral("program/colors.txt")); }

  static TColorScheme Scheme(TColor mainFG, TColor mainBG, TColor clientFG, TColor clientBG, bool border) {
    TColorScheme s;
    s.MainFG = mainFG;
    s.MainBG = mainBG;
    s.ClientFG = clientFG;
    s.ClientBG = clientBG;
    s.Border = border;
    return s;
  }

  // A click on the list's viewport, as the mouse gives it.
  static void ClickList(TBgColorForm& form, QPoint p) {
    if (!form.isVisible()) {
      form.resize(500, 400);
      form.show();
      QCoreApplication::processEvents();
    }
    QWidget* v = form.ListView1->viewport();
    for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent e(type, QPointF(p), QPointF(v->mapToGlobal(p)), Qt::LeftButton,
                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
      QCoreApplication::sendEvent(v, &e);
    }
  }
  static void ClickRow(TBgColorForm& form, int row) {
    ClickList(form, form.ListView1->visualRect(form.ListView1->model()->index(row, 0)).center());
  }
};

QColor Background(const QWidget* w) { return w->palette().color(QPalette::Window); }
QColor Foreground(const QWidget* w) { return w->palette().color(QPalette::WindowText); }

}  // namespace

TEST_F(TBgColorFormFixture, DefaultIsSelectedOnlyForTheExactDefaultScheme) {
  const TColorScheme d = DefaultColorScheme();
  EXPECT_EQ(d, Scheme(clWindowText, clBtnFace, clWindowText, clWindow, true));
  const struct {
    const char* what;
    TColorScheme values;
    bool selectsDefault;
  } cases[] = {
      {"the default scheme", d, true},
      {"main FG differs", Scheme(kRed, clBtnFace, clWindowText, clWindow, true), false},
      {"main BG differs", Scheme(clWindowText, kCream, clWindowText, clWindow, true), false},
      {"client FG differs", Scheme(clWindowText, clBtnFace, kNavy, clWindow, true), false},
      {"client BG differs", Scheme(clWindowText, clBtnFace, clWindowText, kGreen, true), false},
      {"border off", Scheme(clWindowText, clBtnFace, clWindowText, clWindow, false), false},
      {"the button face as plain RGB", Scheme(clWindowText, QColorToColor(ColorToQColor(clBtnFace)), clWindowText,
                                             clWindow, true), false},
  };
  for (const auto& c : cases) {
    TBgColorForm form(world.ProgramFolder(), c.values);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Color Prefences"));
    EXPECT_EQ(form.rbDefault->isChecked(), c.selectsDefault) << c.what;
    EXPECT_EQ(form.rbCustom->isChecked(), !c.selectsDefault) << c.what;
    // The custom panel shows what was passed in, whichever is selected.
    EXPECT_EQ(form.CustomScheme(), c.values) << c.what;
    EXPECT_EQ(Background(form.Panel2), ColorToQColor(c.values.MainBG)) << c.what;
    EXPECT_EQ(Foreground(form.Panel2), ColorToQColor(c.values.MainFG)) << c.what;
    EXPECT_EQ(form.Edit2->palette().color(QPalette::Base), ColorToQColor(c.values.ClientBG)) << c.what;
    EXPECT_EQ(form.Edit2->palette().color(QPalette::Text), ColorToQColor(c.values.ClientFG)) << c.what;
    EXPECT_EQ(form.Edit2->hasFrame(), c.values.Border) << c.what;
    EXPECT_EQ(form.cbBorder->isChecked(), c.values.Border) << c.what;
    EXPECT_EQ(Background(form.rbCustom), ColorToQColor(c.values.MainBG)) << c.what;
    // The default panel always shows the default scheme.
    EXPECT_EQ(Background(form.Panel1), ColorToQColor(clBtnFace));
    EXPECT_EQ(form.Edit1->palette().color(QPalette::Base), ColorToQColor(clWindow));
  }
}

TEST_F(TBgColorFormFixture, TheResultFollowsTheSelectionAndOnlyOkAccepts) {
  const TColorScheme custom = Scheme(kRed, kCream, kNavy, kGreen, false);
  {
    // Default and OK: the default scheme, border on, though "Border" is off.
    TBgColorForm form(world.ProgramFolder(), custom);
    form.rbDefault->click();
    EXPECT_FALSE(form.cbBorder->isChecked());
    form.btnOK->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.ResultScheme(), DefaultColorScheme());
    EXPECT_TRUE(form.ResultScheme().Border);
  }
  {
    TBgColorForm form(world.ProgramFolder(), custom);
    form.btnOK->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.ResultScheme(), custom);
  }
  {
    TBgColorForm form(world.ProgramFolder(), custom);
    form.btnCancel->click();
    EXPECT_EQ(form.result(), QDialog::Rejected);
  }
  {
    TBgColorForm form(world.ProgramFolder(), custom);
    form.show();
    form.close();
    EXPECT_EQ(form.result(), QDialog::Rejected);
  }
}

TEST_F(TBgColorFormFixture, ColourButtonsEditTheCustomSchemeAndSelectIt) {
  const struct {
    const char* button;
    TColor TColorScheme::*field;
  } cases[] = {
      {"btnFG", &TColorScheme::MainFG},
      {"btnBG", &TColorScheme::MainBG},
      {"btnCLFG", &TColorScheme::ClientFG},
      {"btnCLBG", &TColorScheme::ClientBG},
  };
  const TColorScheme start = DefaultColorScheme();
  for (const auto& c : cases) {
    TBgColorForm form(world.ProgramFolder(), start);
    ASSERT_TRUE(form.rbDefault->isChecked());
    auto* button = form.findChild<QPushButton*>(QLatin1String(c.button));
    ASSERT_NE(button, nullptr) << c.button;

    // Cancelled: nothing changes, but "Custom" is selected.
    prompts->Calls.clear();
    button->click();
    ASSERT_EQ(prompts->Calls.size(), 1u);
    EXPECT_EQ(prompts->Calls[0].What, QStringLiteral("color"));
    EXPECT_EQ(prompts->Calls[0].Text, ColorToText(start.*c.field)) << c.button;  // opens on the current value
    EXPECT_EQ(form.CustomScheme(), start) << c.button;
    EXPECT_TRUE(form.rbCustom->isChecked()) << c.button;

    // Chosen: only that value changes and is shown.
    prompts->ColorAnswers.push_back(kRed);
    form.rbDefault->click();
    button->click();
    TColorScheme expected = start;
    expected.*c.field = kRed;
    EXPECT_EQ(form.CustomScheme(), expected) << c.button;
    EXPECT_TRUE(form.rbCustom->isChecked()) << c.button;
    EXPECT_EQ(Background(form.Panel2), ColorToQColor(expected.MainBG)) << c.button;
    EXPECT_EQ(Foreground(form.Panel2), ColorToQColor(expected.MainFG)) << c.button;
    EXPECT_EQ(Foreground(form.rbCustom), ColorToQColor(expected.MainFG)) << c.button;
    EXPECT_EQ(form.Edit2->palette().color(QPalette::Base), ColorToQColor(expected.ClientBG)) << c.button;
    EXPECT_EQ(form.Edit2->palette().color(QPalette::Text), ColorToQColor(expected.ClientFG)) << c.button;
  }

  TBgColorForm form(world.ProgramFolder(), start);
  form.cbBorder->click();
  EXPECT_FALSE(form.CustomScheme().Border);
  EXPECT_FALSE(form.Edit2->hasFrame());
  EXPECT_TRUE(form.rbCustom->isChecked());
  form.cbBorder->click();
  EXPECT_TRUE(form.Edit2->hasFrame());
}

TEST_F(TBgColorFormFixture, ReadsSchemesDroppingShortLinesAndReadingBadColoursAsBlack) {
  WriteColors(
      "Warm,00000000,00000080,00E0F0FF,00FFFFFF,True\r\n"
      "\r\n"
      "Short,00000000,00000000,00FFFFFF,00FFFFFF\r\n"
      "\"Night, late\",0000FF00,garbage,00400000,,false\n"
      "Extra,000000FF,00000000,00FFFFFF,00FFFFFF,TRUE,more\r\n");
  TBgColorForm form(world.ProgramFolder(), DefaultColorScheme());
  ASSERT_EQ(form.RowCount(), 3);
  EXPECT_EQ(form.Row(0), QStringList({"Warm", "00000000", "00000080", "00E0F0FF", "00FFFFFF", "True"}));
  EXPECT_EQ(form.Row(1), QStringList({"Night, late", "0000FF00", "garbage", "00400000", "", "false"}));
  EXPECT_EQ(form.Row(2), QStringList({"Extra", "000000FF", "00000000", "00FFFFFF", "00FFFFFF", "TRUE"}));
  EXPECT_EQ(form.ListView1->item(1, 0)->text(), QStringLiteral("Night, late"));
  EXPECT_FALSE(form.btnDelete->isEnabled());
  EXPECT_TRUE(form.rbDefault->isChecked());

  // Clicking a row loads it into the custom scheme; unreadable colours are black.
  ClickRow(form, 1);
  EXPECT_TRUE(form.btnDelete->isEnabled());
  EXPECT_TRUE(form.rbCustom->isChecked());
  EXPECT_EQ(form.CustomScheme(), Scheme(0x0000FF00, 0x00400000, clBlack, clBlack, false));
  EXPECT_FALSE(form.Edit2->hasFrame());
  ClickRow(form, 2);
  EXPECT_EQ(form.CustomScheme(), Scheme(kRed, clWhite, clBlack, clWhite, true));

  // A click that selects no row disables "Delete" and still selects "Custom".
  form.rbDefault->click();
  form.ListView1->clearSelection();
  ClickList(form, QPoint(5, form.ListView1->viewport()->height() - 3));
  EXPECT_FALSE(form.btnDelete->isEnabled());
  EXPECT_TRUE(form.rbCustom->isChecked());
  EXPECT_EQ(form.CustomScheme(), Scheme(kRed, clWhite, clBlack, clWhite, true));
}

TEST_F(TBgColorFormFixture, ClosingWritesTheListEvenAfterCancel) {
  WriteColors("Warm,00000000,00000080,00E0F0FF,00FFFFFF,True\n\nbroken line\n");
  {
    TBgColorForm form(world.ProgramFolder(), Scheme(clBlack, clWhite, clBlack, clWhite, true));
    EXPECT_EQ(form.Edit3->text(), QStringLiteral("My Color"));
    form.btnAdd->click();
    form.Edit3->setText(QStringLiteral("Plain"));
    prompts->ColorAnswers.push_back(kNavy);
    form.btnCLBG->click();
    form.cbBorder->click();
    form.btnAdd->click();
    form.btnCancel->click();
  }
  EXPECT_EQ(ReadColors(),
            "Warm,00000000,00000080,00E0F0FF,00FFFFFF,True\r\n"
            "\"My Color\",00000000,00000000,00FFFFFF,00FFFFFF,True\r\n"
            "Plain,00000000,00000000,00FFFFFF,00800000,False\r\n");

  // Read back, the rows are the same; system colours keep their encoding.
  TBgColorForm form(world.ProgramFolder(), DefaultColorScheme());
  ASSERT_EQ(form.RowCount(), 3);
  EXPECT_EQ(form.Row(1), QStringList({"My Color", "00000000", "00000000", "00FFFFFF", "00FFFFFF", "True"}));
  form.btnAdd->click();
  EXPECT_EQ(form.Row(3), QStringList({"My Color", "80000008", "80000008", "8000000F", "80000005", "True"}));
  ClickRow(form, 3);
  EXPECT_EQ(form.CustomScheme(), DefaultColorScheme());
}

TEST_F(TBgColorFormFixture, AnEmptyListLeavesTheFileAlone) {
  const QByteArray before = "Warm,00000000,00000080,00E0F0FF,00FFFFFF,True\r\nCold,00FF0000,00000000,00FFFFFF,"
                            "00FFFFFF,False\r\n";
  WriteColors(before);
  {
    TBgColorForm form(world.ProgramFolder(), DefaultColorScheme());
    ASSERT_EQ(form.RowCount(), 2);
    ClickRow(form, 1);
    form.btnDelete->click();
    EXPECT_EQ(form.RowCount(), 1);
    EXPECT_EQ(form.Row(0).value(0), QStringLiteral("Warm"));
    ClickRow(form, 0);
    form.btnDelete->click();
    EXPECT_EQ(form.RowCount(), 0);
    EXPECT_FALSE(form.btnDelete->isEnabled());
    form.btnDelete->click();  // nothing selected: nothing happens
    form.btnOK->click();
  }
  EXPECT_EQ(ReadColors(), before);

  // Without a file the list is empty, and closing makes none.
  QFile::remove(ColorsPath());
  {
    TBgColorForm form(world.ProgramFolder(), DefaultColorScheme());
    EXPECT_EQ(form.RowCount(), 0);
    form.btnOK->click();
  }
  EXPECT_FALSE(QFileInfo::exists(ColorsPath()));
}

TEST_F(TBgColorFormFixture, MainAndClientCellsShowTheRowsColours) {
  WriteColors("Warm,000000FF,00800000,0000FFFF,0000FF00,True\r\n");
  TBgColorForm form(world.ProgramFolder(), DefaultColorScheme());
  form.resize(500, 400);
  form.show();
  QCoreApplication::processEvents();
  const QImage shot = form.ListView1->viewport()->grab().toImage();
  const struct {
    int column;
    QColor bg, fg;
  } cells[] = {{1, QColor(255, 255, 0), QColor(255, 0, 0)}, {2, QColor(0, 255, 0), QColor(0, 0, 128)}};
  for (const auto& c : cells) {
    const QRect r = form.ListView1->visualRect(form.ListView1->model()->index(0, c.column));
    ASSERT_TRUE(r.isValid());
    int bg = 0, fg = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right() - 2; ++x) {
        const QColor p = shot.pixelColor(x, y);
        bg += p == c.bg;
        fg += p == c.fg;
      }
    EXPECT_GT(bg, r.height() * (r.width() - 2) / 2) << c.column;  // filled
    EXPECT_GT(fg, 10) << c.column;                                 // "abc123"
    // The last two pixels of the cell are not filled, and the text starts
    // one pixel in: the first column is background all the way down.
    for (int y = r.top(); y <= r.bottom(); ++y) {
      EXPECT_NE(shot.pixelColor(r.right(), y), c.bg) << c.column;
      EXPECT_NE(shot.pixelColor(r.right() - 1, y), c.bg) << c.column;
      EXPECT_EQ(shot.pixelColor(r.left(), y), c.bg) << c.column;
    }
  }
  EXPECT_EQ(form.ListView1->columnWidth(0), 125);
  EXPECT_EQ(form.ListView1->columnWidth(1), 75);
  EXPECT_EQ(form.ListView1->columnWidth(2), 75);
  EXPECT_TRUE(form.ListView1->showGrid());
}
