#include "project_manager.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "about_form.h"
#include "bound_relater.h"
#include "custom_bound.h"
#include "data_file_manager.h"
#include "gauge.h"
#include "register_kinds.h"
#include "environment.h"
#include "grid_scroll_box.h"
#include "localize.h"
#include "paths.h"
#include "picture_formats.h"
#include "picture_loader.h"
#include "prompt_service.h"

namespace {

QAction* AddItem(QMenu* menu, const char* name, const QString& caption, bool checkable = false,
                 bool checked = false) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(QLatin1String(name));
  a->setCheckable(checkable);
  a->setChecked(checked);
  return a;
}

QMenu* AddMenu(QWidget* owner, QMenuBar* bar, const char* name, const QString& caption) {
  auto* m = new QMenu(caption, owner);
  m->setObjectName(QLatin1String(name));
  m->menuAction()->setObjectName(QLatin1String(name));
  bar->addMenu(m);
  return m;
}

QMenu* AddSubMenu(QMenu* parent, const char* name, const QString& caption) {
  QMenu* m = parent->addMenu(caption);
  m->setObjectName(QLatin1String(name));
  m->menuAction()->setObjectName(QLatin1String(name));
  return m;
}

// A padlock drawn in the palette's text colour, for themes without one.
QIcon PadlockIcon(bool locked) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor c = QApplication::palette().color(QPalette::WindowText);
  p.setPen(QPen(c, 1.6));
  p.setBrush(Qt::NoBrush);
  if (locked)
    p.drawArc(QRectF(4.5, 1.5, 7, 8), 0, 180 * 16);
  else
    p.drawArc(QRectF(7.5, 0.5, 7, 8), 0, 180 * 16);
  p.drawLine(QPointF(4.5, 5.5), QPointF(4.5, 7.5));
  p.drawLine(QPointF(11.5, 5.5), QPointF(11.5, locked ? 7.5 : 4.5));
  p.setBrush(c);
  p.drawRoundedRect(QRectF(2.5, 7.5, 11, 7.5), 1.5, 1.5);
  return QIcon(pm);
}

QIcon ThemeIcon(std::initializer_list<const char*> names, const QIcon& fallback) {
  for (const char* n : names) {
    const QIcon i = QIcon::fromTheme(QLatin1String(n));
    if (!i.isNull()) return i;
  }
  return fallback;
}

}  // namespace

TProjectManager::TProjectManager(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent), FProgramFolder(programFolder) {
  setObjectName(QStringLiteral("ProjectManager"));
  setWindowTitle(QStringLiteral("Deskloom"));
  resize(600, 440);
  SetPromptParent(this);

  BuildImageList();
  BuildMenus();
  BuildStatusBar();

  // Window colours before any setting is read.
  FWindowTextColor = clWindowText;
  FWindowBackgroundColor = clWindow;
  FWindowBorder = true;

  if (!GlobalLocalize()) {
    FOwnLocalize = std::make_unique<TLocalize>(FProgramFolder);
    SetGlobalLocalize(FOwnLocalize.get());
  }

  // The one picture loader of the program, with the plug-ins beside it.
  if (!TPictureLoader::Current()) FOwnPictureLoader = std::make_unique<TPictureLoader>();
  FPictureLoader = TPictureLoader::Current();
  FPictureLoader->SetPluginDir(FProgramFolder);
  QStringList pluginExtensions;
  for (int i = 0; i < FPictureLoader->Extensions().Count(); ++i)
    pluginExtensions << FPictureLoader->Extensions().Get(i);
  SetExtraPictureExtensions(pluginExtensions);


  FScrollBox = new TGridScrollBox(this);
  setCentralWidget(FScrollBox);
  connect(FScrollBox, &TGridScrollBox::Clicked, this, &TProjectManager::FormClick);
  FGauge = new TGauge(this);
  FGauge->hide();
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &TProjectManager::MenuRecallTick);
  FResizeEnd = new QTimer(this);
  FResizeEnd->setSingleShot(true);
  FResizeEnd->setInterval(150);
  connect(FResizeEnd, &QTimer::timeout, this, &TProjectManager::ResizeEnded);
  ApplyMainColors();

  FDataFile = std::make_unique<TDataFileManager>(FProgramFolder);
  FObjects = std::make_unique<TBoundRelater>();
  static const bool kindsRegistered = (RegisterBuiltInKinds(), true);
  Q_UNUSED(kindsRegistered);

  GlobalLocalize()->LocalizeMenu(menuBar());
  GlobalLocalize()->LocalizeMenu(popFileControl);

  FDataFile->OnChange = [this](TDataFileManager*, int code) { DataFileChanged(code); };
  FDataFile->OnBeforeSave = [this](TDataFileManager*, int code) { WriteSettings(code); };
  FDataFile->Load();

  ShowStatusText(CreditLine());
  btnLock->setIcon(ImageList1.value(6));
}

