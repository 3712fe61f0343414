#include "about_form.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

#include "paths.h"
#include "project_manager.h"

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutForm"));
  setWindowTitle(QStringLiteral("About"));
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel(QStringLiteral("ZEL-32s Deskloom"), this);
  QFont f = title->font();
  f.setPointSizeF(f.pointSizeF() * 1.6);
  f.setBold(true);
  title->setFont(f);
  title->setAlignment(Qt::AlignCenter);
  auto* rev = new QLabel(
      QStringLiteral("rev. ") + FileVersionText(QCoreApplication::applicationFilePath(), QStringLiteral("%d.%d.%d.%d")),
      this);
  rev->setObjectName(QStringLiteral("Revision"));
  rev->setAlignment(Qt::AlignCenter);
  auto* credit = new QLabel(QStringLiteral("<a href=\"%1\">%2</a>")
                                .arg(TProjectManager::HomePage().toHtmlEscaped(),
                                     TProjectManager::CreditLine().toHtmlEscaped()),
                            this);
  credit->setObjectName(QStringLiteral("Credit"));
  credit->setAlignment(Qt::AlignCenter);
  credit->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  connect(credit, &QLabel::linkActivated, this, [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(title);
  layout->addWidget(rev);
  layout->addWidget(credit);
  layout->addSpacing(8);
  layout->addWidget(buttons);
  setMinimumWidth(280);
}
