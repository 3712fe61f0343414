#pragma once

#include <functional>

#include <QEvent>
#include <QFrame>
#include <QMenu>
#include <QPointer>

class QMouseEvent;

// The panel every object (and every add-on module's pane) lives on: a frame
// with a centred caption, an outer and an inner bevel, a popup menu, mouse
// handlers that its object supplies, and the "close the preference editor"
// message that is posted to it so the editor goes away only after the event
// that asked for it has returned.
class TOverallPanel : public QFrame {
  Q_OBJECT
public:
  enum class TBevel { None, Lowered, Raised };
  // The private message that closes the preference editor.
  static const QEvent::Type ClosePrefenceEvent;

  explicit TOverallPanel(QWidget* parent = nullptr);

  QString Caption() const { return FCaption; }
  void SetCaption(const QString& caption);
  TBevel BevelOuter() const { return FBevelOuter; }
  TBevel BevelInner() const { return FBevelInner; }
  void SetBevelOuter(TBevel b);
  void SetBevelInner(TBevel b);
  // The width the bevels take from each edge.
  int BevelWidth() const;

  QMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(QMenu* menu) { FPopupMenu = menu; }

  // Posts the close message to this panel.
  void PostClosePrefence();
  void BringToTop() { raise(); }
  void SendToBottom() { lower(); }

  std::function<void(TOverallPanel*)> OnClosePrefence;
  std::function<void(QWidget* sender, QMouseEvent*)> OnMouseDown;
  std::function<void(QWidget* sender, QMouseEvent*)> OnMouseMove;
  std::function<void(QWidget* sender, QMouseEvent*)> OnMouseUp;
  std::function<void(QWidget* sender)> OnDblClick;

  // Sends a child widget's mouse presses, moves, releases and double clicks
  // to this panel's handlers (positions translated to the panel).
  void RouteMouse(QWidget* child, bool dblClick = true);

protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

private:
  QString FCaption;
  TBevel FBevelOuter = TBevel::Raised;
  TBevel FBevelInner = TBevel::None;
  QPointer<QMenu> FPopupMenu;
};
