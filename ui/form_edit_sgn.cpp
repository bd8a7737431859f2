#include "ui/form_edit_sgn.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QVBoxLayout>
#include <filesystem>

#include "engine/byte_sink.h"
#include "ui/dialogs.h"
#include "ui/platform_paths.h"
#include "ui/shift_jis.h"
#include "ui/widgets.h"

namespace quibel {

QStringList SplitSignatureLines(const QString& text) {
  static const QRegularExpression kLineBreak(QStringLiteral("\r\n|\r|\n"));
  QStringList lines = text.split(kLineBreak);
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

std::optional<std::string> SignatureFileBytes(const QString& memo_text) {
  QStringList lines = memo_text.split(u'\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  QString text;
  for (const QString& line : lines) text += line + QStringLiteral("\r\n");
  return ToShiftJis(text);
}

QString SignatureCaption(std::int32_t slot) {
  return QStringLiteral("ｼｸﾞﾈﾁｬ%1を付ける").arg(static_cast<qint64>(slot) + 1);
}

TForm_edit_sgn::TForm_edit_sgn(AppState& state, Dialogs& dialogs, QCheckBox* signature_box,
                               QWidget* parent)
    : QDialog(parent),
      Memo1(new ShiftJisTextEdit(this)),
      BitBtn1(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this)),
      BitBtn2(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("ｷｬﾝｾﾙ"), this)),
      Image1(new QLabel(this)),
      Label1(new QLabel(QStringLiteral("文末に付けるシグネチャを入力して下さい"), this)),
      RadioGroup_sgn_sel(new RadioGroup(QStringLiteral("切り替え"), {QStringLiteral("1"), QStringLiteral("2")}, 2, this)),
      state_(state),
      dialogs_(dialogs),
      signature_box_(signature_box) {
  setObjectName(QStringLiteral("Form_edit_sgn"));
  setWindowTitle(QStringLiteral("文末シグネチャの編集"));
  setFont(WindowFont());
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setFont(FixedPitchFont());
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setMinimumHeight(201);
  Memo1->setRefusalHandler(TellRefusalIn(this, dialogs_));
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
  BitBtn1->setAutoDefault(false);
  BitBtn2->setAutoDefault(false);
  Image1->setPixmap(ProgramIcon());
  Label1->setStyleSheet(QStringLiteral("color: maroon;"));
  Label1->setFont(WindowFont(16));
  RadioGroup_sgn_sel->setObjectName(QStringLiteral("RadioGroup_sgn_sel"));
  RadioGroup_sgn_sel->setItemIndex(0);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(Image1);
  bottom->addWidget(Label1);
  bottom->addStretch();
  bottom->addWidget(RadioGroup_sgn_sel);
  bottom->addWidget(BitBtn1);
  bottom->addWidget(BitBtn2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Memo1, 1);
  layout->addLayout(bottom);
  resize(617, 272);

  setTabOrder(Memo1, BitBtn1);
  setTabOrder(BitBtn1, BitBtn2);
  setTabOrder(BitBtn2, RadioGroup_sgn_sel->item(0));
  setTabOrder(RadioGroup_sgn_sel->item(0), RadioGroup_sgn_sel->item(1));

  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
  connect(RadioGroup_sgn_sel, &RadioGroup::clicked, this, &TForm_edit_sgn::RadioGroup_sgn_selClick);
}

void TForm_edit_sgn::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TForm_edit_sgn::FormShow() {
  RadioGroup_sgn_sel->setItemIndex(state_.SignatureSlot);
  LoadSignatureText();
  Memo1->setFocus();
}

void TForm_edit_sgn::LoadSignatureText() {
  Memo1->clear();
  Memo1->document()->setModified(false);
  loaded_ = true;
  BitBtn1->setEnabled(true);
  const std::string& path = SignaturePathFor(state_.paths, state_.SignatureSlot);
  std::error_code ec;
  if (!std::filesystem::exists(path, ec) && !ec) return;  // not written yet: OK creates it
  const std::optional<std::string> bytes = ReadFileBytes(path);
  const std::optional<QString> text = bytes ? FromShiftJisStrict(*bytes) : std::nullopt;
  if (!text) {
    // OK must not write over a file whose text was never shown.
    loaded_ = false;
    BitBtn1->setEnabled(false);
    dialogs_.ShowError(this, QString::fromUtf8(kApplicationTitle),
                       QStringLiteral("ﾌｧｲﾙ %1 は開けません").arg(DisplayPath(path)));
    return;
  }
  Memo1->setPlainText(SplitSignatureLines(*text).join(u'\n'));
  Memo1->document()->setModified(false);
}

bool TForm_edit_sgn::SaveSignatureText(const std::string& path) {
  const std::optional<std::string> bytes = SignatureFileBytes(Memo1->toPlainText());
  const bool saved = loaded_ && bytes && EnsureFolderOf(path) && WriteFileAtomically(path, *bytes).empty();
  if (!saved) {
    dialogs_.ShowError(this, QString::fromUtf8(kApplicationTitle),
                       QStringLiteral("ﾌｧｲﾙ %1 を作成できません").arg(DisplayPath(path)));
  }
  return saved;
}

void TForm_edit_sgn::RadioGroup_sgn_selClick(int index) {
  if (index == state_.SignatureSlot) return;
  if (Memo1->document()->isModified() && loaded_) {
    const bool save = dialogs_.AskYesNo(
        this, QStringLiteral("シグネチャは編集されています。\n保存しておきますか？"),
        QStringLiteral("シグネチャの編集"));
    if (save && !SaveSignatureText(SignaturePathFor(state_.paths, state_.SignatureSlot))) {
      RadioGroup_sgn_sel->setItemIndex(state_.SignatureSlot);
      return;
    }
  }
  state_.SignatureSlot = index;
  LoadSignatureText();
  signature_box_->setText(SignatureCaption(state_.SignatureSlot));
}

}  // namespace quibel
