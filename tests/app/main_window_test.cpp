#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include "data_file_manager.h"
#include "project_manager.h"
#include "prompt_service.h"
#include "temp_world.h"

namespace {

// One line per menu entry: depth, object name, caption and marks
// (c = checkable, x = checked, h = hidden, d = disabled); "-" is a separator.
QStringList Describe(const QList<QAction*>& actions, int depth) {
  QStringList out;
  for (QAction* a : actions) {
    QString marks;
    if (a->isCheckable()) marks += u'c';
    if (a->isChecked()) marks += u'x';
    if (!a->isVisible()) marks += u'h';
    if (a->isVisible() && !a->isEnabled()) marks += u'd';
    const QString indent(depth * 2, u' ');
    if (a->isSeparator()) {
      out << indent + u'-';
      continue;
    }
    out << indent + a->objectName() + u' ' + a->text() + (marks.isEmpty() ? QString() : u' ' + marks);
    if (a->menu()) out << Describe(a->menu()->actions(), depth + 1);
  }
  return out;
}

}  // namespace

TEST(MainWindow, HasTheCompleteMainMenu) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  TProjectManager m(w.ProgramFolder());
  const QStringList expected{
      "File1 &File",
      "  New1 &New Project", "  Save1 &Save Project", "  -", "  Temp1 Temporary", "  -", "  About1 &About", "  -",
      "  Exit1 &Exit",
      "App1 &Application",
      "  PictureProcessing1 &Picture Processing", "    Nearest1 &Fast cx", "    Complement1 &High quality c",
      "  DragandDrop1 &Drag and Drop h", "    ConfirmRequest1 Confirm &Request c", "    Default1 &Default cx",
      "  CreateObjectbyDrop1 Create &Object by Drop c", "  Expert1 E&xpert c", "  -",
      "  Cursor1 &Cursor", "    Static1 &Static cx", "    Dynamic1 &Dynamic c",
      "  BackgroundColor1 Fore/Back Color", "  Bevels1 &Bevels cx", "  -", "  Locked1 &Locked c",
      "Projects1 &Projects", "  Maintenance1 &Maintenance", "  -",
      "Objects1 &Objects",
      "  Delete1 Delete d", "  -", "  TreeView1 &TreeView", "  mnuAddListView1 List&View", "  mnuAddLabel1 &Label",
      "  Image1 &Image", "  Application1 &Launcher", "  Thumbnail1 Thumb&nail", "  MemoPad1 Memo&Pad",
      "  DEBUG1 DEBUG h", "  -", "  Addon1 &Addon", "  Slave1 &Slave", "  -", "  Relation1 &Relation Manager c",
      "Window1 &Window",
      "  FitToGrid1 FitTo&Grid c", "  -", "  FitToWindow1 FitTo&Window c", "  FullScreen1 &FullScreen c",
      "  HideMenu1 &HideMenu c", "  -", "  InitReferencePoint1 &InitReferencePoints", "  Restore1 &Restore",
      "Help1 &Help",
  };
  EXPECT_EQ(Describe(m.menuBar()->actions(), 0), expected);
  EXPECT_EQ(m.Help1->shortcut(), QKeySequence(Qt::Key_F1));
  EXPECT_EQ(Describe(m.popFileControl->actions(), 0),
            (QStringList{"Copy1 Copy c", "Move1 Move c", "ShortCut1 ShortCut ch", "Cancel1 Cancel cx"}));
  EXPECT_EQ(m.windowTitle(), QStringLiteral("Deskloom"));
}

TEST(MainWindow, MenusAreLocalizedAtConstruction) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  w.Write(QStringLiteral("program/localize.txt"), "File=Datei\nNew Project=&Neues Projekt\nCopy=Kopieren\n");
  TProjectManager m(w.ProgramFolder());
  EXPECT_EQ(m.File1->menuAction()->text(), QStringLiteral("Datei(&F)"));
  EXPECT_EQ(m.New1->text(), QStringLiteral("&Neues Projekt"));
  EXPECT_EQ(m.popCopy->text(), QStringLiteral("Kopieren"));
}

