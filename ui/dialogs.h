// The modal boxes the windows ask through, so that tests can answer them.
#pragma once

#include <QString>

class QWidget;

namespace quibel {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A file-open dialog; an empty string when it was cancelled.
  virtual QString OpenFileName(QWidget* parent, const QString& filter) = 0;
  // A question with Yes and No and the question-mark icon; true for Yes.
  virtual bool AskYesNo(QWidget* parent, const QString& text, const QString& caption) = 0;
  // An error box with the error icon.
  virtual void ShowError(QWidget* parent, const QString& caption, const QString& text) = 0;
};

// The platform's own dialogs.
class QtDialogs final : public Dialogs {
 public:
  QString OpenFileName(QWidget* parent, const QString& filter) override;
  bool AskYesNo(QWidget* parent, const QString& text, const QString& caption) override;
  void ShowError(QWidget* parent, const QString& caption, const QString& text) override;
};

}  // namespace quibel
