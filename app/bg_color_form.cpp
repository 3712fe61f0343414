#include "bg_color_form.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "prompt_service.h"
#include "string_list_ex.h"

namespace {

// Where a row keeps its five value texts (on its "Name" item).
constexpr int kValuesRole = Qt::UserRole + 1;
enum : int { kMainFG, kClientFG, kMainBG, kClientBG, kBorder };

TColorScheme SchemeFromTexts(const QStringList& v) {
  TColorScheme s;
  s.MainFG = SchemeTextColor(v.value(kMainFG));
  s.ClientFG = SchemeTextColor(v.value(kClientFG));
  s.MainBG = SchemeTextColor(v.value(kMainBG));
  s.ClientBG = SchemeTextColor(v.value(kClientBG));
  s.Border = IsTrueWord(v.value(kBorder));
  return s;
}

// The "Main" and "Client" cells show "abc123" in the row's colours.
class TSchemeCellDelegate : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (index.column() == 0) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    const QStringList v = index.siblingAtColumn(0).data(kValuesRole).toStringList();
    const bool main = index.column() == 1;
    const QColor bg = ColorToQColor(SchemeTextColor(v.value(main ? kMainBG : kClientBG)));
    const QColor fg = ColorToQColor(SchemeTextColor(v.value(main ? kMainFG : kClientFG)));
    const QRect cell = option.rect.adjusted(0, 0, -2, 0);
    painter->save();
    painter->fillRect(cell, bg);
    painter->setPen(fg);
    painter->setFont(option.font);
    painter->drawText(cell.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("abc123"));
    painter->restore();
  }
};

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QLatin1String(name));
  b->setAutoDefault(false);
  return b;
}

QLineEdit* ClientArea(QWidget* parent, const char* name) {
  auto* e = new QLineEdit(QStringLiteral("Client Area"), parent);
  e->setObjectName(QLatin1String(name));
  e->setReadOnly(true);
  e->setFocusPolicy(Qt::NoFocus);
  return e;
}

}  // namespace

QString SchemeColorText(TColor c) { return ColorToText(c).mid(1); }

TColor SchemeTextColor(const QString& text) {
  TColor c;
  return TextToColor(u'$' + text, c) ? c : clBlack;
}