TEST(MainWindow, StatusBarAndLockButton) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  TProjectManager m(w.ProgramFolder());
  m.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(m.StatusText(2), TProjectManager::CreditLine());
  EXPECT_EQ(m.StatusPanels[0]->width(), 25);
  EXPECT_EQ(m.StatusPanels[1]->width(), 100);
  EXPECT_EQ(m.btnLock->geometry().topLeft(), QPoint(1, 3));
  EXPECT_EQ(m.btnLock->height(), m.StatusBar1->height() - 4);
  const qint64 unlocked = m.btnLock->icon().cacheKey();
  m.btnLock->click();
  EXPECT_TRUE(m.Locked1->isChecked());
  EXPECT_EQ(m.StatusText(2), QString());  // locking deselects
  EXPECT_NE(m.btnLock->icon().cacheKey(), unlocked);
  m.Locked1->trigger();
  EXPECT_FALSE(m.Locked1->isChecked());
  EXPECT_EQ(m.btnLock->icon().cacheKey(), m.ImageList1[6].cacheKey());
}

TEST(MainWindow, LoadDefaultAtStartDisablesTheMenusUntilTheTimerFires) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  w.Write(QStringLiteral("program/zel32.ini"),
          "[QUORVANE -Deskloom v1.8 -]\r\n[Application]\r\nLoadDefaultAtStart=True\r\nProject=Photos\r\n"
          "[Project]\r\n");
  QPointer<TProjectManager> m = new TProjectManager(w.ProgramFolder());
  m->show();
  for (QAction* a : m->menuBar()->actions()) EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
  QTimer* timer = m->findChild<QTimer*>(QStringLiteral("StartTimer"));
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->interval(), 1500);
  ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
  EXPECT_EQ(m->windowTitle(), QStringLiteral("Photos (inherited)"));
  EXPECT_EQ(m->CurrentProject(), QStringLiteral("DEFAULT"));
  for (QAction* a : m->menuBar()->actions()) EXPECT_TRUE(a->isEnabled());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(m->findChild<QTimer*>(QStringLiteral("StartTimer")), nullptr);
  // While the current project is DEFAULT, Project keeps the last-project name.
  m->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(w.Read(QStringLiteral("program/zel32.ini")).contains("Project=Photos\r\n"));
}

TEST(MainWindow, FailedSaveAtExitAsksAndAbortKeepsTheProgramRunning) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  QPointer<TProjectManager> m = new TProjectManager(w.ProgramFolder());
  // A folder where zel32.ini should be: the save cannot replace it.
  QDir().mkpath(w.ProgramFolder() + QStringLiteral("/zel32.ini"));
  prompts->MessageAnswers = {TMsgResult::Ok, TMsgResult::Abort};
  EXPECT_FALSE(m->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_FALSE(m.isNull());
  EXPECT_EQ(prompts->Messages(),
            (QStringList{"zel32.ini saving process can not continue.",
                         "Environments Saving Fail.Press OK to exit the application.,Abort to prevent terminate."}));
  EXPECT_EQ(prompts->Calls[1].Buttons, TMsgButtons::OkAbort);
  EXPECT_FALSE(m->DataFile()->Quiet);
  // Once the obstacle is gone, closing works.
  QDir(w.ProgramFolder() + QStringLiteral("/zel32.ini")).removeRecursively();
  EXPECT_TRUE(m->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(m.isNull());
}

TEST(MainWindow, HelpWithoutAFileSaysSo) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  TProjectManager m(w.ProgramFolder());
  m.Help1->trigger();
  EXPECT_EQ(prompts->Messages(), QStringList{"Help file not found."});
}

TEST(MainWindow, DropQuestionForFilePanes) {
  TTempWorld w;
  TScopedScriptedPrompts prompts;
  TProjectManager m(w.ProgramFolder());
  int result = 2;
  m.ConfirmFileOperation(result);
  EXPECT_EQ(result, 2);  // Default: the pane's own choice stands
  m.ConfirmRequest1->trigger();
  for (QAction* pick : {static_cast<QAction*>(nullptr), m.popCopy, m.popMove}) {
    // Answer once the popup is up: choose an item, or dismiss it.
    QTimer answer;
    answer.setInterval(10);
    QObject::connect(&answer, &QTimer::timeout, &m, [&m, &answer, pick] {
      if (!m.popFileControl->isVisible()) return;
      answer.stop();
      if (pick) pick->trigger();
      m.popFileControl->close();
    });
    answer.start();
    m.ConfirmFileOperation(result);
    EXPECT_EQ(result, pick == m.popCopy ? 1 : pick == m.popMove ? 2 : 3);
  }
}
