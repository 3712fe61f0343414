#pragma once

#include <functional>

#include <QDialog>

class QMenu;
class QMenuBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TDataFileManager;

// The Projects dialog: rename projects in place, delete and reorder them,
// then APPLY (or OK) writes the new project section.
class TForm2 : public QDialog {
  Q_OBJECT
public:
  explicit TForm2(QWidget* mainWindow);

  // Shows the dialog for a data file and fills it.
  void Open(TDataFileManager* dataFile, std::function<void(const QString& name)> onDoubleClick);
  // Fills the list from the data file again ("&Undo").
  void Fill();
  void Apply();
  // Adds rows for project lines stored since the list was filled.
  void AddMissingRows();
  void DeleteSelected();
  // Moves row `from` as a drop on row `onto` (-1: empty space below the rows).
  void MoveRow(int from, int onto);
  QStringList Names() const;  // first column, in order
  QStringList Counts() const;
  QString StoredName(int row) const;

  QTreeWidget* ListView1;
  QMenuBar* MainMenu;
  QMenu* PopupMenu1;
  QAction *Undo1, *Delete1, *PopDelete1;
  QPushButton *OkButton, *CancelButton, *ApplyButton;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void AddRow(const QString& name, const QString& records);
  TDataFileManager* FDataFile = nullptr;
  std::function<void(const QString&)> FOnDoubleClick;
};