TProjectManager::~TProjectManager() {
  ClearObjects();
  FObjects.reset();
  FOwnPictureLoader.reset();
  if (FOwnLocalize && GlobalLocalize() == FOwnLocalize.get()) SetGlobalLocalize(nullptr);
  if (PromptParent() == this) SetPromptParent(nullptr);
}

void TProjectManager::BuildImageList() {
  ImageList1.resize(7);
  ImageList1[0] = ThemeIcon({"go-up", "go-up-symbolic"}, QIcon());
  ImageList1[1] = ThemeIcon({"view-refresh", "view-refresh-symbolic"}, QIcon());
  ImageList1[2] = ThemeIcon({"go-home", "user-home", "go-home-symbolic"}, QIcon());
  ImageList1[5] = ThemeIcon({"object-locked", "changes-prevent", "changes-prevent-symbolic"}, PadlockIcon(true));
  ImageList1[6] = ThemeIcon({"object-unlocked", "changes-allow", "changes-allow-symbolic"}, PadlockIcon(false));
}

void TProjectManager::BuildMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));

  File1 = AddMenu(this, bar, "File1", QStringLiteral("&File"));
  New1 = AddItem(File1, "New1", QStringLiteral("&New Project"));
  Save1 = AddItem(File1, "Save1", QStringLiteral("&Save Project"));
  File1->addSeparator();
  Temp1 = AddItem(File1, "Temp1", QStringLiteral("Temporary"));
  File1->addSeparator();
  About1 = AddItem(File1, "About1", QStringLiteral("&About"));
  File1->addSeparator();
  Exit1 = AddItem(File1, "Exit1", QStringLiteral("&Exit"));

  App1 = AddMenu(this, bar, "App1", QStringLiteral("&Application"));
  PictureProcessing1 = AddSubMenu(App1, "PictureProcessing1", QStringLiteral("&Picture Processing"));
  Nearest1 = AddItem(PictureProcessing1, "Nearest1", QStringLiteral("&Fast"), true, true);
  Complement1 = AddItem(PictureProcessing1, "Complement1", QStringLiteral("&High quality"), true);
  auto* quality = new QActionGroup(this);
  quality->addAction(Nearest1);
  quality->addAction(Complement1);
  DragandDrop1 = AddSubMenu(App1, "DragandDrop1", QStringLiteral("&Drag and Drop"));
  DragandDrop1->menuAction()->setVisible(false);
  ConfirmRequest1 = AddItem(DragandDrop1, "ConfirmRequest1", QStringLiteral("Confirm &Request"), true);
  Default1 = AddItem(DragandDrop1, "Default1", QStringLiteral("&Default"), true, true);
  auto* dnd = new QActionGroup(this);
  dnd->addAction(ConfirmRequest1);
  dnd->addAction(Default1);
  CreateObjectbyDrop1 = AddItem(App1, "CreateObjectbyDrop1", QStringLiteral("Create &Object by Drop"), true);
  Expert1 = AddItem(App1, "Expert1", QStringLiteral("E&xpert"), true);
  App1->addSeparator();
  Cursor1 = AddSubMenu(App1, "Cursor1", QStringLiteral("&Cursor"));
  Static1 = AddItem(Cursor1, "Static1", QStringLiteral("&Static"), true, true);
  Dynamic1 = AddItem(Cursor1, "Dynamic1", QStringLiteral("&Dynamic"), true);
  auto* cursor = new QActionGroup(this);
  cursor->addAction(Static1);
  cursor->addAction(Dynamic1);
  BackgroundColor1 = AddItem(App1, "BackgroundColor1", QStringLiteral("Fore/Back Color"));
  Bevels1 = AddItem(App1, "Bevels1", QStringLiteral("&Bevels"), true, true);
  App1->addSeparator();
  Locked1 = AddItem(App1, "Locked1", QStringLiteral("&Locked"), true);

  Projects1 = AddMenu(this, bar, "Projects1", QStringLiteral("&Projects"));
  Maintenance1 = AddItem(Projects1, "Maintenance1", QStringLiteral("&Maintenance"));
  Projects1->addSeparator();

  Objects1 = AddMenu(this, bar, "Objects1", QStringLiteral("&Objects"));
  Delete1 = AddItem(Objects1, "Delete1", QStringLiteral("Delete"));
  Delete1->setEnabled(false);
  Objects1->addSeparator();
  TreeView1 = AddItem(Objects1, "TreeView1", QStringLiteral("&TreeView"));
  mnuAddListView1 = AddItem(Objects1, "mnuAddListView1", QStringLiteral("List&View"));
  mnuAddLabel1 = AddItem(Objects1, "mnuAddLabel1", QStringLiteral("&Label"));
  Image1 = AddItem(Objects1, "Image1", QStringLiteral("&Image"));
  Application1 = AddItem(Objects1, "Application1", QStringLiteral("&Launcher"));
  Thumbnail1 = AddItem(Objects1, "Thumbnail1", QStringLiteral("Thumb&nail"));
  MemoPad1 = AddItem(Objects1, "MemoPad1", QStringLiteral("Memo&Pad"));
  DEBUG1 = AddItem(Objects1, "DEBUG1", QStringLiteral("DEBUG"));
  DEBUG1->setVisible(false);
  Objects1->addSeparator();
  Addon1 = AddItem(Objects1, "Addon1", QStringLiteral("&Addon"));
  Slave1 = AddItem(Objects1, "Slave1", QStringLiteral("&Slave"));
  Objects1->addSeparator();
  Relation1 = AddItem(Objects1, "Relation1", QStringLiteral("&Relation Manager"), true);

  Window1 = AddMenu(this, bar, "Window1", QStringLiteral("&Window"));
  FitToGrid1 = AddItem(Window1, "FitToGrid1", QStringLiteral("FitTo&Grid"), true);
  Window1->addSeparator();
  FitToWindow1 = AddItem(Window1, "FitToWindow1", QStringLiteral("FitTo&Window"), true);
  FullScreen1 = AddItem(Window1, "FullScreen1", QStringLiteral("&FullScreen"), true);
  HideMenu1 = AddItem(Window1, "HideMenu1", QStringLiteral("&HideMenu"), true);
  Window1->addSeparator();
  InitReferencePoint1 = AddItem(Window1, "InitReferencePoint1", QStringLiteral("&InitReferencePoints"));
  Restore1 = AddItem(Window1, "Restore1", QStringLiteral("&Restore"));

  Help1 = bar->addAction(QStringLiteral("&Help"));
  Help1->setObjectName(QStringLiteral("Help1"));
  Help1->setShortcut(QKeySequence(Qt::Key_F1));
  Help1->setShortcutContext(Qt::ApplicationShortcut);
  addAction(Help1);

  popFileControl = new QMenu(this);
  popFileControl->setObjectName(QStringLiteral("popFileControl"));
  popCopy = AddItem(popFileControl, "Copy1", QStringLiteral("Copy"), true);
  popMove = AddItem(popFileControl, "Move1", QStringLiteral("Move"), true);
  popShortCut = AddItem(popFileControl, "ShortCut1", QStringLiteral("ShortCut"), true);
  popShortCut->setVisible(false);
  popCancel = AddItem(popFileControl, "Cancel1", QStringLiteral("Cancel"), true, true);
  auto* pop = new QActionGroup(this);
  for (QAction* a : {popCopy, popMove, popShortCut, popCancel}) pop->addAction(a);

  connect(Exit1, &QAction::triggered, this, &QWidget::close);
  connect(Relation1, &QAction::triggered, this, &TProjectManager::RelationClick);
  connect(BackgroundColor1, &QAction::triggered, this, &TProjectManager::BackgroundColorClick);
  connect(New1, &QAction::triggered, this, &TProjectManager::NewProjectClick);
  connect(Save1, &QAction::triggered, this, &TProjectManager::SaveProject);
  connect(Maintenance1, &QAction::triggered, this, &TProjectManager::MaintenanceClick);
  connect(Addon1, &QAction::triggered, this, &TProjectManager::AddonClick);
  connect(InitReferencePoint1, &QAction::triggered, this, &TProjectManager::InitReferencePoints);
  connect(Restore1, &QAction::triggered, this, &TProjectManager::RestoreClick);
  ConnectSwitch(FullScreen1, &TProjectManager::FullScreenClick);
  ConnectSwitch(HideMenu1, &TProjectManager::HideMenuClick);
  connect(Delete1, &QAction::triggered, this, &TProjectManager::DeleteClick);
  const std::pair<QAction*, const char*> kinds[] = {
      {TreeView1, "treeview"}, {mnuAddListView1, "listview"}, {mnuAddLabel1, "label"}, {Image1, "image"},
      {Application1, "app"},   {Thumbnail1, "thumbnail"},     {MemoPad1, "memopad"},   {DEBUG1, "debug"},
      {Slave1, "slave"}};
  for (const auto& [item, keyword] : kinds) {
    const QString k = QLatin1String(keyword);
    connect(item, &QAction::triggered, this, [this, k] { CreateObjectFromMenu(k); });
  }
  connect(Temp1, &QAction::triggered, this, &TProjectManager::TemporaryClick);
  connect(About1, &QAction::triggered, this, &TProjectManager::AboutClick);
  connect(Help1, &QAction::triggered, this, &TProjectManager::HelpClick);
  connect(Nearest1, &QAction::triggered, this, [this] { SetPictureProcessing(true); });
  connect(Complement1, &QAction::triggered, this, [this] { SetPictureProcessing(false); });
  ConnectSwitch(CreateObjectbyDrop1, &TProjectManager::CreateObjectByDropClick);
  ConnectSwitch(Expert1, &TProjectManager::ExpertClick);
  connect(Static1, &QAction::triggered, this, [this] { SetCursorMode(false); });
  connect(Dynamic1, &QAction::triggered, this, [this] { SetCursorMode(true); });
  ConnectSwitch(Bevels1, &TProjectManager::BevelsClick);
  ConnectSwitch(Locked1, &TProjectManager::LockedClick);
  ConnectSwitch(FitToGrid1, &TProjectManager::FitToGridClick);
  ConnectSwitch(FitToWindow1, &TProjectManager::FitToWindowClick);
}

