#pragma once

#include <QDialog>
#include <QStringList>

#include "colors.h"

class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

// The five colour settings of the main window: its own text and background,
// the text and background of file panes and image objects ("client"), and
// whether those panes have a border.
struct TColorScheme {
  TColor MainFG = clWindowText;
  TColor MainBG = clBtnFace;
  TColor ClientFG = clWindowText;
  TColor ClientBG = clWindow;
  bool Border = true;
  bool operator==(const TColorScheme&) const = default;
};

// The fixed default scheme: the system's button face and window colours with
// window text, border on.
inline TColorScheme DefaultColorScheme() { return TColorScheme{}; }

// The "Color Prefences" dialog: the default scheme, a custom scheme and a list
// of named schemes kept in colors.txt in the program folder. The list is read
// when the dialog is made and written back when it closes, unless it is empty.
class TBgColorForm : public QDialog {
  Q_OBJECT
public:
  TBgColorForm(const QString& programFolder, const TColorScheme& current, QWidget* parent = nullptr);
  ~TBgColorForm() override;

  // Shows a new dialog modally. True when the user pressed OK; values then
  // hold the chosen scheme.
  static bool Open(const QString& programFolder, TColorScheme& values, QWidget* parent = nullptr);

  QString ColorsFile() const;
  TColorScheme CustomScheme() const { return FCustom; }
  // The default scheme while "Default" is selected, otherwise the custom one.
  TColorScheme ResultScheme() const;

  // The commands of the buttons, the check box and the list.
  void FGClick();
  void BGClick();
  void CLFGClick();
  void CLBGClick();
  void BorderClick();
  void AddClick();
  void DeleteClick();
  void ListViewClick();

  // A row of the list: name, main FG, client FG, main BG, client BG, border,
  // as the texts colors.txt holds.
  QStringList Row(int row) const;
  int RowCount() const;

  // Closing, whichever way, writes the list back.
  void done(int result) override;

  QRadioButton *rbDefault, *rbCustom;
  QFrame *Panel1, *Panel2;
  QLineEdit *Edit1, *Edit2, *Edit3;
  QCheckBox* cbBorder;
  QPushButton *btnFG, *btnBG, *btnCLFG, *btnCLBG;
  QTableWidget* ListView1;
  QPushButton *btnAdd, *btnDelete, *btnOK, *btnCancel;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void LoadSchemes();
  void SaveSchemes();
  void AddRow(const QStringList& fields);
  void ShowCustom();
  void ChooseCustomColor(TColor& value);
  int SelectedRow() const;

  QString FProgramFolder;
  TColorScheme FCustom;
  bool FSaved = false;
};

// A colour of colors.txt: 8 hexadecimal digits without a prefix. A text that
// is no such number reads as black.
QString SchemeColorText(TColor c);
TColor SchemeTextColor(const QString& text);
