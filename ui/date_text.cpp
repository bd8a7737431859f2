#include "ui/date_text.h"

#include "ui/shift_jis.h"

namespace quibel {

std::string DateText(const QDate& date, const QLocale& locale) {
  static const QString kPattern = QStringLiteral("yyyy'年'M'月'd'日（'dddd'）'");
  if (auto text = ToShiftJis(locale.toString(date, kPattern))) return *text;
  return ToShiftJis(QLocale(QLocale::English).toString(date, kPattern)).value_or(std::string());
}

}  // namespace quibel