// The switch commands toggle their check themselves, like the lock button
// that shares one of them; Qt's own toggle of a triggered action is undone first.
void TProjectManager::ConnectSwitch(QAction* action, void (TProjectManager::*command)()) {
  connect(action, &QAction::triggered, this, [this, action, command] {
    action->setChecked(!action->isChecked());
    (this->*command)();
  });
}

void TProjectManager::BuildStatusBar() {
  StatusBar1 = statusBar();
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(true);
  const int widths[3] = {25, 100, 50};
  for (int i = 0; i < 3; ++i) {
    StatusPanels[i] = new QLabel(StatusBar1);
    StatusPanels[i]->setObjectName(QStringLiteral("Panel%1").arg(i));
    StatusPanels[i]->setFrameShape(QFrame::StyledPanel);
    StatusPanels[i]->setFrameShadow(QFrame::Sunken);
    StatusPanels[i]->setMinimumWidth(widths[i]);
    if (i < 2) StatusPanels[i]->setFixedWidth(widths[i]);
    StatusBar1->addWidget(StatusPanels[i], i == 2 ? 1 : 0);
  }
  btnLock = new QToolButton(StatusBar1);
  btnLock->setObjectName(QStringLiteral("btnLock"));
  btnLock->setAutoRaise(true);
  btnLock->setFocusPolicy(Qt::NoFocus);
  btnLock->setToolTip(tr("Lock or unlock the objects"));
  connect(btnLock, &QToolButton::clicked, this, &TProjectManager::LockedClick);
  StatusBar1->installEventFilter(this);
}

