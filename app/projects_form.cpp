#include "projects_form.h"

#include <memory>

#include <QApplication>
#include <QDropEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "data_file_manager.h"
#include "environment.h"
#include "localize.h"
#include "string_list_ex.h"

namespace {

constexpr int kStoredNameRole = Qt::UserRole + 1;
constexpr int kLastNameRole = Qt::UserRole + 2;

// Grid lines under and beside every cell.
class TGridLineDelegate : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyledItemDelegate::paint(p, option, index);
    p->save();
    p->setPen(option.palette.color(QPalette::Mid));
    p->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    p->drawLine(option.rect.topRight(), option.rect.bottomRight());
    p->restore();
  }
};

class TReadOnlyDelegate : public TGridLineDelegate {
public:
  using TGridLineDelegate::TGridLineDelegate;
  QWidget* createEditor(QWidget*, const QStyleOptionViewItem&, const QModelIndex&) const override { return nullptr; }
};

}  // namespace

TForm2::TForm2(QWidget* mainWindow) : QDialog(mainWindow) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Projects"));
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setModal(false);
  resize(399, 370);

  MainMenu = new QMenuBar(this);
  Undo1 = MainMenu->addAction(QStringLiteral("&Undo"));
  Undo1->setObjectName(QStringLiteral("Undo1"));
  Delete1 = MainMenu->addAction(QStringLiteral("&Delete"));
  Delete1->setObjectName(QStringLiteral("Delete1"));
  PopupMenu1 = new QMenu(this);
  PopDelete1 = PopupMenu1->addAction(QStringLiteral("&Delete"));
  PopDelete1->setObjectName(QStringLiteral("PopDelete1"));

  ListView1 = new QTreeWidget(this);
  ListView1->setObjectName(QStringLiteral("ListView1"));
  ListView1->setColumnCount(2);
  ListView1->setHeaderLabels({QStringLiteral("Projects"), QStringLiteral("Objects")});
  ListView1->setColumnWidth(0, 200);
  ListView1->setColumnWidth(1, 100);
  ListView1->setRootIsDecorated(false);
  ListView1->setUniformRowHeights(true);
  ListView1->setAllColumnsShowFocus(true);
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  ListView1->setDragDropMode(QAbstractItemView::InternalMove);
  ListView1->setDragEnabled(true);
  ListView1->setAcceptDrops(true);
  ListView1->setDropIndicatorShown(true);
  ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
  ListView1->setItemDelegate(new TGridLineDelegate(ListView1));
  ListView1->viewport()->installEventFilter(this);

  OkButton = new QPushButton(QStringLiteral("OK"), this);
  CancelButton = new QPushButton(QStringLiteral("CANCEL"), this);
  ApplyButton = new QPushButton(QStringLiteral("APPLY"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OkButton);
  buttons->addWidget(CancelButton);
  buttons->addWidget(ApplyButton);
  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(MainMenu);
  layout->addWidget(ListView1);
  layout->addLayout(buttons);

  connect(Undo1, &QAction::triggered, this, &TForm2::Fill);
  connect(Delete1, &QAction::triggered, this, &TForm2::DeleteSelected);
  connect(PopDelete1, &QAction::triggered, this, &TForm2::DeleteSelected);
  connect(ListView1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { PopupMenu1->popup(ListView1->viewport()->mapToGlobal(p)); });
  connect(ApplyButton, &QPushButton::clicked, this, &TForm2::Apply);
  connect(OkButton, &QPushButton::clicked, this, [this] {
    Apply();
    close();
  });
  connect(CancelButton, &QPushButton::clicked, this, &QWidget::close);
  // Only names are edited, and a name never holds "=" (it would end the name early).
  ListView1->setItemDelegateForColumn(1, new TReadOnlyDelegate(ListView1));
  connect(ListView1, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
    if (column != 0) return;
    if (item->text(0).contains(u'=')) {
      QApplication::beep();
      item->setText(0, item->data(0, kLastNameRole).toString());
    } else {
      item->setData(0, kLastNameRole, item->text(0));
    }
  });
  connect(ListView1, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
    if (FOnDoubleClick) FOnDoubleClick(item->data(0, kStoredNameRole).toString());
  });

  // A localizer of its own, only for these menus.
  const TLocalize localize(Environment::ProgramFolder());
  localize.LocalizeMenu(MainMenu);
  localize.LocalizeMenu(PopupMenu1);
}

