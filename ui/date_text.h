// The date line's text, made by the platform's date formatter.
#pragma once

#include <QDate>
#include <QLocale>
#include <string>

namespace quibel {

// "2024年3月3日（日曜日）" in Shift-JIS: year, month and day without leading
// zeros, the weekday's full name in `locale`. A weekday name that Shift-JIS
// cannot hold is given in English instead.
std::string DateText(const QDate& date, const QLocale& locale);

}  // namespace quibel
