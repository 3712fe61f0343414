#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

class QWidget;

// Stored colours keep the toolkit encoding: an RGB colour is 0x00BBGGRR; a
// system colour has the high byte 0x80 and the system colour index in the
// low byte. They are written "$" + 8 upper-case hex digits.
using TColor = quint32;

constexpr TColor clBlack = 0x00000000;
constexpr TColor clWhite = 0x00FFFFFF;
constexpr TColor clNavy = 0x00800000;
constexpr TColor clBlue = 0x00FF0000;
constexpr TColor clRed = 0x000000FF;
constexpr TColor clGreen = 0x00008000;
constexpr TColor clYellow = 0x0000FFFF;
constexpr TColor clSilver = 0x00C0C0C0;
constexpr TColor clGray = 0x00808080;
constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clHighlight = 0x8000000D;
constexpr TColor clHighlightText = 0x8000000E;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clBtnShadow = 0x80000010;
constexpr TColor clGrayText = 0x80000011;
constexpr TColor clBtnText = 0x80000012;
constexpr TColor clInfoText = 0x80000017;
constexpr TColor clInfoBk = 0x80000018;

inline bool IsSystemColor(TColor c) { return (c & 0xFF000000u) == 0x80000000u; }

// The real colour: system colours through the application palette.
QColor ColorToQColor(TColor c);
QColor ColorToQColor(TColor c, const QPalette& palette);
// The RGB encoding of a colour.
TColor QColorToColor(const QColor& c);
// "$" followed by 8 upper-case hexadecimal digits.
QString ColorToText(TColor c);
// Reads a decimal or "$"/"0x" hexadecimal integer; false when it is none.
bool TextToColor(const QString& text, TColor& out);

// Gives a widget a background and text colour (palette roles Window, Base,
// Button and WindowText, Text, ButtonText) and makes it paint its background.
void SetWidgetColors(QWidget* w, TColor background, TColor text);
