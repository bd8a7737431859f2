// Conversion between Unicode and the Shift-JIS bytes the engine works on
// (the Windows code page 932 variant, "windows-31j").
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace quibel {

// The first character of a text that Shift-JIS cannot hold.
struct Unmappable {
  QString character;   // the character itself (one code point)
  int line = 1;        // 1-based line of the text it stands on
  QString Describe() const;  // e.g. "line 3: '😀' (U+1F600)"
};

// Converts `text` to Shift-JIS; nothing when a character cannot be held, and
// then `bad` (when given) names the first one.
std::optional<std::string> ToShiftJis(const QString& text, Unmappable* bad = nullptr);

// Converts Shift-JIS bytes to Unicode; bytes that do not decode become U+FFFD.
QString FromShiftJis(std::string_view bytes);

// Converts Shift-JIS bytes to Unicode; nothing when some bytes do not decode.
std::optional<QString> FromShiftJisStrict(std::string_view bytes);

// True when `bytes` is valid UTF-8 (an empty text is).
bool IsValidUtf8(std::string_view bytes);

// True when some byte is 0x80 or above.
bool HasHighBytes(std::string_view bytes);

}  // namespace quibel
