#include "ui/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDate>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <climits>

#include "engine/byte_sink.h"
#include "ui/date_text.h"
#include "ui/dialogs.h"
#include "ui/form2.h"
#include "ui/form_edit_sgn.h"
#include "ui/platform_paths.h"
#include "ui/shift_jis.h"
#include "ui/widgets.h"

namespace quibel {
namespace {

// The output targets, in the order of RadioGroup_out_sel's items.
constexpr int kToFixedFile = 0;
constexpr int kToClipboard = 2;

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

QLabel* ColouredLabel(const QString& text, const char* colour, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(colour)));
  return label;
}

}  // namespace

TForm1::TForm1(AppState& state, Dialogs& dialogs, const QStringList& arguments, QWidget* parent)
    : QWidget(parent), state_(state), dialogs_(dialogs) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(Text("Quibel自動編集 Ver1.41"));
  setFont(WindowFont());

  // Controls, with their design defaults.
  Button_open = new QPushButton(Text("ファイルを開く"), this);
  Label_lines = ColouredLabel(Text("ファイルの行数"), "navy", this);
  Label_max_ref = ColouredLabel(Text("Ｒｅｓの深さ"), "green", this);
  CheckBox_add = new QCheckBox(Text("[＞]を追加する"), this);
  CheckBox_dan = new QCheckBox(Text("自動段落を使う"), this);
  CheckBox_gyoutou = new QCheckBox(Text("行頭１文字空ける"), this);
  CheckBox_cr = new QCheckBox(Text("回り込みの解除"), this);
  CheckBox_add_sgn = new QCheckBox(Text("ｼｸﾞﾈﾁｬを付ける"), this);
  CheckBox_add_date = new QCheckBox(Text("日付の自動挿入"), this);
  for (QCheckBox* box : {CheckBox_add, CheckBox_dan, CheckBox_gyoutou}) box->setChecked(true);
  Label1 = new QLabel(Text("改行の位置"), this);
  Label1->setFont(WindowFont(16));
  SpinEdit_limit = new QSpinBox(this);
  SpinEdit_limit->setRange(INT_MIN, INT_MAX);
  SpinEdit_limit->setValue(0);
  Label4 = ColouredLabel(Text("２０未満に設定すると１行の桁数を"), "dimgray", this);
  Label5 = ColouredLabel(Text("揃える自動編集は行いません"), "dimgray", this);
  for (QLabel* note : {Label4, Label5}) note->setFont(WindowFont(11));
  Button_edit_sgn = new QPushButton(Text("シグネチャの編集"), this);
  RadioGroup_date_sel = new RadioGroup(Text("日付位置"), {Text("空白揃"), Text("行末揃")}, 2, this);
  RadioGroup_date_sel->setItemIndex(0);
  Label2 = ColouredLabel(Text("見出し部の先頭文字（全角１文字or半角２文字）"), "maroon", this);
  Edit_inhibit = new QLineEdit(this);
  Edit_inhibit->setFont(FixedPitchFont());
  Edit_inhibit->setValidator(new ShiftJisValidator(TellRefusalIn(this, dialogs_), Edit_inhibit));
  loaded_heading_bytes_ = std::string(kDefaultHeadingText);
  loaded_heading_text_ = FromShiftJis(loaded_heading_bytes_);
  Edit_inhibit->setText(loaded_heading_text_);
  RadioGroup_out_sel = new RadioGroup(
      Text("出力先の指定"), {Text("固定(Res_out.txt)"), Text("上書き保存する"), Text("ｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存")}, 1, this);
  RadioGroup_out_sel->setItemIndex(kToFixedFile);
  Button_save = new QPushButton(Text("実行→保存→閉じる"), this);
  QFont bold = WindowFont(16);
  bold.setBold(true);
  Button_save->setFont(bold);
  Button_prev = new QPushButton(Text("お試し確認表示"), this);
  Image1 = new QLabel(this);
  Image1->setPixmap(ProgramIcon());
  Label_fname = ColouredLabel(QString(), "blue", this);
  Label_fname->setTextInteractionFlags(Qt::TextSelectableByMouse);
  for (QPushButton* button : {Button_open, Button_save, Button_prev, Button_edit_sgn}) button->setAutoDefault(false);

  // Layouts.
  auto* statistics = new QVBoxLayout;
  statistics->addWidget(Label_lines);
  statistics->addWidget(Label_max_ref);
  auto* top = new QHBoxLayout;
  top->addWidget(Button_open);
  top->addSpacing(12);
  top->addLayout(statistics, 1);

  auto* options = new QVBoxLayout;
  for (QCheckBox* box : {CheckBox_add, CheckBox_dan, CheckBox_gyoutou, CheckBox_cr, CheckBox_add_sgn, CheckBox_add_date})
    options->addWidget(box);
  options->addStretch();
  auto* limit = new QVBoxLayout;
  limit->addWidget(Label1);
  limit->addWidget(SpinEdit_limit);
  limit->addWidget(Label4);
  limit->addWidget(Label5);
  limit->addSpacing(4);
  limit->addWidget(Button_edit_sgn);
  limit->addWidget(RadioGroup_date_sel);
  limit->addStretch();
  auto* middle = new QHBoxLayout;
  middle->addLayout(options);
  middle->addSpacing(8);
  middle->addLayout(limit, 1);

  auto* commands = new QVBoxLayout;
  commands->addStretch();
  commands->addWidget(Button_save);
  commands->addWidget(Button_prev);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(RadioGroup_out_sel, 1);
  bottom->addLayout(commands);

  auto* last = new QHBoxLayout;
  last->addWidget(Image1);
  last->addWidget(Label_fname, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(middle);
  layout->addWidget(Label2);
  layout->addWidget(Edit_inhibit);
  layout->addLayout(bottom);
  layout->addLayout(last);
  resize(326, 322);

  // The keyboard order.
  QList<QWidget*> order = {Button_open, CheckBox_add, SpinEdit_limit, Button_save, Edit_inhibit};
  for (int i = 0; i < RadioGroup_out_sel->count(); ++i) order.append(RadioGroup_out_sel->item(i));
  order += {CheckBox_dan, Button_prev, CheckBox_gyoutou, CheckBox_cr, CheckBox_add_sgn, Button_edit_sgn,
            CheckBox_add_date};
  for (int i = 0; i < RadioGroup_date_sel->count(); ++i) order.append(RadioGroup_date_sel->item(i));
  for (qsizetype i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
  Button_open->setFocus();

  // Connections.
  connect(Button_open, &QPushButton::clicked, this, &TForm1::Button_openClick);
  connect(Button_save, &QPushButton::clicked, this, &TForm1::Button_saveClick);
  connect(Button_prev, &QPushButton::clicked, this, &TForm1::Button_prevClick);
  connect(Button_edit_sgn, &QPushButton::clicked, this, &TForm1::Button_edit_sgnClick);

  // Start-up: the settings, then the source.
  state_.paths = SidePathsForExecutable(QCoreApplication::applicationFilePath());
  StoredSettings record = CollectSettings();
  const bool read = LoadSettings(state_.paths.SettingsPath, record);
  ApplySettings(record, read);
  LoadSourceBytes(state_.source, {});
  state_.SourceIsClipboard = false;
  state_.SourcePath = state_.paths.DummyPath;
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (!arguments.isEmpty()) {
    // Held whole and absolute, so that RES_OUT.TXT lands beside it.
    state_.SourcePath = NativePath(QFileInfo(arguments.first()).absoluteFilePath());
    SetSourceName(DisplayPath(state_.SourcePath));
    ShowSourceInfo(false);
  } else if (clipboard->mimeData() != nullptr && clipboard->mimeData()->hasText()) {
    SetSourceName(Text("クリップボードにコピーされたテキストを編集中"));
    ShowSourceInfo(true);
    RadioGroup_out_sel->setItemIndex(kToClipboard);
    state_.SourceIsClipboard = true;
  }
}

void TForm1::SetSourceName(const QString& name) {
  source_name_ = name;
  Label_fname->setText(name);
}

void TForm1::ShowSourceInfo(bool from_clipboard) {
  QString note;
  if (from_clipboard) {
    Unmappable bad;
    const auto bytes = ToShiftJis(QGuiApplication::clipboard()->text(), &bad);
    if (bytes) {
      state_.last_load = LoadSourceClipboard(state_.source, *bytes);
    } else {
      state_.last_load = LoadSourceBytes(state_.source, {});
      note = Text("（Shift-JISで表せない文字があるため読み込めません）");
    }
  } else {
    state_.last_load = LoadSourceFile(state_.source, state_.SourcePath);
  }
  if (state_.last_load.truncated)
    note = QStringLiteral("（先頭%1バイトのみ読み込み、残りは読み込んでいません）").arg(kSourceTextCap);
  if (state_.last_load.refused)
    note = QStringLiteral("（%1バイト以上のため読み込めません）").arg(kSourceTextCap);
  Label_fname->setText(source_name_ + note);

  Label_lines->setText(QStringLiteral("ファイルの行数 : %1行").arg(state_.source.LineCount));
  Label_max_ref->setText(QStringLiteral("Ｒｅｓの深さ : %1階層").arg(state_.source.MaxQuoteDepth));
  SpinEdit_limit->setValue(state_.source.MaxLineLength);
  CheckBox_gyoutou->setChecked(state_.source.MaxQuoteDepth % 2 == 0);
}

void TForm1::ApplySettings(const StoredSettings& record, bool file_was_read) {
  RadioGroup_date_sel->setItemIndex(record.DatePosition);
  state_.SignatureSlot = record.SignatureSlot;
  CheckBox_add->setChecked(record.AddMarker);
  CheckBox_dan->setChecked(record.AutoParagraph);
  CheckBox_gyoutou->setChecked(record.IndentOne);
  CheckBox_cr->setChecked(record.Unwrap);
  CheckBox_add_sgn->setChecked(record.AddSignature);
  CheckBox_add_date->setChecked(record.AddDate);
  loaded_heading_bytes_ = record.HeadingPrefixText;
  loaded_heading_text_ = FromShiftJis(loaded_heading_bytes_);
  Edit_inhibit->setText(loaded_heading_text_);
  if (file_was_read) CheckBox_add_sgn->setText(SignatureCaption(state_.SignatureSlot));
}

std::string TForm1::HeadingBytes() const {
  // Bytes that came from the settings file are kept as they were while the
  // text is not edited, even where they do not decode.
  const QString text = Edit_inhibit->text();
  if (text == loaded_heading_text_) return loaded_heading_bytes_;
  return ToShiftJis(text).value_or(loaded_heading_bytes_);
}

void TForm1::RebuildHeadingTable() {
  // The edit box's text is used up to the 399 bytes the settings file keeps.
  ParseHeadingPrefixes(state_.headings, HeadingBytes().substr(0, kStoredTextWriteMax));
}

StoredSettings TForm1::CollectSettings() const {
  StoredSettings record;
  record.DatePosition = RadioGroup_date_sel->itemIndex();
  record.SignatureSlot = state_.SignatureSlot;
  record.AddMarker = CheckBox_add->isChecked();
  record.AutoParagraph = CheckBox_dan->isChecked();
  record.IndentOne = CheckBox_gyoutou->isChecked();
  record.Unwrap = CheckBox_cr->isChecked();
  record.AddSignature = CheckBox_add_sgn->isChecked();
  record.AddDate = CheckBox_add_date->isChecked();
  record.HeadingPrefixText = HeadingBytes();
  return record;
}

FormatOptions TForm1::CollectOptions() {
  bool whole = false;
  const int limit = SpinEdit_limit->cleanText().toInt(&whole);
  SpinEdit_limit->setValue(whole ? limit : 0);
  FormatOptions options;
  options.AddMarker = CheckBox_add->isChecked();
  options.AutoParagraph = CheckBox_dan->isChecked();
  options.IndentOne = CheckBox_gyoutou->isChecked();
  options.LineLimit = whole ? limit : 0;
  options.Unwrap = CheckBox_cr->isChecked();
  options.AddDate = CheckBox_add_date->isChecked();
  options.AddSignature = CheckBox_add_sgn->isChecked();
  options.DatePosition = RadioGroup_date_sel->itemIndex();
  return options;
}

TrailerInput TForm1::MakeTrailer(const FormatOptions& options) {
  TrailerInput trailer;
  if (options.AddSignature)
    trailer.SignatureFile = ReadFileBytes(SignaturePathFor(state_.paths, state_.SignatureSlot));
  if (options.AddDate) trailer.DateText = DateText(QDate::currentDate(), QLocale::system());
  trailer.SetClipboardText = [this](const std::string& text) {
    QGuiApplication::clipboard()->setText(FromShiftJis(text));
    clipboard_set_ = true;
  };
  return trailer;
}

void TForm1::Button_openClick() {
  const QString chosen = dialogs_.OpenFileName(this, Text("ﾃｷｽﾄﾌｧｲﾙ (*.txt);;全てのﾌｧｲﾙ (*)"));
  if (chosen.isEmpty()) return;
  state_.SourcePath = NativePath(QFileInfo(chosen).absoluteFilePath());
  SetSourceName(DisplayPath(state_.SourcePath));
  ShowSourceInfo(false);
}

void TForm1::Button_saveClick() {
  state_.sink.mode = OutputMode::File;
  RebuildHeadingTable();
  if (state_.source.LineCount <= 0) return;
  const int target = RadioGroup_out_sel->itemIndex();
  if (target == kToFixedFile) {
    state_.OutputPath = MakeFixedOutputPath(state_.SourcePath, PathSeparator());
  } else if (state_.SourceIsClipboard || target == kToClipboard) {
    state_.sink.mode = OutputMode::Clipboard;
    state_.sink.ClearText();
  } else {
    if (state_.last_load.truncated) {
      dialogs_.ShowError(this, Text(kApplicationTitle),
                         QStringLiteral("%1 は先頭%2バイトしか読み込んでいないため、上書き保存すると"
                                        "残りが失われます。上書き保存は行いませんでした。")
                             .arg(DisplayPath(state_.SourcePath))
                             .arg(kSourceTextCap));
      return;
    }
    state_.OutputPath = state_.SourcePath;
  }
  const FormatOptions options = CollectOptions();
  const TrailerInput trailer = MakeTrailer(options);
  if (state_.sink.mode == OutputMode::File) EnsureFolderOf(state_.OutputPath);
  const RunResult result =
      Reformat(options, RunInput{state_.source, state_.headings, trailer, state_.OutputPath}, state_.sink);
  if (!result.ok) {
    dialogs_.ShowError(this, Text(kApplicationTitle),
                       QStringLiteral("結果を書き込めませんでした。\n%1").arg(QString::fromLocal8Bit(result.error.c_str())));
    return;
  }
  close();
}

void TForm1::Button_prevClick() {
  state_.sink.mode = OutputMode::Preview;
  RebuildHeadingTable();
  if (state_.source.LineCount > 0) {
    state_.sink.PreviewLines.clear();
    state_.sink.ClearText();
    const FormatOptions options = CollectOptions();
    Reformat(options, RunInput{state_.source, state_.headings, MakeTrailer(options), {}}, state_.sink);
  }
  if (preview_ == nullptr) return;
  preview_->ShowLines(state_.sink.PreviewLines);
  if (preview_->isHidden()) {
    preview_->show();
    preview_->raise();
    preview_->activateWindow();
  }
}

void TForm1::Button_edit_sgnClick() {
  if (editor_ == nullptr || editor_->isVisible()) return;
  if (editor_->exec() == QDialog::Accepted)
    editor_->SaveSignatureText(SignaturePathFor(state_.paths, state_.SignatureSlot));
}

void TForm1::FormCloseQuery() {
  if (EnsureFolderOf(state_.paths.SettingsPath)) SaveSettings(state_.paths.SettingsPath, CollectSettings());
}

void TForm1::closeEvent(QCloseEvent* event) {
  FormCloseQuery();
  event->accept();
  emit closed();
}

}  // namespace quibel
