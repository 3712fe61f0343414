// The "&Relation Manager" command: the object list's Relation Manager shown
// over the project window, with the menus and the window size held still.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "bound_relater.h"
#include "grid_scroll_box.h"
#include "project_manager.h"

void TProjectManager::RelationClick() {
  if (FObjects->RelationManagerShown()) {
    FObjects->HideRelationManager();
    FScrollBox->show();
    setMinimumSize(FMinimumSizeBeforeRelations);
    setMaximumSize(FMaximumSizeBeforeRelations);
  } else {
    FObjects->ShowRelationManager(this);
    FScrollBox->hide();
    // The picture is of the window as it is; it keeps that size until the
    // manager closes.
    FMinimumSizeBeforeRelations = minimumSize();
    FMaximumSizeBeforeRelations = maximumSize();
    setFixedSize(size());
  }
  const bool shown = FObjects->RelationManagerShown();
  Relation1->setChecked(shown);
  for (QAction* a : menuBar()->actions())
    if (a != Objects1->menuAction() && a != Help1) a->setEnabled(!shown);
  for (QAction* a : Objects1->actions())
    if (a != Relation1) a->setEnabled(!shown);
}

bool TProjectManager::ResizeAllowed() const { return !Relation1->isChecked(); }
