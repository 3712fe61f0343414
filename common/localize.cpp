#include "localize.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>

#include "string_list_ex.h"

namespace {

TLocalize* gLocalize = nullptr;

QString TrimControls(const QString& s) {
  qsizetype b = 0, e = s.size();
  while (b < e && s[b].unicode() <= 32) ++b;
  while (e > b && s[e - 1].unicode() <= 32) --e;
  return s.mid(b, e - b);
}

QString ApplyReplacements(QString text) {
  text.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
  text.replace(QLatin1String("\\ini"), QLatin1String("zel32.ini"));
  return text;
}

}  // namespace

TLocalize::TLocalize(const QString& folder) {
  QString path = folder;
  if (!path.endsWith(u'/')) path += u'/';
  path += QLatin1String("localize.txt");
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return;
  FActive = true;
  TStringListEx raw;
  raw.SetText(QString::fromUtf8(f.readAll()));
  for (const QString& line : raw.Lines()) {
    const QString t = TrimControls(line);
    if (t.isEmpty() || t.startsWith(u'#')) continue;
    FLines.append(t);
  }
}

QString TLocalize::Lookup(const QString& key) const {
  for (const QString& line : FLines) {
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) continue;
    if (QStringView(line).left(eq).compare(key, Qt::CaseInsensitive) == 0) return line.mid(eq + 1);
  }
  return {};
}

QString TLocalize::Translate(const QString& message) const {
  const qsizetype colon = message.indexOf(u':');
  const QString key = colon < 0 ? message : message.left(colon);
  const QString builtIn = colon < 0 ? message : message.mid(colon + 1);
  QString text = Lookup(key);
  if (text.isEmpty()) text = builtIn;
  return ApplyReplacements(text);
}

void TLocalize::LocalizeItem(QAction* item) const {
  QString caption = item->text();
  if (caption.isEmpty()) return;
  const qsizetype amp = caption.indexOf(u'&');
  QString suffix;
  if (amp >= 0) {
    if (amp + 1 < caption.size()) suffix = QStringLiteral("(&") + caption[amp + 1] + u')';
    caption.remove(amp, 1);
  }
  const QString text = Lookup(caption);
  if (text.isEmpty()) return;
  item->setText(text.contains(u'&') ? text : text + suffix);
}

void TLocalize::LocalizeItems(const QList<QAction*>& items) const {
  for (QAction* a : items) {
    if (a->isSeparator()) continue;
    LocalizeItem(a);
    if (QMenu* sub = a->menu()) LocalizeItems(sub->actions());
  }
}

void TLocalize::LocalizeMenu(QMenuBar* menu) const {
  if (!FActive || !menu || menu->actions().isEmpty()) return;
  LocalizeItems(menu->actions());
}

void TLocalize::LocalizeMenu(QMenu* menu) const {
  if (!FActive || !menu || menu->actions().isEmpty()) return;
  LocalizeItems(menu->actions());
}

TLocalize* GlobalLocalize() { return gLocalize; }
void SetGlobalLocalize(TLocalize* instance) { gLocalize = instance; }

QString Translate(const QString& message) {
  if (gLocalize) return gLocalize->Translate(message);
  const qsizetype colon = message.indexOf(u':');
  return ApplyReplacements(colon < 0 ? message : message.mid(colon + 1));
}
