// The single door through which a run sends its output.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/byte_sink.h"

namespace quibel {

enum class OutputMode : std::int32_t { File = 0, Preview = 1, Clipboard = 2 };

// Sink state. In File mode every byte goes to `file` untouched. In Preview
// and Clipboard mode bytes of 0x20 and above gather in PendingLine (lower
// ones are dropped), and each line end moves PendingLine to PreviewLines and,
// followed by CR LF, to OutputText.
struct OutputSink {
  OutputMode mode = OutputMode::File;
  std::string PendingLine;
  std::string OutputText;
  std::vector<std::string> PreviewLines;
  // File mode: the run's open output file. Left null, Reformat opens the
  // run's output path itself.
  ByteSink* file = nullptr;

  // Empties what the run commands empty before a Preview or Clipboard run.
  void ClearText() {
    PendingLine.clear();
    OutputText.clear();
  }
};

inline constexpr std::string_view kCrLf = "\r\n";

// Adds one byte to the output.
void EmitChar(OutputSink& sink, std::uint8_t b);

// Ends the current output line: CR LF in File mode.
void EmitLineBreak(OutputSink& sink);

// Passes a source line feed through: the bare 0x0A in File mode (the source's
// own CR went out before it), a line end in the other modes.
void PassLineFeed(OutputSink& sink);

// Preview and Clipboard mode: ends `line` as a line of its own, without
// touching PendingLine.
void EndTextLine(OutputSink& sink, std::string_view line);

}  // namespace quibel
