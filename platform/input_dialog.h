#pragma once

#include <QDialog>

class QLabel;
class QComboBox;

// The small input dialog: a prompt, an editable box with up to two
// suggestions, OK and Cancel.
class TForm4 : public QDialog {
  Q_OBJECT
public:
  TForm4(QWidget* parent, const QString& caption, const QString& prompt, const QString& value,
         const QString& second);
  QString Text() const;

  QLabel* Label1;
  QComboBox* ComboBox1;
};
