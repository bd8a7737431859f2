// The main window: takes the source, shows its numbers, holds the options,
// and runs the engine to a file, the clipboard or the preview.
#pragma once

#include <QStringList>
#include <QWidget>
#include <string>

#include "settings/settings_file.h"
#include "ui/app_state.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quibel {

class Dialogs;
class RadioGroup;
class TForm2;
class TForm_edit_sgn;

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  // Runs the start-up: settings, then the source from `arguments` (the
  // command line without the program) or the clipboard.
  TForm1(AppState& state, Dialogs& dialogs, const QStringList& arguments, QWidget* parent = nullptr);

  // The other two windows, created after this one.
  void setPreviewWindow(TForm2* preview) { preview_ = preview; }
  void setSignatureEditor(TForm_edit_sgn* editor) { editor_ = editor; }

  // Loads the source (file or clipboard) and shows its numbers.
  void ShowSourceInfo(bool from_clipboard);

  // True once a run has put its result on the clipboard.
  bool clipboardWasSet() const { return clipboard_set_; }

  QPushButton* Button_open;
  QLabel* Label_lines;
  QLabel* Label_max_ref;
  QCheckBox* CheckBox_add;
  QCheckBox* CheckBox_dan;
  QCheckBox* CheckBox_gyoutou;
  QCheckBox* CheckBox_cr;
  QCheckBox* CheckBox_add_sgn;
  QCheckBox* CheckBox_add_date;
  QLabel* Label1;
  QSpinBox* SpinEdit_limit;
  QLabel* Label4;
  QLabel* Label5;
  QPushButton* Button_edit_sgn;
  RadioGroup* RadioGroup_date_sel;
  QLabel* Label2;
  QLineEdit* Edit_inhibit;
  RadioGroup* RadioGroup_out_sel;
  QPushButton* Button_save;
  QPushButton* Button_prev;
  QLabel* Image1;
  QLabel* Label_fname;

 signals:
  // The window has closed and saved the settings: the program ends.
  void closed();

 public slots:
  void Button_openClick();
  void Button_saveClick();
  void Button_prevClick();
  void Button_edit_sgnClick();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCloseQuery();
  void ApplySettings(const StoredSettings& record, bool file_was_read);
  StoredSettings CollectSettings() const;
  FormatOptions CollectOptions();
  std::string HeadingBytes() const;
  void RebuildHeadingTable();
  TrailerInput MakeTrailer(const FormatOptions& options);
  void SetSourceName(const QString& name);

  AppState& state_;
  Dialogs& dialogs_;
  TForm2* preview_ = nullptr;
  TForm_edit_sgn* editor_ = nullptr;
  QString source_name_;            // what Label_fname names
  std::string loaded_heading_bytes_;  // the heading text as the settings file gave it
  QString loaded_heading_text_;
  bool clipboard_set_ = false;
};

}  // namespace quibel
