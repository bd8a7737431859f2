// The windows as a user drives them, on the offscreen platform.
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "settings/settings_file.h"
#include "ui/app_state.h"
#include "ui/dialogs.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/form_edit_sgn.h"
#include "ui/shift_jis.h"
#include "ui/widgets.h"

namespace quibel {

// Answers the boxes as a test says, and notes what was asked.
class FakeDialogs : public Dialogs {
 public:
  QString open_answer;
  bool yes = true;
  QStringList seen;
  QString OpenFileName(QWidget*, const QString& filter) override {
    seen << "open " + filter;
    return open_answer;
  }
  bool AskYesNo(QWidget*, const QString& text, const QString& caption) override {
    seen << "ask " + caption + ": " + text;
    return yes;
  }
  void ShowError(QWidget*, const QString& caption, const QString& text) override {
    seen << "error " + caption + ": " + text;
  }
};

// The three windows, created as the program entry creates them.
struct Program {
  AppState state;
  FakeDialogs dialogs;
  std::unique_ptr<TForm1> form1;
  std::unique_ptr<TForm2> form2;
  std::unique_ptr<TForm_edit_sgn> editor;
  explicit Program(const QStringList& args) {
    form1 = std::make_unique<TForm1>(state, dialogs, args);
    form2 = std::make_unique<TForm2>();
    editor = std::make_unique<TForm_edit_sgn>(state, dialogs, form1->CheckBox_add_sgn, form1.get());
    form1->setPreviewWindow(form2.get());
    form1->setSignatureEditor(editor.get());
    form1->show();
  }
  // Opens the signature editor and lets `act` work in it while it is modal.
  void InEditor(const std::function<void()>& act) {
    QTimer::singleShot(0, [this, act] {
      act();
      if (editor->isVisible()) editor->reject();  // a failed check must not leave it open
    });
    form1->Button_edit_sgnClick();
  }
};

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

QByteArray Sj(const char* utf8) {
  return QByteArray::fromStdString(ToShiftJis(QString::fromUtf8(utf8)).value());
}

class WindowTest : public QObject {
  Q_OBJECT
  QTemporaryDir config_;
  QTemporaryDir work_;
  QString Config(const char* name) const { return config_.filePath(QStringLiteral("quibel/") + name); }
  QString Work(const char* name) const { return work_.filePath(QString::fromLatin1(name)); }

 private slots:
  void initTestCase() {
    qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit());
  }
  void init() {
    QDir(config_.filePath(QStringLiteral("quibel"))).removeRecursively();
    QGuiApplication::clipboard()->clear();
    QFile::remove(Work("RES_OUT.TXT"));
    WriteAll(Work("reply.txt"), Sj("> 引用です\r\n>> 深い引用\r\n本文です\r\n"));
  }

  void startsWithAFileArgument() {
    Program p({Work("reply.txt"), Work("second.txt")});
    QCOMPARE(p.form1->Label_fname->text(), Work("reply.txt"));
    QCOMPARE(p.form1->Label_lines->text(), QStringLiteral("ファイルの行数 : 3行"));
    QCOMPARE(p.form1->Label_max_ref->text(), QStringLiteral("Ｒｅｓの深さ : 2階層"));
    QCOMPARE(p.form1->SpinEdit_limit->value(), 12);
    QVERIFY(p.form1->CheckBox_gyoutou->isChecked());
    QCOMPARE(p.form1->RadioGroup_out_sel->itemIndex(), 0);
    p.form1->Button_save->click();
    QVERIFY(!p.form1->isVisible());
    QCOMPARE(ReadAll(Work("RES_OUT.TXT")), Sj(">>    引用です\r\n>>>   深い引用\r\n>     本文です\r\n\r\n"));
  }

  void startsWithAMissingFile() {
    Program p({Work("none.txt")});
    QCOMPARE(p.form1->Label_lines->text(), QStringLiteral("ファイルの行数 : 0行"));
    QCOMPARE(p.form1->SpinEdit_limit->value(), 0);
    p.form1->Button_save->click();
    QVERIFY(p.form1->isVisible());
    QVERIFY(!QFile::exists(Work("RES_OUT.TXT")));
  }

  void startsWithNothing() {
    Program p({});
    QCOMPARE(p.form1->Label_lines->text(), QStringLiteral("ファイルの行数"));
    QCOMPARE(p.form1->Label_max_ref->text(), QStringLiteral("Ｒｅｓの深さ"));
    QVERIFY(p.form1->Label_fname->text().isEmpty());
    p.form1->Button_save->click();
    QVERIFY(p.form1->isVisible());
    p.form1->Button_prev->click();
    QVERIFY(p.form2->isVisible());
    QVERIFY(p.form2->Memo1->toPlainText().isEmpty());
    // Closing at once writes the design defaults: 46 bytes.
    p.form1->close();
    QCOMPARE(ReadAll(Config("QUIBEL.CFG")),
             QByteArray::fromStdString(SerializeSettings(StoredSettings{})));
    QCOMPARE(ReadAll(Config("QUIBEL.CFG")).size(), 46);
  }

