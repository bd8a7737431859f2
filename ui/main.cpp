// The program entry: the main window, the preview window and the signature
// editor, and the message loop.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <exception>
#include <memory>

#include "ui/app_state.h"
#include "ui/clipboard_keeper.h"
#include "ui/dialogs.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/form_edit_sgn.h"
#include "ui/widgets.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString title = QString::fromUtf8(quibel::kApplicationTitle);
  QApplication::setApplicationName(QStringLiteral("quibel"));
  QGuiApplication::setDesktopFileName(QStringLiteral("quibel"));
  QApplication::setQuitOnLastWindowClosed(false);  // the main window alone ends the program
  try {
    QApplication::setWindowIcon(QIcon(quibel::ProgramIcon()));
    quibel::AppState state;
    quibel::QtDialogs dialogs;
    // Form1 first: its construction does the start-up work.
    quibel::TForm1 form1(state, dialogs, QApplication::arguments().mid(1, 1));
    quibel::TForm2 form2;
    quibel::TForm_edit_sgn form_edit_sgn(state, dialogs, form1.CheckBox_add_sgn, &form1);
    form1.setPreviewWindow(&form2);
    form1.setSignatureEditor(&form_edit_sgn);
    QObject::connect(&form1, &quibel::TForm1::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    form1.show();
    form1.Button_open->setFocus();
    QApplication::exec();
    form2.hide();
    if (form1.clipboardWasSet() && quibel::MustServeClipboard()) quibel::ServeClipboardUntilTaken();
  } catch (const std::exception& error) {
    QMessageBox::critical(nullptr, title, QString::fromLocal8Bit(error.what()));
  }
  return 0;
}