bool TProjectManager::eventFilter(QObject* watched, QEvent* event) {
  if (watched == StatusBar1) {
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show || event->type() == QEvent::LayoutRequest) {
      // The lock button sits over the first panel.
      btnLock->setGeometry(1, 3, StatusPanels[0]->geometry().right() + 1, qMax(8, StatusBar1->height() - 4));
      btnLock->raise();
    } else if (event->type() == QEvent::MouseButtonDblClick) {
      if (StatusPanels[2]->text() == CreditLine()) QDesktopServices::openUrl(QUrl(HomePage()));
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

QString TProjectManager::CreditLine() { return QStringLiteral("Deskloom by QUORVANE"); }
QString TProjectManager::HomePage() { return QStringLiteral("https://quorvane.example/deskloom/"); }

void TProjectManager::ShowStatusText(const QString& text) { StatusPanels[2]->setText(text); }
QString TProjectManager::StatusText(int panel) const { return StatusPanels[panel]->text(); }

void TProjectManager::DataFileChanged(int code) {
  if (code & 1) ApplySettings();
  if (code & 2) RebuildProjectsMenu();
  EnsureTemporaryFolder();
}

void TProjectManager::EnsureTemporaryFolder() {
  if (QFileInfo(FTemporaryPath).isDir()) return;
  if (FTemporaryPath.isEmpty() || !QDir().mkpath(FTemporaryPath)) FTemporaryPath = DefaultTemporaryPath();
}

QString TProjectManager::DefaultTemporaryPath() const {
  const QString system = PathFromDisplayName(Environment::SystemTempFolder().left(261));
  return (system.endsWith(u'/') ? system : system + u'/') + QStringLiteral("quorvane_zel32");
}

void TProjectManager::SetTopMenusEnabled(bool enabled) {
  for (QAction* a : menuBar()->actions()) a->setEnabled(enabled);
}

void TProjectManager::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!FShowHandlerAttached || FShownOnce) return;
  FShownOnce = true;
  if (!FLoadDefaultAtStart) return;
  SetTopMenusEnabled(false);
  FStartTimer = new QTimer(this);
  FStartTimer->setObjectName(QStringLiteral("StartTimer"));
  FStartTimer->setSingleShot(true);
  FStartTimer->setInterval(1500);
  connect(FStartTimer, &QTimer::timeout, this, &TProjectManager::StartTimerFired);
  FStartTimer->start();
}

