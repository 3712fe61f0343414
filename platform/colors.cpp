#include "colors.h"

#include <QApplication>
#include <QWidget>

#include "string_list_ex.h"

QColor ColorToQColor(TColor c) { return ColorToQColor(c, QApplication::palette()); }

QColor ColorToQColor(TColor c, const QPalette& p) {
  if (!IsSystemColor(c)) return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
  using R = QPalette::ColorRole;
  auto role = [&](R r, QPalette::ColorGroup g = QPalette::Active) { return p.color(g, r); };
  switch (c & 0xFF) {
    case 0: return role(R::Mid);                                // scroll bar
    case 1: return role(R::Dark);                               // desktop
    case 2: case 27: return role(R::Highlight);                 // active caption
    case 3: case 28: return role(R::Mid, QPalette::Inactive);   // inactive caption
    case 4: case 30: return role(R::Window);                    // menu, menu bar
    case 5: return role(R::Base);                               // window
    case 6: return role(R::Shadow);                             // window frame
    case 7: return role(R::WindowText);                         // menu text
    case 8: return role(R::Text);                               // window text
    case 9: return role(R::HighlightedText);                    // caption text
    case 10: case 11: return role(R::Mid);                      // borders
    case 12: return role(R::Dark);                              // application workspace
    case 13: case 29: return role(R::Highlight);
    case 14: return role(R::HighlightedText);
    case 15: return role(R::Button);                            // button face
    case 16: return role(R::Dark);                              // button shadow
    case 17: return p.color(QPalette::Disabled, R::Text);       // grey text
    case 18: return role(R::ButtonText);
    case 19: return p.color(QPalette::Inactive, R::HighlightedText);
    case 20: return role(R::Light);                             // button highlight
    case 21: return role(R::Shadow);                            // 3D dark shadow
    case 22: return role(R::Midlight);                          // 3D light
    case 23: return role(R::ToolTipText);
    case 24: return role(R::ToolTipBase);
    case 26: return role(R::Link);                              // hot light
    default: return role(R::Window);
  }
}

TColor QColorToColor(const QColor& c) {
  return TColor(c.red()) | (TColor(c.green()) << 8) | (TColor(c.blue()) << 16);
}

QString ColorToText(TColor c) { return QStringLiteral("$%1").arg(c, 8, 16, QLatin1Char('0')).toUpper(); }

bool TextToColor(const QString& text, TColor& out) {
  qint32 v;
  if (!TryStrToInt(text, v)) return false;
  out = TColor(quint32(v));
  return true;
}

void SetWidgetColors(QWidget* w, TColor background, TColor text) {
  QPalette p = w->palette();
  const QColor bg = ColorToQColor(background), fg = ColorToQColor(text);
  for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) p.setColor(role, bg);
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) p.setColor(role, fg);
  w->setPalette(p);
  w->setAutoFillBackground(true);
}