void TForm2::Open(TDataFileManager* dataFile, std::function<void(const QString&)> onDoubleClick) {
  FDataFile = dataFile;
  FOnDoubleClick = std::move(onDoubleClick);
  if (parentWidget()) move(parentWidget()->frameGeometry().center() - rect().center());
  show();
  raise();
  Fill();
}

void TForm2::Fill() {
  ListView1->clear();
  if (!FDataFile) return;
  const auto section = FDataFile->GetProjectSection();
  for (int i = 0; i < section->Count(); ++i) {
    const QString line = section->Get(i);
    const qsizetype eq = line.indexOf(u'=');
    const QString name = eq < 0 ? QString() : line.left(eq);
    AddRow(name, eq < 0 ? line : line.mid(eq + 1));
  }
  FDataFile->SetProjectSection(nullptr);
}

void TForm2::AddMissingRows() {
  if (!FDataFile) return;
  QStringList listed;
  for (int r = 0; r < ListView1->topLevelItemCount(); ++r) listed << StoredName(r).toLower();
  const auto section = FDataFile->GetProjectSection();
  for (int i = 0; i < section->Count(); ++i) {
    const QString line = section->Get(i);
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0 || listed.contains(line.left(eq).toLower())) continue;
    AddRow(line.left(eq), line.mid(eq + 1));
  }
  FDataFile->SetProjectSection(nullptr);
}

void TForm2::AddRow(const QString& name, const QString& records) {
  auto* item = new QTreeWidgetItem(ListView1, {name, QString::number(SplitCommaText(records).size())});
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsDragEnabled);
  item->setData(0, kStoredNameRole, name);
  item->setData(0, kLastNameRole, name);
}

void TForm2::Apply() {
  if (!FDataFile) return;
  const auto section = FDataFile->GetProjectSection();
  auto fresh = std::make_unique<TStringListEx>();
  for (int r = 0; r < ListView1->topLevelItemCount(); ++r) {
    QTreeWidgetItem* item = ListView1->topLevelItem(r);
    const int i = section->IndexOfName(item->data(0, kStoredNameRole).toString());
    if (i < 0) continue;
    const QString line = section->Get(i);
    fresh->Add(item->text(0) + u'=' + line.mid(line.indexOf(u'=') + 1));
    item->setData(0, kStoredNameRole, item->text(0));
  }
  FDataFile->SetProjectSection(std::move(fresh));
}

void TForm2::DeleteSelected() {
  const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
  for (QTreeWidgetItem* item : selected)
    std::unique_ptr<QTreeWidgetItem>(ListView1->takeTopLevelItem(ListView1->indexOfTopLevelItem(item)));
}

void TForm2::MoveRow(int from, int onto) {
  const int count = ListView1->topLevelItemCount();
  if (from < 0 || from >= count || onto == from || onto >= count) return;
  QTreeWidgetItem* moved = ListView1->takeTopLevelItem(from);
  // Onto a row above: take its place. Onto a row below: right after it, which
  // is its old index once the moved row is out. Below all rows: last.
  ListView1->insertTopLevelItem(onto < 0 ? ListView1->topLevelItemCount() : onto, moved);
  ListView1->setCurrentItem(moved);
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListView1->viewport() && event->type() == QEvent::Drop) {
    auto* drop = static_cast<QDropEvent*>(event);
    QTreeWidgetItem* current = ListView1->currentItem();
    if (current) {
      QTreeWidgetItem* target = ListView1->itemAt(drop->position().toPoint());
      MoveRow(ListView1->indexOfTopLevelItem(current), target ? ListView1->indexOfTopLevelItem(target) : -1);
    }
    drop->setDropAction(Qt::IgnoreAction);
    drop->accept();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

QStringList TForm2::Names() const {
  QStringList out;
  for (int r = 0; r < ListView1->topLevelItemCount(); ++r) out << ListView1->topLevelItem(r)->text(0);
  return out;
}

QStringList TForm2::Counts() const {
  QStringList out;
  for (int r = 0; r < ListView1->topLevelItemCount(); ++r) out << ListView1->topLevelItem(r)->text(1);
  return out;
}

QString TForm2::StoredName(int row) const {
  return ListView1->topLevelItem(row)->data(0, kStoredNameRole).toString();
}
