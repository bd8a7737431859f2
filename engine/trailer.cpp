// The signature and date trailer that ends every run.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/reformat.h"

namespace quibel {
namespace {

constexpr char kBlank = 0x20;
constexpr char kLineFeed = 0x0A;
constexpr char kCarriageReturn = 0x0D;
constexpr char kEndOfText = 0x1A;  // text mode: nothing after it is read
constexpr std::uint8_t kWideSpaceLead = 0x81;
constexpr std::uint8_t kWideSpaceTrail = 0x40;

// A signature line is read into a buffer of 1024 bytes with its terminator:
// longer lines come in pieces of this many bytes, each a line of its own.
constexpr std::size_t kSignaturePiece = 1023;

// The file as a text-mode read sees it: every CR dropped, ended by 0x1A.
std::string AsReadInTextMode(std::string_view stored) {
  std::string text;
  text.reserve(stored.size());
  for (char c : stored) {
    if (c == kEndOfText) break;
    if (c != kCarriageReturn) text.push_back(c);
  }
  return text;
}

// Splits text into the pieces a line reader returns: up to and including a
// line feed, at most kSignaturePiece bytes.
std::vector<std::string_view> SignaturePieces(std::string_view text) {
  std::vector<std::string_view> pieces;
  while (!text.empty()) {
    std::size_t n = text.find(kLineFeed);
    n = (n == std::string_view::npos) ? text.size() : n + 1;
    if (n > kSignaturePiece) n = kSignaturePiece;
    pieces.push_back(text.substr(0, n));
    text.remove_prefix(n);
  }
  return pieces;
}

// Leading blanks of a piece: 1 per blank, 2 per full-width space.
std::int32_t LeadingBlankRun(std::string_view piece) {
  std::int32_t run = 0;
  for (std::size_t i = 0; i < piece.size();) {
    if (piece[i] == kBlank) {
      run += 1;
      i += 1;
    } else if (static_cast<std::uint8_t>(piece[i]) == kWideSpaceLead &&
               i + 1 < piece.size() &&
               static_cast<std::uint8_t>(piece[i + 1]) == kWideSpaceTrail) {
      run += 2;
      i += 2;
    } else {
      break;
    }
  }
  return run;
}

// Writes one signature piece: File mode turns its LF into CR LF; the other
// modes end it as a text line without its LF.
void OutputSignaturePiece(OutputSink& sink, std::string_view piece) {
  const bool has_line_feed = !piece.empty() && piece.back() == kLineFeed;
  if (has_line_feed) piece.remove_suffix(1);
  if (sink.mode == OutputMode::File) {
    sink.file->Write(piece);
    if (has_line_feed) sink.file->Write(kCrLf);
  } else {
    EndTextLine(sink, piece);
  }
}

}  // namespace

void AppendTrailer(const FormatOptions& options, const TrailerInput& trailer,
                   OutputSink& sink) {
  std::int32_t max_indent = 0;
  std::int32_t max_length = 0;
  if (options.AddSignature && trailer.SignatureFile.has_value()) {
    const std::string text = AsReadInTextMode(*trailer.SignatureFile);
    for (std::string_view piece : SignaturePieces(text)) {
      max_indent = std::max(max_indent, LeadingBlankRun(piece));
      max_length = std::max(max_length, static_cast<std::int32_t>(piece.size()));
      OutputSignaturePiece(sink, piece);
    }
  }
  if (options.AddDate) {
    const auto date_length = static_cast<std::int32_t>(trailer.DateText.size());
    std::int32_t blanks = options.DatePosition == 0 ? max_indent
                                                    : max_length - date_length;
    if (blanks < 0) blanks = 0;
    sink.PendingLine.assign(static_cast<std::size_t>(blanks), kBlank);
    sink.PendingLine.append(trailer.DateText);
    switch (sink.mode) {
      case OutputMode::File:
        sink.file->Write(sink.PendingLine);
        sink.file->Write(kCrLf);
        break;
      case OutputMode::Preview:
        sink.PreviewLines.push_back(sink.PendingLine);
        break;
      case OutputMode::Clipboard:
        sink.OutputText.append(sink.PendingLine);
        sink.OutputText.append(kCrLf);
        break;
    }
  }
  if (sink.mode == OutputMode::File) {
    sink.file->Close();
  } else if (sink.mode == OutputMode::Clipboard && trailer.SetClipboardText) {
    trailer.SetClipboardText(sink.OutputText);
  }
}

}  // namespace quibel