void TProjectManager::StartTimerFired() {
  QTimer* timer = FStartTimer;
  if (timer) timer->stop();
  OpenProject(QStringLiteral("DEFAULT"));
  setWindowTitle(FLastProject + QStringLiteral(" (inherited)"));
  FCurrentProject = QStringLiteral("DEFAULT");
  SetTopMenusEnabled(true);
  // A timer may not be freed inside its own event.
  if (timer) timer->deleteLater();
}

void TProjectManager::closeEvent(QCloseEvent* event) {
  struct TQuietScope {
    TDataFileManager* D;
    explicit TQuietScope(TDataFileManager* d) : D(d) { D->Quiet = true; }
    ~TQuietScope() { D->Quiet = false; }
  } quiet(FDataFile.get());
  StoreDefaultProject();
  if (!FDataFile->Save(false)) {
    const TMsgResult r = ShowMessage(
        Translate(QStringLiteral("MSGID_PM004:Environments Saving Fail.Press OK to exit the application.,Abort "
                                 "to prevent terminate.")),
        TMsgKind::Warning, TMsgButtons::OkAbort);
    if (r != TMsgResult::Ok) {
      event->ignore();
      return;
    }
  }
  setAttribute(Qt::WA_DeleteOnClose);
  event->accept();
}

void TProjectManager::RebuildProjectsMenu() {
  const QList<QAction*> items = Projects1->actions();
  for (int i = 2; i < items.size(); ++i) {
    Projects1->removeAction(items[i]);
    items[i]->deleteLater();
  }
  auto section = FDataFile->GetProjectSection();
  for (int i = 0; i < section->Count(); ++i) {
    const QString line = section->Get(i);
    const qsizetype eq = line.indexOf(u'=');
    const QString name = eq < 0 ? QString() : line.left(eq);
    if (name.isEmpty()) continue;
    QAction* a = Projects1->addAction(name);
    // The name travels in the item's data: a style may add accelerators to its text.
    a->setData(name);
    connect(a, &QAction::triggered, this, [this, a] {
      StoreDefaultProject();
      OpenProject(a->data().toString());
    });
  }
  FDataFile->SetProjectSection(nullptr);
}

void TProjectManager::ApplyMainColors() {
  QPalette p = palette();
  p.setColor(QPalette::Window, ColorToQColor(FColor));
  p.setColor(QPalette::WindowText, ColorToQColor(FFontColor));
  FScrollBox->setPalette(p);
  FScrollBox->setFont(font());
}


void TProjectManager::TemporaryClick() {
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(FTemporaryPath)))
    ShowMessage(Translate(QStringLiteral("MSGID_PM204:No program to open this folder was found:\\n")) +
                FTemporaryPath);
}

void TProjectManager::HelpClick() {
  const QString help = FProgramFolder + QStringLiteral("/zel32s.chm");
  if (QFileInfo::exists(help))
    QDesktopServices::openUrl(QUrl::fromLocalFile(help));
  else
    ShowMessage(Translate(QStringLiteral("MSGID_PM203:Help file not found.")));
}

void TProjectManager::AboutClick() {
  TAboutForm form(this);
  form.exec();
}