  void clipboardStartRunsBackToTheClipboard() {
    QGuiApplication::clipboard()->setText(QStringLiteral("> 引用\n本文\n"));
    Program p({});
    QCOMPARE(p.form1->Label_fname->text(), QStringLiteral("クリップボードにコピーされたテキストを編集中"));
    QCOMPARE(p.form1->RadioGroup_out_sel->itemIndex(), 2);
    p.form1->RadioGroup_out_sel->setItemIndex(1);  // over the source: still the clipboard
    p.form1->Button_save->click();
    QVERIFY(!p.form1->isVisible());
    QVERIFY(p.form1->clipboardWasSet());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral(">>  引用\r\n>   本文\r\n\r\n"));
  }

  void runsOverTheSource() {
    Program p({Work("reply.txt")});
    p.form1->RadioGroup_out_sel->setItemIndex(1);
    p.form1->CheckBox_add->setChecked(false);
    p.form1->Button_save->click();
    QCOMPARE(ReadAll(Work("reply.txt")), Sj(">    引用です\r\n>>   深い引用\r\n     本文です\r\n\r\n"));
  }

  void previewTwiceShowsOnlyTheLastRun() {
    Program p({Work("reply.txt")});
    p.form1->Button_prev->click();
    p.form2->close();
    QVERIFY(!p.form2->isVisible());
    p.form1->CheckBox_add->setChecked(false);
    p.form1->CheckBox_dan->setChecked(false);
    p.form1->Button_prev->click();
    QVERIFY(p.form2->isVisible());
    QCOMPARE(p.form2->Memo1->toPlainText(), QStringLiteral(">  引用です\n>> 深い引用\n   本文です\n"));
    QCOMPARE(p.form2->Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
    QVERIFY(p.form2->Memo1->isReadOnly());
  }

  void settingsComeBackAtTheNextStart() {
    {
      Program p({});
      p.form1->CheckBox_cr->setChecked(true);
      p.form1->RadioGroup_date_sel->setItemIndex(1);
      p.form1->Edit_inhibit->setText(QStringLiteral("■"));
      p.form1->close();
    }
    Program p({});
    QVERIFY(p.form1->CheckBox_cr->isChecked());
    QCOMPARE(p.form1->RadioGroup_date_sel->itemIndex(), 1);
    QCOMPARE(p.form1->Edit_inhibit->text(), QStringLiteral("■"));
    QCOMPARE(p.form1->CheckBox_add_sgn->text(), QStringLiteral("ｼｸﾞﾈﾁｬ1を付ける"));
  }

  void failedWriteKeepsTheWindowOpen() {
    QDir(work_.path()).mkdir(QStringLiteral("RES_OUT.TXT"));  // a folder where the file goes
    Program p({Work("reply.txt")});
    p.form1->Button_save->click();
    QVERIFY(p.form1->isVisible());
    QCOMPARE(p.dialogs.seen.size(), 1);
    QVERIFY(p.dialogs.seen[0].contains(QStringLiteral("RES_OUT.TXT")));
    QVERIFY(!QFile::exists(Config("QUIBEL.CFG")));
    QDir(work_.path()).rmdir(QStringLiteral("RES_OUT.TXT"));
  }

  void aCutSourceIsNamedAndNeverWrittenOver() {
    const QByteArray big = QByteArray("a\r\n").repeated(50000);
    WriteAll(Work("big.txt"), big);
    Program p({Work("big.txt")});
    QVERIFY(p.form1->Label_fname->text().contains(QStringLiteral("129024")));
    p.form1->RadioGroup_out_sel->setItemIndex(1);
    p.form1->Button_save->click();
    QVERIFY(p.form1->isVisible());
    QCOMPARE(ReadAll(Work("big.txt")), big);
    QCOMPARE(p.dialogs.seen.size(), 1);
  }

  void aClipboardTextTooLongIsSaid() {
    QGuiApplication::clipboard()->setText(QString(130000, u'a'));
    Program p({});
    QVERIFY(p.form1->Label_fname->text().contains(QStringLiteral("129024")));
    QCOMPARE(p.form1->Label_lines->text(), QStringLiteral("ファイルの行数 : 0行"));
  }

  void unmappableTextIsRefused() {
    Program p({});
    p.form1->Edit_inhibit->setText(QStringLiteral("--"));
    p.form1->Edit_inhibit->setCursorPosition(2);
    p.form1->Edit_inhibit->insert(QStringLiteral("😀"));
    QCOMPARE(p.form1->Edit_inhibit->text(), QStringLiteral("--"));
    QTRY_COMPARE(p.dialogs.seen.size(), 1);
    QVERIFY(p.dialogs.seen[0].contains(QStringLiteral("U+1F600")));
    p.editor->Memo1->setFocus();
    QTest::keyClicks(p.editor->Memo1, QStringLiteral("ab"));
    auto* mime = new QMimeData;
    mime->setText(QStringLiteral("x😀"));
    QGuiApplication::clipboard()->setMimeData(mime);
    p.editor->Memo1->paste();
    QCOMPARE(p.editor->Memo1->toPlainText(), QStringLiteral("ab"));
  }

  void signatureEditorSwitchesAndSaves() {
    QDir().mkpath(config_.filePath(QStringLiteral("quibel")));
    WriteAll(Config("QUIBEL.SGN"), Sj("一つ目\r\n"));
    WriteAll(Config("QUIBEL.SG2"), Sj("二つ目\r\n"));
    Program p({});
    // Switch with Yes: the edit goes to the first file, the second shows.
    p.dialogs.yes = true;
    p.InEditor([&] {
      QCOMPARE(p.editor->Memo1->toPlainText(), QStringLiteral("一つ目"));
      p.editor->Memo1->appendPlainText(QStringLiteral("追加"));
      p.editor->RadioGroup_sgn_sel->item(1)->click();
      QCOMPARE(p.editor->Memo1->toPlainText(), QStringLiteral("二つ目"));
      p.editor->BitBtn2->click();  // Cancel after a switch keeps the slot
    });
    QCOMPARE(ReadAll(Config("QUIBEL.SGN")), Sj("一つ目\r\n追加\r\n"));
    QCOMPARE(p.state.SignatureSlot, 1);
    QCOMPARE(p.form1->CheckBox_add_sgn->text(), QStringLiteral("ｼｸﾞﾈﾁｬ2を付ける"));
    QVERIFY(p.dialogs.seen.last().contains(QStringLiteral("保存しておきますか？")));
    // Switch with No: nothing is written.
    p.dialogs.yes = false;
    p.InEditor([&] {
      QCOMPARE(p.editor->RadioGroup_sgn_sel->itemIndex(), 1);
      p.editor->Memo1->appendPlainText(QStringLiteral("捨てる"));
      p.editor->RadioGroup_sgn_sel->item(0)->click();
      p.editor->BitBtn2->click();
    });
    QCOMPARE(ReadAll(Config("QUIBEL.SG2")), Sj("二つ目\r\n"));
    // OK on an empty memo writes 0 bytes.
    p.InEditor([&] {
      p.editor->Memo1->clear();
      p.editor->BitBtn1->click();
    });
    QVERIFY(QFile::exists(Config("QUIBEL.SGN")));
    QCOMPARE(ReadAll(Config("QUIBEL.SGN")).size(), 0);
  }

  void signatureThatCannotBeLoadedIsNeverWrittenOver() {
    QDir().mkpath(config_.filePath(QStringLiteral("quibel")));
    const QByteArray broken("ok\r\n\x82", 5);  // ends inside a double-byte character
    WriteAll(Config("QUIBEL.SGN"), broken);
    Program p({});
    p.InEditor([&] {
      QVERIFY(!p.editor->BitBtn1->isEnabled());
      p.editor->BitBtn2->click();
    });
    QVERIFY(p.dialogs.seen.last().contains(QStringLiteral("は開けません")));
    QCOMPARE(ReadAll(Config("QUIBEL.SGN")), broken);
  }

  void signatureLinesSplitAndJoinLikeTheFileFormat() {
    QCOMPARE(SplitSignatureLines(QStringLiteral("a\r\nb\rc\nd\n")),
             (QStringList{"a", "b", "c", "d"}));
    QCOMPARE(SignatureFileBytes(QStringLiteral("a\n\nb\n")).value(), std::string("a\r\n\r\nb\r\n"));
    QCOMPARE(SignatureFileBytes(QString()).value(), std::string());
  }

  void keyboardOrderStartsWithOpenThenMarkerThenLimitThenRun() {
    Program p({Work("reply.txt")});
    QList<QWidget*> order;
    for (QWidget* w = p.form1->Button_open->nextInFocusChain(); order.size() < 3 && w != p.form1->Button_open;
         w = w->nextInFocusChain()) {
      if ((w->focusPolicy() & Qt::TabFocus) && w->focusProxy() == nullptr &&
          w->parentWidget() != p.form1->SpinEdit_limit)
        order << w;
    }
    QCOMPARE(order, (QList<QWidget*>{p.form1->CheckBox_add, p.form1->SpinEdit_limit, p.form1->Button_save}));
  }
};

}  // namespace quibel

QTEST_MAIN(quibel::WindowTest)
#include "ui_test.moc"
