#pragma once

#include <functional>
#include <memory>

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QUrl>

#include "colors.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;
class QToolButton;
class TBoundRelater;
#include "projects_form.h"
#include "custom_bound.h"
class TDataFileManager;
class TGauge;
class TPictureLoader;
class TGridScrollBox;
class TLocalize;
struct TColorScheme;

// The main window: owner of the data file, the settings, the menus and the
// project window (the grid scroll box).
class TProjectManager : public QMainWindow {
  Q_OBJECT
public:
  explicit TProjectManager(const QString& programFolder, QWidget* parent = nullptr);
  ~TProjectManager() override;

  TDataFileManager* DataFile() const { return FDataFile.get(); }
  TGridScrollBox* ScrollBox() const { return FScrollBox; }
  TPictureLoader* PictureLoader() const { return FPictureLoader; }

  // Data file notifications: bit 0 applies the settings, bit 1 rebuilds the
  // Projects menu; then the temporary folder is made to exist.
  void DataFileChanged(int code);

  // Settings of the [Application] section.
  void ApplySettings();
  void WriteSettings(int code);
  void ApplyWindowColors();
  QString DefaultTemporaryPath() const;

  // Projects.
  void OpenProject(const QString& name);
  void StoreProject(const QString& name, const QString& records);
  void StoreDefaultProject();
  QString UniqueProjectName() const;
  // The records of every object in list order, as comma text.
  QString ProjectRecords() const;
  void RebuildProjectsMenu();
  void ClearObjects();
  QString CurrentProject() const { return FCurrentProject; }
  QString LastProject() const { return FLastProject; }
  bool DesignChanged() const { return FDesignChanged; }
  // How many records the last opened project held that made no object.
  int UnopenedRecords() const { return FUnopenedRecords; }

  void SaveProject();
  void NewProjectClick();
  void MaintenanceClick();
  bool InputQueryEx(const QString& caption, const QString& prompt, QString& value, const QString& second);
  TForm2* ProjectsForm() const { return FProjectsForm; }

  // Layout of the project window.
  void FitObjectsToWindow(bool loading);
  void InitReferencePoints();
  void RestoreClick();
  void FullScreenClick();
  void HideMenuClick();
  void MenuRecallTick();
  QTimer* Timer1 = nullptr;

  // Files dropped on the window, and the services for the file panes.
  void DropFiles(const QStringList& files);
  void DropUrls(const QList<QUrl>& urls);
  void ConfirmFileOperation(int& result);
  void OpenPictureRequest(QObject* sender, const QString& file, const QStringList& files, const QString& kind);
  void AddonClick();

  // Objects.
  TBoundRelater* Objects() const { return FObjects.get(); }
  TCustomBound* CreateObject(const QString& record, bool loading);
  void SelectObject(TCustomBound* object);
  TCustomBound* SelectedObject() const { return FSelected; }
  void DeleteClick();
  void MoveObjectFirst(TCustomBound* object);
  void MoveObjectLast(TCustomBound* object);
  void ResolveAllRelations();
  bool FollowsAnchors() const;
  void UpdateAnchorFollowing();

  void ShowStatusText(const QString& text);
  QString StatusText(int panel) const;
  static QString CreditLine();
  static QString HomePage();

  // Settings state (menu check marks hold the rest).
  QString TemporaryPath() const { return FTemporaryPath; }
  bool LoggingFileOperation() const { return FLoggingFileOperation; }
  bool LoadDefaultAtStart() const { return FLoadDefaultAtStart; }
  bool DefaultPlugin() const { return FDefaultPlugin; }
  bool DynamicPath() const { return FDynamicPath; }
  TColor Color() const { return FColor; }
  TColor FontColor() const { return FFontColor; }
  TColor WindowTextColor() const { return FWindowTextColor; }
  TColor WindowBackgroundColor() const { return FWindowBackgroundColor; }
  bool WindowBorder() const { return FWindowBorder; }

