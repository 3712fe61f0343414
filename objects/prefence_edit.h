#pragma once

#include <functional>

#include <QCheckBox>
#include <QList>
#include <QPointer>
#include <QString>

#include <QLabel>

#include "string_list_ex.h"

class QWidget;
class TCustomBound;
class TOverallPanel;

// A check box that can size itself to its caption.
class TCheckBoxEx : public QCheckBox {
  Q_OBJECT
public:
  using QCheckBox::QCheckBox;
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool on);

private:
  bool FAutoSize = false;
};

// Turns an object's panel into a form of labelled controls built from named,
// typed items, keeps every item's current value, tells the object after
// every change and tears the form down again.
class TPrefenceEdit {
public:
  TPrefenceEdit(TCustomBound* owner, TOverallPanel* host);
  ~TPrefenceEdit();
  TPrefenceEdit(const TPrefenceEdit&) = delete;
  TPrefenceEdit& operator=(const TPrefenceEdit&) = delete;

  int NextTop = 0;
  QPointer<QLabel> Header;
  QPointer<TOverallPanel> EditorPanel;
  QString FileFilter;
  TCustomBound* const Owner;
  TOverallPanel* const Host;
  TStringListEx Items;
  std::function<void(TPrefenceEdit*)> OnChange;
  bool BoundsSaved = false;
  int SavedLeft = 0, SavedTop = 0, SavedWidth = 0, SavedHeight = 0;
  bool Closing = false;

  QWidget* AddItem(const QString& name, const QString& kind, const QString& value);
  // Adds the items of a text form: comma text of "name:kind=value" entries.
  void AddItemsFromText(const QString& text);
  QString GetValue(const QString& name) const;
  void SetValue(const QString& name, const QString& value);
  bool IsOpen() const { return EditorPanel && !Closing; }
  void MarkClosing() { Closing = true; }
  void Close();
  // The control of an item, by name (null when there is none).
  QWidget* Control(const QString& name) const;

private:
  QLabel* AddLabel(const QString& text);
  int ControlWidth() const;
  void Track(QWidget* w, bool stretch, bool keepRight);
  void Relayout();
  void Store(int line, const QString& value, bool notify = true);
  void Changed();
  QString NameOf(int line) const;

  QList<QPointer<QWidget>> FControls;  // parallel to Items
  struct TTracked {
    QPointer<QWidget> Widget;
    bool Stretch;    // width follows the form (anchored left and right)
    bool KeepRight;  // left follows the form's right edge
    int RightGap;
  };
  QList<TTracked> FTracked;
  QObject* FFilter = nullptr;
};

// Converts a file-dialog filter of "description|pattern|..." pairs to Qt's
// "description (patterns);;..." form.
QString QtFileFilter(const QString& pairs);
