#pragma once

#include <QDialog>

// The About box: title, the program's version and the credit line, which
// opens the home page when clicked.
class TAboutForm : public QDialog {
  Q_OBJECT
public:
  explicit TAboutForm(QWidget* parent);
};
