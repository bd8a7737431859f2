#include "ui/form2.h"

#include <QVBoxLayout>

#include "ui/shift_jis.h"
#include "ui/widgets.h"

namespace quibel {

TForm2::TForm2(QWidget* parent) : QWidget(parent, Qt::Window), Memo1(new QPlainTextEdit(this)) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("自動編集結果のプレビュー"));
  setFont(WindowFont());
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setReadOnly(true);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setFont(FixedPitchFont());

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Memo1);
  resize(617, 360);
}

void TForm2::ShowLines(const std::vector<std::string>& lines) {
  QStringList shown;
  shown.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) shown.append(FromShiftJis(line));
  Memo1->setPlainText(shown.join(u'\n'));
}

}  // namespace quibel
