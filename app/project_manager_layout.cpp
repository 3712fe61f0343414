// The layout of the project window: fitting the objects to the window with
// their reference bounds, full screen, the hidden menu bar, and refits when
// the window's size changes.
#include <cmath>

#include <QAction>
#include <QCursor>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>

#include "bound_relater.h"
#include "custom_bound.h"
#include "grid_scroll_box.h"
#include "localize.h"
#include "project_manager.h"
#include "prompt_service.h"

namespace {

// The thin window border the fit leaves on each side.
constexpr int kBorder = 1;

int RoundHalfEven(long double v) { return int(std::nearbyint(v)); }

}  // namespace

void TProjectManager::InitReferencePoints() {
  FDesignChanged = false;
  for (TCustomBound* o : FObjects->Items()) {
    o->StoreReferenceBounds(true);
    o->Arrange();
  }
}

void TProjectManager::RestoreClick() {
  for (TCustomBound* o : FObjects->Items()) {
    if (o->ReferenceValid)
      o->Panel()->setGeometry(o->ReferenceLeft, o->ReferenceTop, o->ReferenceWidth, o->ReferenceHeight);
    o->Arrange();
  }
}

void TProjectManager::FitObjectsToWindow(bool loading) {
  if (FObjects->Count() == 0) return;
  if (Expert1->isChecked() && !loading) {
    for (TCustomBound* o : FObjects->Items()) o->Arrange();
    return;
  }
  if (!Expert1->isChecked() && FDesignChanged) {
    const TMsgResult r = ShowMessage(
        Translate(QStringLiteral(
            "MSGID_PM002:In order to make the object added newly follow change of window size,\\nit is necessary to "
            "save the relative position information on all objects.\\nPlease push \"OK\", in order to save relative "
            "position information with \"InitReferencePoints\" and to permit resizing.\\nPlease push \"CANCEL\", "
            "when you cancel resizing.")),
        TMsgKind::Confirmation, TMsgButtons::OkCancel);
    if (r == TMsgResult::Ok) {
      InitReferencePoints();
    } else {
      if (FitToWindow1->isChecked()) FitToWindowClick();
      return;
    }
  }
  const int bx = 2 * kBorder, by = 2 * kBorder;
  int left = 0, top = 0, right = 0, bottom = 0;
  for (TCustomBound* o : FObjects->Items()) {
    TOverallPanel* p = o->Panel();
    p->hide();
    if (o->ReferenceValid) p->setGeometry(o->ReferenceLeft, o->ReferenceTop, o->ReferenceWidth, o->ReferenceHeight);
    left = qMin(left, p->x());
    top = qMin(top, p->y());
    right = qMax(right, p->x() + p->width());
    bottom = qMax(bottom, p->y() + p->height());
  }
  int W = FScrollBox->viewport()->width() - bx;
  int H = FScrollBox->viewport()->height() - by;
  if (W < 1) W = 10;
  if (H < 1) H = 10;
  const float sx = float((long double)W / (right - left));
  const float sy = float((long double)H / (bottom - top));
  const int grid = FScrollBox->GridSize();
  for (TCustomBound* o : FObjects->Items()) {
    TOverallPanel* p = o->Panel();
    const int l = p->x(), t = p->y(), w = p->width(), h = p->height();
    int L = RoundHalfEven((long double)l * sx), T = RoundHalfEven((long double)t * sy);
    int Wd = RoundHalfEven((long double)w * sx), Ht = RoundHalfEven((long double)h * sy);
    if (std::abs(L + Wd - W) < grid) Wd = W - L;
    if (std::abs(T + Ht - H) < grid) Ht = H - T;
    L = qMax(0, L);
    T = qMax(0, T);
    Wd = qMax(10, Wd);
    Ht = qMax(10, Ht);
    p->setGeometry(L, T, Wd, Ht);
    if (FitToGrid1->isChecked())
      o->SnapToGrid();
    else
      o->Arrange();
  }
}

void TProjectManager::FitToWindowClick() {
  FitToWindow1->setChecked(!FitToWindow1->isChecked());
  UpdateAnchorFollowing();
  if (FitToWindow1->isChecked()) FitObjectsToWindow(false);
  Restore1->setEnabled(!FitToWindow1->isChecked());
}

void TProjectManager::FullScreenClick() {
  FullScreen1->setChecked(!FullScreen1->isChecked());
  FShowHandlerAttached = false;
  if (FullScreen1->isChecked()) {
    FSavedBounds = QRect(pos(), size());
    showFullScreen();
  } else {
    showNormal();
    move(FSavedBounds.topLeft());
    resize(FSavedBounds.size());
  }
  FShowHandlerAttached = true;
  FitObjectsToWindow(false);
  // The window system applies the new size later: fit again when it comes.
  FFullScreenRefit = true;
}

void TProjectManager::HideMenuClick() {
  HideMenu1->setChecked(!HideMenu1->isChecked());
  if (HideMenu1->isChecked()) {
    menuBar()->hide();
    Timer1->start();
  } else {
    menuBar()->show();
  }
}

void TProjectManager::MenuRecallTick() {
  const QPoint p = centralWidget() ? centralWidget()->mapFromGlobal(QCursor::pos()) : mapFromGlobal(QCursor::pos());
  if (p.y() >= 1 && p.y() <= 23 && menuBar()->isHidden()) {
    menuBar()->show();
    Timer1->stop();
    HideMenu1->setChecked(false);
  }
}

void TProjectManager::changeEvent(QEvent* event) {
  // Maximizing, restoring and the like refit at their resize.
  if (event->type() == QEvent::WindowStateChange) FPendingRefit = true;
  QMainWindow::changeEvent(event);
}

void TProjectManager::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  const QSize old = event->oldSize();
  if (FAskingResize || !old.isValid() || old == event->size()) return;
  if (!ResizeAllowed()) {
    // A window system without size hints may resize anyway: put it back.
    QTimer::singleShot(0, this, [this, old] {
      if (!ResizeAllowed() && size() != old) resize(old);
    });
    return;
  }
  if (!Expert1->isChecked() && FitToWindow1->isChecked() && FDesignChanged) {
    // Ask once the resize event is over; a refusal puts the old size back.
    FAskingResize = true;
    QTimer::singleShot(0, this, [this, old] {
      const TMsgResult r = ShowMessage(
          Translate(QStringLiteral(
              "MSGID_PM003:Currently mode is following change of window size.\\nIn order to make the object added "
              "newly follow change of window size,\\nit is necessary to save the relative position information on "
              "all objects. \\nPlease push O.K., in order to save relative position information with "
              "\"InitReferencePoints\" and to permit resizing.\\nPlease push \"CANCEL\", when you cancel "
              "resizing.")),
          TMsgKind::Confirmation, TMsgButtons::OkCancel);
      if (r == TMsgResult::Ok) {
        InitReferencePoints();
        FitObjectsToWindow(false);
      } else {
        resize(old);
      }
      FAskingResize = false;
    });
    return;
  }
  if ((FPendingRefit && FitToWindow1->isChecked()) || FFullScreenRefit) FitObjectsToWindow(false);
  FPendingRefit = false;
  FFullScreenRefit = false;
  FResizeEnd->start();
}

void TProjectManager::ResizeEnded() {
  if (FitToWindow1->isChecked()) FitObjectsToWindow(false);
}
