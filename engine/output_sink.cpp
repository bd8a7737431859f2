#include "engine/output_sink.h"

namespace quibel {
namespace {

// Preview and Clipboard text holds no control bytes below this.
constexpr std::uint8_t kFirstShownByte = 0x20;

}  // namespace

void EmitChar(OutputSink& sink, std::uint8_t b) {
  if (sink.mode == OutputMode::File) {
    const char c = static_cast<char>(b);
    sink.file->Write(std::string_view(&c, 1));
  } else if (b >= kFirstShownByte) {
    sink.PendingLine.push_back(static_cast<char>(b));
  }
}

void EndTextLine(OutputSink& sink, std::string_view line) {
  sink.PreviewLines.emplace_back(line);
  sink.OutputText.append(line);
  sink.OutputText.append(kCrLf);
}

void EmitLineBreak(OutputSink& sink) {
  if (sink.mode == OutputMode::File) {
    sink.file->Write(kCrLf);
    return;
  }
  EndTextLine(sink, sink.PendingLine);
  sink.PendingLine.clear();
}

void PassLineFeed(OutputSink& sink) {
  if (sink.mode == OutputMode::File)
    sink.file->Write("\n");
  else
    EmitLineBreak(sink);
}

}  // namespace quibel