TBgColorForm::TBgColorForm(const QString& programFolder, const TColorScheme& current, QWidget* parent)
    : QDialog(parent), FProgramFolder(programFolder) {
  setObjectName(QStringLiteral("BgColorForm"));
  setWindowTitle(QStringLiteral("Color Prefences"));

  rbDefault = new QRadioButton(QStringLiteral("Default"), this);
  rbDefault->setObjectName(QStringLiteral("rbDefault"));
  rbCustom = new QRadioButton(QStringLiteral("Custom"), this);
  rbCustom->setObjectName(QStringLiteral("rbCustom"));

  const TColorScheme d = DefaultColorScheme();
  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameShape(QFrame::Panel);
  Panel1->setFrameShadow(QFrame::Raised);
  Panel1->setMinimumSize(160, 64);
  SetWidgetColors(Panel1, d.MainBG, d.MainFG);
  Edit1 = ClientArea(Panel1, "Edit1");
  SetWidgetColors(Edit1, d.ClientBG, d.ClientFG);
  (new QVBoxLayout(Panel1))->addWidget(Edit1);

  Panel2 = new QFrame(this);
  Panel2->setObjectName(QStringLiteral("Panel2"));
  Panel2->setFrameShape(QFrame::Panel);
  Panel2->setFrameShadow(QFrame::Raised);
  Panel2->setMinimumSize(160, 64);
  Edit2 = ClientArea(Panel2, "Edit2");
  (new QVBoxLayout(Panel2))->addWidget(Edit2);

  btnFG = Button(this, "btnFG", QStringLiteral("FG"));
  btnBG = Button(this, "btnBG", QStringLiteral("BG"));
  btnCLFG = Button(this, "btnCLFG", QStringLiteral("CLFG"));
  btnCLBG = Button(this, "btnCLBG", QStringLiteral("CLBG"));
  cbBorder = new QCheckBox(QStringLiteral("Border"), this);
  cbBorder->setObjectName(QStringLiteral("cbBorder"));

  ListView1 = new QTableWidget(0, 3, this);
  ListView1->setObjectName(QStringLiteral("ListView1"));
  ListView1->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Main"), QStringLiteral("Client")});
  ListView1->horizontalHeaderItem(1)->setTextAlignment(Qt::AlignCenter);
  ListView1->horizontalHeaderItem(2)->setTextAlignment(Qt::AlignCenter);
  ListView1->setColumnWidth(0, 125);
  ListView1->setColumnWidth(1, 75);
  ListView1->setColumnWidth(2, 75);
  ListView1->horizontalHeader()->setStretchLastSection(false);
  ListView1->verticalHeader()->hide();
  ListView1->setShowGrid(true);
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView1->setItemDelegate(new TSchemeCellDelegate(ListView1));
  ListView1->viewport()->installEventFilter(this);
  ListView1->setMinimumSize(125 + 75 + 75 + 2 * ListView1->frameWidth() + 20, 140);

  Edit3 = new QLineEdit(QStringLiteral("My Color"), this);
  Edit3->setObjectName(QStringLiteral("Edit3"));
  btnAdd = Button(this, "btnAdd", QStringLiteral("Add"));
  btnDelete = Button(this, "btnDelete", QStringLiteral("Delete"));
  btnDelete->setEnabled(false);
  btnOK = Button(this, "btnOK", QStringLiteral("OK"));
  btnCancel = Button(this, "btnCancel", QStringLiteral("CANCEL"));

  auto* schemes = new QGridLayout;
  schemes->addWidget(rbDefault, 0, 0);
  schemes->addWidget(rbCustom, 0, 1);
  schemes->addWidget(Panel1, 1, 0);
  schemes->addWidget(Panel2, 1, 1);
  auto* custom = new QHBoxLayout;
  for (QWidget* w : {static_cast<QWidget*>(btnFG), static_cast<QWidget*>(btnBG), static_cast<QWidget*>(btnCLFG),
                     static_cast<QWidget*>(btnCLBG), static_cast<QWidget*>(cbBorder)})
    custom->addWidget(w);
  schemes->addLayout(custom, 2, 0, 1, 2);
  auto* naming = new QHBoxLayout;
  naming->addWidget(Edit3, 1);
  naming->addWidget(btnAdd);
  naming->addWidget(btnDelete);
  auto* closing = new QHBoxLayout;
  closing->addStretch(1);
  closing->addWidget(btnOK);
  closing->addWidget(btnCancel);
  auto* all = new QVBoxLayout(this);
  all->addLayout(schemes);
  all->addWidget(ListView1, 1);
  all->addLayout(naming);
  all->addLayout(closing);

  connect(btnFG, &QPushButton::clicked, this, &TBgColorForm::FGClick);
  connect(btnBG, &QPushButton::clicked, this, &TBgColorForm::BGClick);
  connect(btnCLFG, &QPushButton::clicked, this, &TBgColorForm::CLFGClick);
  connect(btnCLBG, &QPushButton::clicked, this, &TBgColorForm::CLBGClick);
  connect(cbBorder, &QCheckBox::clicked, this, &TBgColorForm::BorderClick);
  connect(btnAdd, &QPushButton::clicked, this, &TBgColorForm::AddClick);
  connect(btnDelete, &QPushButton::clicked, this, &TBgColorForm::DeleteClick);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  LoadSchemes();
  FCustom = current;
  ShowCustom();
  rbDefault->setChecked(true);
  if (!(current == DefaultColorScheme())) rbCustom->setChecked(true);
}

TBgColorForm::~TBgColorForm() {
  // Released without being closed (its owner went away): the list still goes back.
  if (!FSaved) SaveSchemes();
}

bool TBgColorForm::Open(const QString& programFolder, TColorScheme& values, QWidget* parent) {
  TBgColorForm form(programFolder, values, parent);
  if (form.exec() != QDialog::Accepted) return false;
  values = form.ResultScheme();
  return true;
}

QString TBgColorForm::ColorsFile() const { return FProgramFolder + QStringLiteral("/colors.txt"); }

