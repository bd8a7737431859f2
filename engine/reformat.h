// The reflow engine: one run over the loaded source, from the first byte to
// the last, followed by the signature and date trailer.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "engine/headings.h"
#include "engine/output_sink.h"
#include "engine/source_text.h"

namespace quibel {

// The option set of one run, filled from the window's controls (or the
// filter's flags) right before it.
struct FormatOptions {
  bool AddMarker = false;      // one more '>' in front of every prefix
  bool AutoParagraph = false;  // two blanks after the prefix of a paragraph
  bool IndentOne = false;      // one blank at the end of every prefix
  bool Unwrap = false;         // undo breaks judged to be a former wrap
  bool AddSignature = false;   // append the signature (trailer)
  bool AddDate = false;        // append the date line (trailer)
  std::int32_t DatePosition = 0;  // 0 under the signature's indent, else right
  std::int32_t LineLimit = 0;  // 20 or more: re-wrap; below: line for line
};

// What the trailer needs from outside the engine.
struct TrailerInput {
  // The bytes of the chosen signature file as stored, or nothing when that
  // file could not be opened.
  std::optional<std::string> SignatureFile;
  // The date text in Shift-JIS, e.g. "2024年3月3日（日曜日）".
  std::string DateText;
  // Clipboard mode: receives OutputText at the end of the run.
  std::function<void(const std::string&)> SetClipboardText;
};

struct RunResult {
  bool ok = true;
  std::string error;  // File mode: why the output could not be written
};

// Everything a run reads but its options; owned by the caller.
struct RunInput {
  const SourceText& source;
  const HeadingPrefixTable& headings;
  const TrailerInput& trailer;
  // File mode with no open sink.file: the file the run creates or replaces.
  std::string OutputPath;
};

// One run over the whole source, then the trailer. In File mode the output
// replaces OutputPath only when every byte was written; a failure leaves it
// as it was and is returned.
RunResult Reformat(const FormatOptions& options, const RunInput& input,
                   OutputSink& sink);

// Emits one quote prefix (marker, MaxQuoteDepth marks or blanks, indent) and
// returns its length.
std::int32_t EmitQuotePrefix(OutputSink& sink, const SourceText& source,
                             bool marker, bool indent, std::int32_t depth);

// True when the CR or LF at `pos` belongs to a former wrap to be undone.
bool IsSoftBreak(const SourceText& source, bool unwrap, std::int32_t line_bytes,
                 std::int32_t pos, std::uint8_t b);

// True for the first byte of a double-byte character, as the engine tells
// them: 0x81-0x84, 0x87-0x9F, 0xE0-0xFF.
bool IsLeadByte(std::uint8_t b);

// Appends the signature and the date line and finishes the run's output
// (closes the file, hands OutputText to the clipboard).
void AppendTrailer(const FormatOptions& options, const TrailerInput& trailer,
                   OutputSink& sink);

}  // namespace quibel
