// The signature editor: writes the two signature files and switches the
// slot in use.
#pragma once

#include <QDialog>
#include <QStringList>
#include <string>

#include "ui/app_state.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace quibel {

class Dialogs;
class RadioGroup;
class ShiftJisTextEdit;

// A signature file's text split into lines at CR LF, CR and LF; a line
// break at the very end opens no further line.
QStringList SplitSignatureLines(const QString& text);

// The file's bytes for the memo's lines: each line followed by CR LF, a last
// empty line not written; nothing when a character cannot be held.
std::optional<std::string> SignatureFileBytes(const QString& memo_text);

// "ｼｸﾞﾈﾁｬ" + (slot + 1) + "を付ける".
QString SignatureCaption(std::int32_t slot);

class TForm_edit_sgn : public QDialog {
  Q_OBJECT
 public:
  // `signature_box` is the main window's check box named after the slot.
  TForm_edit_sgn(AppState& state, Dialogs& dialogs, QCheckBox* signature_box, QWidget* parent = nullptr);

  // Fills Memo1 from the file of the current slot.
  void LoadSignatureText();
  // Writes Memo1's lines to `path`; false after the error was shown.
  bool SaveSignatureText(const std::string& path);

  ShiftJisTextEdit* Memo1;
  QPushButton* BitBtn1;  // OK
  QPushButton* BitBtn2;  // Cancel
  QLabel* Image1;
  QLabel* Label1;
  RadioGroup* RadioGroup_sgn_sel;

 protected:
  void showEvent(QShowEvent* event) override;

 private slots:
  void FormShow();
  void RadioGroup_sgn_selClick(int index);

 private:
  AppState& state_;
  Dialogs& dialogs_;
  QCheckBox* signature_box_;
  bool loaded_ = true;  // false while the slot's file could not be loaded
};

}  // namespace quibel
