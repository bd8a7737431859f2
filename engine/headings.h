// Heading prefixes: lines that begin with one of these two-byte prefixes are
// copied through a run unchanged.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/source_text.h"

namespace quibel {

// Capacity of the table: the first 200 bytes of the heading text.
inline constexpr int kMaxHeadingPrefixes = 100;

// "--／－【《" in Shift-JIS: the heading text a new user starts with.
inline constexpr std::string_view kDefaultHeadingText =
    "--\x81\x5E\x81\x7C\x81\x79\x81\x73";

struct HeadingPrefixTable {
  struct Entry {
    std::uint8_t first = 0;
    std::uint8_t second = 0;
  };
  std::array<Entry, kMaxHeadingPrefixes> entries{};
  std::int32_t HeadingPrefixCount = 0;
};

// Rebuilds the table from `text`, paired by bytes from its start; a byte left
// over at the end and pairs past the 100th are dropped.
void ParseHeadingPrefixes(HeadingPrefixTable& table, std::string_view text);

// True when the two bytes at `pos` of the source equal one entry.
bool MatchHeadingPrefix(const HeadingPrefixTable& table,
                        const SourceText& source, std::int32_t pos);

}  // namespace quibel
