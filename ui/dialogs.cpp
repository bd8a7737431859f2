#include "ui/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace quibel {

QString QtDialogs::OpenFileName(QWidget* parent, const QString& filter) {
  return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

bool QtDialogs::AskYesNo(QWidget* parent, const QString& text, const QString& caption) {
  return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}

void QtDialogs::ShowError(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox::critical(parent, caption, text);
}

}  // namespace quibel