  // The main menu, by the names the rest of the program uses.
  QMenu *File1, *App1, *PictureProcessing1, *DragandDrop1, *Cursor1, *Projects1, *Objects1, *Window1;
  QAction *New1, *Save1, *Temp1, *About1, *Exit1;
  QAction *Nearest1, *Complement1, *ConfirmRequest1, *Default1, *CreateObjectbyDrop1, *Expert1;
  QAction *Static1, *Dynamic1, *BackgroundColor1, *Bevels1, *Locked1;
  QAction *Maintenance1;
  QAction *Delete1, *TreeView1, *mnuAddListView1, *mnuAddLabel1, *Image1, *Application1, *Thumbnail1,
      *MemoPad1, *DEBUG1, *Addon1, *Slave1, *Relation1;
  QAction *FitToGrid1, *FitToWindow1, *FullScreen1, *HideMenu1, *InitReferencePoint1, *Restore1;
  QAction* Help1;

  // The drop confirmation popup: Copy, Move, ShortCut (hidden), Cancel.
  QMenu* popFileControl;
  QAction *popCopy, *popMove, *popShortCut, *popCancel;

  QStatusBar* StatusBar1;
  QLabel* StatusPanels[3];
  QToolButton* btnLock;
  // Button pictures: 0..2 for list panes, 5 locked, 6 unlocked.
  QList<QIcon> ImageList1;

  // Menu commands.
  void FitToGridClick();
  void FitToWindowClick();
  void BevelsClick();
  void ExpertClick();
  void LockedClick();
  void CreateObjectByDropClick();
  void SetCursorMode(bool dynamic);
  void SetPictureProcessing(bool fast);
  void FormClick();
  void CreateObjectFromMenu(const QString& keyword);
  void TemporaryClick();
  void HelpClick();
  void AboutClick();

  // The Relation Manager (project_manager_relations.cpp) and the colour schemes
  // (project_manager_colors.cpp).
  void RelationClick();
  // No resize while the Relation Manager is shown.
  bool ResizeAllowed() const;
  void BackgroundColorClick();
  // Takes the five colour settings and hands them to the objects.
  void ApplyColorScheme(const TColorScheme& scheme);

protected:
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildMenus();
  void BuildStatusBar();
  void BuildImageList();
  void SetTopMenusEnabled(bool enabled);
  void StartTimerFired();
  void ApplyMainColors();
  void EnsureTemporaryFolder();
  void ConnectSwitch(QAction* action, void (TProjectManager::*command)());

  QString FProgramFolder;
  std::unique_ptr<TLocalize> FOwnLocalize;
  std::unique_ptr<TPictureLoader> FOwnPictureLoader;
  TPictureLoader* FPictureLoader = nullptr;
  TGridScrollBox* FScrollBox = nullptr;
  TGauge* FGauge = nullptr;
  std::unique_ptr<TDataFileManager> FDataFile;
  std::unique_ptr<TBoundRelater> FObjects;
  QPointer<TCustomBound> FSelected;
  bool FDesignChanged = false;
  int FUnopenedRecords = 0;

  QString FCurrentProject;
  QString FLastProject;
  QString FTemporaryPath;
  bool FLoggingFileOperation = false;
  bool FLoadDefaultAtStart = false;
  bool FDefaultPlugin = false;
  bool FDynamicPath = false;
  TColor FColor = clBtnFace;
  TColor FFontColor = clWindowText;
  TColor FWindowTextColor = clWindowText;
  TColor FWindowBackgroundColor = clWindow;
  bool FWindowBorder = true;

  QPointer<TForm2> FProjectsForm;
  QRect FSavedBounds;            // the window before full screen
  bool FPendingRefit = false;    // a state change waits for its resize
  bool FFullScreenRefit = false;  // full screen switched: refit at the next resize
  bool FAskingResize = false;
  QSize FLastSize;
  QTimer* FResizeEnd = nullptr;  // fires once an interactive resize has ended
  void ResizeEnded();
  bool FShowHandlerAttached = true;
  bool FShownOnce = false;
  QPointer<QTimer> FStartTimer;
  // The window's size limits from before the Relation Manager fixed its size.
  QSize FMinimumSizeBeforeRelations, FMaximumSizeBeforeRelations;
};
