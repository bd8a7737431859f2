// The preview window: a read-only, fixed-pitch view of the preview's lines.
#pragma once

#include <QPlainTextEdit>
#include <QWidget>
#include <string>
#include <vector>

namespace quibel {

class TForm2 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm2(QWidget* parent = nullptr);

  // Shows `lines` (Shift-JIS, one entry a line) in place of what was shown.
  void ShowLines(const std::vector<std::string>& lines);

  QPlainTextEdit* Memo1;
};

}  // namespace quibel
