// Small widgets and helpers the windows are built from.
#pragma once

#include <QFont>
#include <QGroupBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStringList>
#include <QValidator>
#include <functional>

class QButtonGroup;


namespace quibel {

// "IPAゴシック" (fixed pitch) and "IPA Pゴシック" (proportional), or the
// system's own fixed and general fonts where those are missing.
QFont FixedPitchFont(int pixel_size = 12);
QFont WindowFont(int pixel_size = 12);

// The program's 32 x 32 icon.
QPixmap ProgramIcon();

// A titled group of radio items with a selected index: a value above the
// last item selects the last, one below 0 selects none.
class RadioGroup : public QGroupBox {
  Q_OBJECT
 public:
  RadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent = nullptr);
  int itemIndex() const;
  void setItemIndex(int index);
  QRadioButton* item(int index) const;
  int count() const;

 signals:
  // The user chose an item (not sent for setItemIndex).
  void clicked(int index);

 private:
  QButtonGroup* group_;
};

// Called with the text that was refused, to tell the user; set by the window.
using RefusalHandler = std::function<void(const QString& refused)>;

// Accepts only text that Shift-JIS can hold.
class ShiftJisValidator : public QValidator {
 public:
  ShiftJisValidator(RefusalHandler on_refused, QObject* parent);
  State validate(QString& input, int& pos) const override;

 private:
  RefusalHandler on_refused_;
};

// A plain-text area that refuses typed, pasted or dropped text holding a
// character Shift-JIS cannot hold.
class ShiftJisTextEdit : public QPlainTextEdit {
 public:
  explicit ShiftJisTextEdit(QWidget* parent = nullptr) : QPlainTextEdit(parent) {}
  void setRefusalHandler(RefusalHandler handler) { on_refused_ = std::move(handler); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  bool Refuses(const QString& text);
  RefusalHandler on_refused_;
};

// The message for a refused text: names its first unmappable character.
QString RefusalMessage(const QString& refused);

class Dialogs;

// A handler that tells the user, in an error box over `window` shown once
// the refused edit is over, which character was refused.
RefusalHandler TellRefusalIn(QWidget* window, Dialogs& dialogs);

}  // namespace quibel
