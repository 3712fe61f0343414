#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QStringList>

#include "overall_panel.h"

class QMenu;
class QMouseEvent;
class QAction;
class TBoundKeeper;
class TBoundRelater;
class TPrefenceEdit;

// The base of every object a project places on the main window. It owns its
// panel, popup menu, relation keeper and preference editor, and supplies
// identity, the record, mouse dragging and resizing, snapping, z-order, the
// common preference items and the sending and receiving of command words.
class TCustomBound : public QObject {
  Q_OBJECT
public:
  // className: the kind's class name ("TLabelBound"); Kind derives from it.
  TCustomBound(QWidget* mainWindow, const char* className = "TCustomBound");
  ~TCustomBound() override;

  QString Kind;
  QString ID;
  bool ReferenceValid = false;
  int ReferenceLeft = 0, ReferenceTop = 0, ReferenceWidth = 0, ReferenceHeight = 0;

  TOverallPanel* Panel() const { return FPanel; }
  QWidget* ParentControl() const { return FParentControl; }
  QMenu* PopupMenu() const { return FPopupMenu; }
  TBoundKeeper* Keeper() const { return FKeeper.get(); }
  TPrefenceEdit* Prefence() const { return FPrefence.get(); }

  std::function<void(TCustomBound*)> OnSelect;
  std::function<void(TCustomBound*)> OnTop;
  std::function<void(TCustomBound*)> OnBottom;

  uint8_t DragMode = 0;
  QPoint LastCursor;
  int KindLevel = 0;
  int GridSize = 4;
  int GridLineWidth = 0;
  bool Dynamic = false;
  bool Locked = false;
  bool FitToGrid = false;
  bool Expert = false;
  bool Bevels = true;
  bool DynamicPath = false;
  uint32_t RecvMask = 0;
  uint32_t SendMask = 0;

  // Virtual operations.
  virtual void DestroyPrefence();
  virtual void SetParentControl(QWidget* parent);
  virtual QString GetRecord();
  virtual void SetRecord(const QString& text);
  virtual void PanelMouseDown(QWidget* sender, QMouseEvent* e);
  virtual void PanelMouseMove(QWidget* sender, QMouseEvent* e);
  virtual void PanelMouseUp(QWidget* sender, QMouseEvent* e);
  virtual void MenuClick(QAction* sender);
  virtual void PrefenceClose();
  virtual bool SendCommand(uint32_t word, const char* data, int size);
  virtual bool RecvCommand(TCustomBound* sender, uint32_t& word, const char* data, int size);
  virtual void PrefenceChanged(QObject* sender);
  virtual void PrefenceOpen(QObject* sender);
  virtual void Arrange();
  // A file dropped on the main window made this object: a program, a picture
  // or a folder, or the target of a shortcut (then `shortcut` describes it).
  virtual void ReceiveDroppedFile(const QString& file, const struct TShellLink* shortcut) {}

  // Non-virtual operations.
  void SnapToGrid();
  void Select();
  void SetDynamic(bool b);
  void StoreReferenceBounds(bool force);
  void SetFitToGrid(bool b);
  void SetGridSize(int n);
  void SetGridLineWidth(int n);
  void SetBevels(bool b);
  void IncKindLevel() { ++KindLevel; }
  void ResolveRelations();
  bool CanRelate(const TCustomBound* target) const;
  QString ContractPath(const QString& path) const;
  QString ExpandPath(const QString& path) const;
  bool ExpandPathInPlace(QString& path) const;

  // Whether the anchors move the panel when its parent resizes. Off while
  // the project window fits its objects to the window itself.
  bool FollowAnchors = true;
  // Anchors of the panel: which edges follow the parent when it resizes.
  bool AnchorLeft = true, AnchorTop = true, AnchorRight = false, AnchorBottom = false;
  QString AnchorText() const;

  // Popup menu items of the base: "Top", "Bottom", "Edit".
  static constexpr int TagTop = 100, TagBottom = 101, TagEdit = 102;
  // Adds an item to the popup menu with a tag, handled by MenuClick.
  QAction* AddMenuItem(const QString& caption, int tag);

protected:
  // A kind's record: the base record with the kind's keyword in field 0 and
  // the kind's own fields appended.
  static QString ExtendRecord(const QString& baseRecord, const QString& keyword, const QStringList& fields);
  // Field i of a parsed record; a missing field raises EConvertError, which
  // stops applying the record.
  static QString RecordField(const class TStringListEx& fields, int i);
  // Drag zones of a point in panel coordinates: 1 move, 2..5 the corners.
  uint8_t DragZone(int x, int y) const;
  // Hands the popup menu to the program-wide localizer.
  void LocalizePopup();

private:
  void ApplyParentAnchors();
  bool eventFilter(QObject* watched, QEvent* e) override;

  QPointer<TOverallPanel> FPanel;
  QPointer<QWidget> FParentControl;
  QPointer<QMenu> FPopupMenu;
  std::unique_ptr<TBoundKeeper> FKeeper;
  std::unique_ptr<TPrefenceEdit> FPrefence;
  QSize FLastParentSize;
};

// Identifiers handed out in this run, and those of every opened project.
QStringList& UsedIDs();
QString NewObjectID();
void RegisterUsedIDs(const TBoundRelater& objects);
