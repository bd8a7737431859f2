#include "ui/widgets.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QGridLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QRadioButton>
#include <QTimer>

#include "ui/app_state.h"
#include "ui/dialogs.h"
#include "ui/shift_jis.h"

namespace quibel {
namespace {

QFont FontOrFallback(const QString& family, QFontDatabase::SystemFont fallback, int pixel_size) {
  QFont font = QFontDatabase::families().contains(family) ? QFont(family)
                                                          : QFontDatabase::systemFont(fallback);
  font.setPixelSize(pixel_size);
  return font;
}

}  // namespace

QFont FixedPitchFont(int pixel_size) {
  return FontOrFallback(QStringLiteral("IPAゴシック"), QFontDatabase::FixedFont, pixel_size);
}

QFont WindowFont(int pixel_size) {
  return FontOrFallback(QStringLiteral("IPA Pゴシック"), QFontDatabase::GeneralFont, pixel_size);
}

QPixmap ProgramIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(0x1f, 0x4e, 0x9a));
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(1, 1, 30, 30, 6, 6);
  painter.setPen(Qt::white);
  QFont font = WindowFont(20);
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral(">"));
  return pixmap;
}

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)) {
  auto* layout = new QGridLayout(this);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    group_->addButton(button, i);
    layout->addWidget(button, i / columns, i % columns);
  }
  connect(group_, &QButtonGroup::idClicked, this, &RadioGroup::clicked);
}

int RadioGroup::itemIndex() const { return group_->checkedId(); }

void RadioGroup::setItemIndex(int index) {
  if (index >= count()) index = count() - 1;
  if (index < 0) {
    // An exclusive group never lets go of its last checked button by itself.
    group_->setExclusive(false);
    for (QAbstractButton* button : group_->buttons()) button->setChecked(false);
    group_->setExclusive(true);
    return;
  }
  group_->button(index)->setChecked(true);
}

QRadioButton* RadioGroup::item(int index) const {
  return static_cast<QRadioButton*>(group_->button(index));
}

int RadioGroup::count() const { return static_cast<int>(group_->buttons().size()); }

ShiftJisValidator::ShiftJisValidator(RefusalHandler on_refused, QObject* parent)
    : QValidator(parent), on_refused_(std::move(on_refused)) {}

QValidator::State ShiftJisValidator::validate(QString& input, int&) const {
  if (ToShiftJis(input)) return Acceptable;
  if (on_refused_) on_refused_(input);
  return Invalid;
}

bool ShiftJisTextEdit::Refuses(const QString& text) {
  if (text.isEmpty() || ToShiftJis(text)) return false;
  if (on_refused_) on_refused_(text);
  return true;
}

void ShiftJisTextEdit::keyPressEvent(QKeyEvent* event) {
  if (Refuses(event->text())) return;
  QPlainTextEdit::keyPressEvent(event);
}

void ShiftJisTextEdit::inputMethodEvent(QInputMethodEvent* event) {
  if (Refuses(event->commitString())) {
    QInputMethodEvent cleared(event->preeditString(), event->attributes());
    QPlainTextEdit::inputMethodEvent(&cleared);
    return;
  }
  QPlainTextEdit::inputMethodEvent(event);
}

void ShiftJisTextEdit::insertFromMimeData(const QMimeData* source) {
  if (source->hasText() && Refuses(source->text())) return;
  QPlainTextEdit::insertFromMimeData(source);
}

QString RefusalMessage(const QString& refused) {
  Unmappable bad;
  ToShiftJis(refused, &bad);
  const char32_t code = bad.character.isEmpty() ? 0 : bad.character.toUcs4().value(0);
  return QStringLiteral("「%1」(U+%2) はShift-JISで表せないため入力できません。")
      .arg(bad.character, QString::number(code, 16).toUpper().rightJustified(4, u'0'));
}

RefusalHandler TellRefusalIn(QWidget* window, Dialogs& dialogs) {
  return [window, &dialogs](const QString& refused) {
    QTimer::singleShot(0, window, [window, &dialogs, refused] {
      dialogs.ShowError(window, QString::fromUtf8(kApplicationTitle), RefusalMessage(refused));
    });
  };
}

}  // namespace quibel