TColorScheme TBgColorForm::ResultScheme() const {
  return rbDefault->isChecked() ? DefaultColorScheme() : FCustom;
}

void TBgColorForm::done(int result) {
  if (!FSaved) SaveSchemes();
  QDialog::done(result);
}

void TBgColorForm::LoadSchemes() {
  TStringListEx lines;
  if (!QFileInfo::exists(ColorsFile()) || !lines.LoadFromFile(ColorsFile())) return;
  for (int i = 0; i < lines.Count(); ++i) {
    // Empty and short lines give no row.
    const QStringList fields = SplitCommaText(lines.Get(i));
    if (fields.size() >= 6) AddRow(fields.mid(0, 6));
  }
}

void TBgColorForm::SaveSchemes() {
  FSaved = true;
  if (RowCount() == 0) return;
  TStringListEx lines;
  for (int i = 0; i < RowCount(); ++i) lines.Add(JoinCommaText(Row(i)));
  lines.SaveToFile(ColorsFile());
}

void TBgColorForm::AddRow(const QStringList& fields) {
  const int r = ListView1->rowCount();
  ListView1->insertRow(r);
  auto* name = new QTableWidgetItem(fields.value(0));
  name->setData(kValuesRole, fields.mid(1, 5));
  ListView1->setItem(r, 0, name);
  ListView1->setItem(r, 1, new QTableWidgetItem);
  ListView1->setItem(r, 2, new QTableWidgetItem);
}

int TBgColorForm::RowCount() const { return ListView1->rowCount(); }

QStringList TBgColorForm::Row(int row) const {
  const QTableWidgetItem* name = ListView1->item(row, 0);
  if (!name) return {};
  return QStringList{name->text()} + name->data(kValuesRole).toStringList();
}

int TBgColorForm::SelectedRow() const {
  const QModelIndexList rows = ListView1->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void TBgColorForm::ShowCustom() {
  SetWidgetColors(Panel2, FCustom.MainBG, FCustom.MainFG);
  SetWidgetColors(Edit2, FCustom.ClientBG, FCustom.ClientFG);
  SetWidgetColors(rbCustom, FCustom.MainBG, FCustom.MainFG);
  Edit2->setFrame(FCustom.Border);
  cbBorder->setChecked(FCustom.Border);
  rbCustom->update();
}

void TBgColorForm::ChooseCustomColor(TColor& value) {
  Prompts().ChooseColor(value);
  ShowCustom();
  rbCustom->setChecked(true);
}

void TBgColorForm::FGClick() { ChooseCustomColor(FCustom.MainFG); }
void TBgColorForm::BGClick() { ChooseCustomColor(FCustom.MainBG); }
void TBgColorForm::CLFGClick() { ChooseCustomColor(FCustom.ClientFG); }
void TBgColorForm::CLBGClick() { ChooseCustomColor(FCustom.ClientBG); }

void TBgColorForm::BorderClick() {
  FCustom.Border = cbBorder->isChecked();
  ShowCustom();
  rbCustom->setChecked(true);
}

void TBgColorForm::AddClick() {
  // A line break in the name would split its line in colors.txt.
  QString name = Edit3->text();
  for (QChar& c : name)
    if (c == u'\r' || c == u'\n') c = u' ';
  AddRow({name, SchemeColorText(FCustom.MainFG), SchemeColorText(FCustom.ClientFG), SchemeColorText(FCustom.MainBG),
          SchemeColorText(FCustom.ClientBG), TrueFalseWord(FCustom.Border)});
}

void TBgColorForm::DeleteClick() {
  const int r = SelectedRow();
  if (r >= 0) ListView1->removeRow(r);
  btnDelete->setEnabled(SelectedRow() >= 0);
}

void TBgColorForm::ListViewClick() {
  const int r = SelectedRow();
  btnDelete->setEnabled(r >= 0);
  if (r >= 0) {
    FCustom = SchemeFromTexts(Row(r).mid(1));
    ShowCustom();
  }
  rbCustom->setChecked(true);
}

bool TBgColorForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListView1->viewport() && event->type() == QEvent::MouseButtonRelease) {
    // After the view has handled the press, so the selection is the new one.
    ListViewClick();
  }
  return QDialog::eventFilter(watched, event);
}
