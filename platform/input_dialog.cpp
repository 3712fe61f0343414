#include "input_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TForm4::TForm4(QWidget* parent, const QString& caption, const QString& prompt, const QString& value,
               const QString& second)
    : QDialog(parent) {
  setWindowTitle(caption);
  setWindowFlag(Qt::WindowStaysOnTopHint);
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  Label1 = new QLabel(prompt, this);
  ComboBox1 = new QComboBox(this);
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->addItem(value);
  if (second != value) ComboBox1->addItem(second);
  ComboBox1->setEditText(value);
  ComboBox1->lineEdit()->selectAll();
  Label1->setBuddy(ComboBox1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(Label1);
  layout->addWidget(ComboBox1);
  layout->addWidget(buttons);
  resize(qMax(268, sizeHint().width()), qMax(93, sizeHint().height()));
}

QString TForm4::Text() const { return ComboBox1->currentText(); }
