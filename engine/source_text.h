// The one source text of a run and the four numbers that describe it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quibel {

// The window's loaders keep at most this many bytes of a source; the buffer
// the text came from in the first place held 131072 bytes and reserved the
// rest, so the limit is part of what users know of the tool.
inline constexpr std::int32_t kSourceTextCap = 129024;

// No cap at all, for callers (the filter) that must not drop any input.
inline constexpr std::size_t kNoSourceCap = static_cast<std::size_t>(-1);

// Largest source any loader takes: keeps every counter of a run (positions,
// columns, a depth that starts at 9999) inside a signed 32-bit integer.
inline constexpr std::size_t kMaxSourceBytes = 0x40000000;

struct SourceText {
  std::string SourceBuffer;          // the text is its first SourceLength bytes
  std::int32_t SourceLength = 0;
  std::int32_t LineCount = 0;        // line feeds in the whole input
  std::int32_t MaxQuoteDepth = 0;    // longest run of '>' at a line's very start
  std::int32_t MaxLineLength = 0;    // most bytes before one line feed

  // Byte at `pos`, or 0x00 at and past the end of the text (and before it).
  std::uint8_t At(std::int64_t pos) const {
    return pos >= 0 && pos < SourceLength
               ? static_cast<std::uint8_t>(SourceBuffer[static_cast<std::size_t>(pos)])
               : 0;
  }
};

// What a load found besides the text itself; the engine reports, the window
// decides what to show.
struct SourceLoadResult {
  bool opened = false;     // the file could be opened (clipboard: always)
  bool truncated = false;  // a file longer than the cap: only its start is held
  bool refused = false;    // a clipboard text at or over the cap: nothing held
  bool too_large = false;  // over kMaxSourceBytes: nothing held
  std::string error;       // why the file could not be opened or read
};

// The counting rules over a stream of bytes, usable on any slice of input.
class SourceCounter {
 public:
  // Feeds bytes in order; the counts are those of everything fed so far.
  void Feed(std::string_view bytes);
  std::int32_t line_count() const { return line_count_; }
  std::int32_t max_quote_depth() const { return max_quote_depth_; }
  std::int32_t max_line_length() const { return max_line_length_; }

 private:
  std::int32_t line_count_ = 0;
  std::int32_t max_quote_depth_ = 0;
  std::int32_t max_line_length_ = 0;
  std::int32_t line_bytes_ = 0;  // bytes of the current line so far
  std::int32_t run_ = 0;         // quote marks at the current line's start
  bool line_start_ = true;       // no other byte seen on this line yet
};

// Replaces the text by the first `cap` bytes of `bytes`; the statistics count
// all of `bytes`.
SourceLoadResult LoadSourceBytes(SourceText& source, std::string_view bytes,
                                 std::size_t cap = kNoSourceCap);

// Loads the file at `path` as raw bytes (0x00 and 0x1A ordinary), keeping up
// to `cap` bytes; statistics of the whole file. A file that cannot be opened
// leaves the empty source.
SourceLoadResult LoadSourceFile(SourceText& source, const std::string& path,
                                std::size_t cap = kSourceTextCap);

// Takes a clipboard text, already in Shift-JIS and cut before its first zero
// byte by the caller; refused whole at `cap` bytes or more.
SourceLoadResult LoadSourceClipboard(SourceText& source, std::string_view text,
                                     std::size_t cap = kSourceTextCap);

}  // namespace quibel
