// Helpers shared by the engine tests.
#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "engine/reformat.h"
#include "ui/shift_jis.h"

namespace quibel::test {

// Shift-JIS bytes of a UTF-8 literal.
inline std::string Sj(std::string_view utf8) {
  return ToShiftJis(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()))).value();
}

// The lines, each followed by CR LF, converted to Shift-JIS.
inline std::string CrLf(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (auto line : lines) text += Sj(line) + "\r\n";
  return text;
}

// Little-endian 32-bit integers, as the settings file stores them.
inline std::string Ints(std::initializer_list<std::int32_t> values) {
  std::string out;
  for (std::int32_t v : values)
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF));
  return out;
}

// Shift-JIS bytes rendered readably: text back in UTF-8, CR as "\r", LF as
// "\n", other control bytes as "<xx>", bytes that do not decode as "?".
inline std::string Show(std::string_view sjis) {
  std::string out;
  const QString text = FromShiftJis(sjis);
  for (QChar c : text) {
    if (c == u'\r') out += "\\r";
    else if (c == u'\n') out += "\\n";
    else if (c.unicode() < 0x20) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "<%02x>", c.unicode());
      out += hex;
    } else if (c == QChar(0xFFFD)) out += "?";
    else out += QString(c).toStdString();
  }
  return out;
}

// Everything one run produced, rendered as one string so that one
// comparison checks the whole run: the file bytes in File mode; in the other
// modes the preview's lines as [..] followed by OutputText.
struct RunRecord {
  std::string file;
  std::vector<std::string> lines;
  std::string text;
  std::string clipboard;
  bool clipboard_set = false;
  RunResult result;

  std::string Rendered(OutputMode mode) const {
    if (mode == OutputMode::File) return Show(file);
    std::string out;
    for (const auto& line : lines) out += "[" + Show(line) + "]";
    return out + " " + Show(text);
  }
};

inline RunRecord RunEngine(std::string_view source_bytes, const FormatOptions& options,
                           OutputMode mode, std::string_view heading_text = {},
                           const TrailerInput& trailer_in = {}) {
  SourceText source;
  LoadSourceBytes(source, source_bytes);
  HeadingPrefixTable headings;
  ParseHeadingPrefixes(headings, heading_text);
  RunRecord record;
  TrailerInput trailer = trailer_in;
  trailer.SetClipboardText = [&record](const std::string& text) {
    record.clipboard = text;
    record.clipboard_set = true;
  };
  StringSink file;
  OutputSink sink;
  sink.mode = mode;
  sink.file = &file;
  record.result = Reformat(options, RunInput{source, headings, trailer, {}}, sink);
  record.file = file.text();
  record.lines = sink.PreviewLines;
  record.text = sink.OutputText;
  return record;
}

}  // namespace quibel::test
