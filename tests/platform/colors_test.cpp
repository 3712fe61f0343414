#include <gtest/gtest.h>

#include <QApplication>
#include <QPalette>

#include "colors.h"

TEST(Colors, TextFormRoundTrips) {
  EXPECT_EQ(ColorToText(clBtnFace), QStringLiteral("$8000000F"));
  EXPECT_EQ(ColorToText(0x00ABCDEF), QStringLiteral("$00ABCDEF"));
  TColor c = 0;
  EXPECT_TRUE(TextToColor(QStringLiteral("$80000005"), c));
  EXPECT_EQ(c, clWindow);
  EXPECT_TRUE(TextToColor(QStringLiteral("255"), c));
  EXPECT_EQ(c, clRed);
  c = 7;
  EXPECT_FALSE(TextToColor(QStringLiteral("red"), c));
  EXPECT_EQ(c, 7u);
}

TEST(Colors, RgbIsLowByteRedAndSystemColoursFollowThePalette) {
  EXPECT_EQ(ColorToQColor(0x00332211), QColor(0x11, 0x22, 0x33));
  EXPECT_EQ(QColorToColor(QColor(0x11, 0x22, 0x33)), 0x00332211u);
  QPalette p;
  p.setColor(QPalette::Button, QColor(1, 2, 3));
  p.setColor(QPalette::Base, QColor(4, 5, 6));
  p.setColor(QPalette::Text, QColor(7, 8, 9));
  EXPECT_EQ(ColorToQColor(clBtnFace, p), QColor(1, 2, 3));
  EXPECT_EQ(ColorToQColor(clWindow, p), QColor(4, 5, 6));
  EXPECT_EQ(ColorToQColor(clWindowText, p), QColor(7, 8, 9));
}
