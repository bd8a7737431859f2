#include "engine/headings.h"

namespace quibel {

void ParseHeadingPrefixes(HeadingPrefixTable& table, std::string_view text) {
  table.HeadingPrefixCount = 0;
  text = text.substr(0, text.find('\0'));  // the edit box's text is a C string
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
    if (table.HeadingPrefixCount == kMaxHeadingPrefixes) break;
    auto& entry = table.entries[static_cast<std::size_t>(table.HeadingPrefixCount++)];
    entry.first = static_cast<std::uint8_t>(text[i]);
    entry.second = static_cast<std::uint8_t>(text[i + 1]);
  }
}

bool MatchHeadingPrefix(const HeadingPrefixTable& table,
                        const SourceText& source, std::int32_t pos) {
  const std::uint8_t first = source.At(pos);
  const std::uint8_t second = source.At(static_cast<std::int64_t>(pos) + 1);
  for (std::int32_t i = 0; i < table.HeadingPrefixCount; ++i) {
    const auto& entry = table.entries[static_cast<std::size_t>(i)];
    if (entry.first == first && entry.second == second) return true;
  }
  return false;
}

}  // namespace quibel
