// Saves pictures of the three windows, as a user sees them with a reply
// loaded: quibel-screenshots OUTPUT_FOLDER REPLY_FILE
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>

#include "ui/app_state.h"
#include "ui/dialogs.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/form_edit_sgn.h"
#include "ui/widgets.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: quibel-screenshots OUTPUT_FOLDER REPLY_FILE\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  quibel::AppState state;
  quibel::QtDialogs dialogs;
  quibel::TForm1 form1(state, dialogs, {QString::fromLocal8Bit(argv[2])});
  quibel::TForm2 form2;
  quibel::TForm_edit_sgn editor(state, dialogs, form1.CheckBox_add_sgn, &form1);
  form1.setPreviewWindow(&form2);
  form1.setSignatureEditor(&editor);
  form1.show();
  form1.Button_prevClick();
  editor.show();
  editor.Memo1->setPlainText(QStringLiteral("-- \n　山田　太郎\n　yamada@example.jp"));
  bool ok = true;
  QTimer::singleShot(500, [&] {
    ok = form1.grab().save(out.filePath(QStringLiteral("main-window.png"))) &&
         form2.grab().save(out.filePath(QStringLiteral("preview-window.png"))) &&
         editor.grab().save(out.filePath(QStringLiteral("signature-editor.png")));
    editor.hide();
    QCoreApplication::quit();
  });
  QApplication::exec();
  return ok ? 0 : 1;
}
