#pragma once

#include <QString>
#include <QStringList>

class QMenu;
class QMenuBar;
class QAction;

// Replaces the program's built-in texts by the translations of localize.txt
// in the program folder. Messages carry a key before their first ":"
// ("MSGID_PM203:Help file not found."); menu items are looked up by their
// caption without the "&".
class TLocalize {
public:
  explicit TLocalize(const QString& folder);

  bool Active() const { return FActive; }
  // The text to show for a built-in message (key stripped, translated when a
  // line for its key exists, "\n" and "\ini" replaced).
  QString Translate(const QString& message) const;
  void LocalizeMenu(QMenuBar* menu) const;
  void LocalizeMenu(QMenu* menu) const;
  // The translation for key, empty when there is none.
  QString Lookup(const QString& key) const;

private:
  void LocalizeItem(QAction* item) const;
  void LocalizeItems(const QList<QAction*>& items) const;

  QStringList FLines;
  bool FActive = false;
};

// The program-wide instance, created by the main window from the program
// folder. Null before that (and in tests that do not create one).
TLocalize* GlobalLocalize();
void SetGlobalLocalize(TLocalize* instance);

// Translates through the global instance; without one, keys are stripped and
// the replacements applied just as with an inactive instance.
QString Translate(const QString& message);
