#include "engine/reformat.h"

#include <memory>

namespace quibel {
namespace {

// Byte classes of the source text.
constexpr std::uint8_t kCarriageReturn = 0x0D;  // expected before each LF
constexpr std::uint8_t kLineFeed = 0x0A;        // ends a source line
constexpr std::uint8_t kBlank = 0x20;           // dropped before the body
constexpr std::uint8_t kQuoteMark = 0x3E;       // counted before the body
constexpr std::uint8_t kWideSpaceLead = 0x81;   // 0x81 0x40: full-width space
constexpr std::uint8_t kWideSpaceTrail = 0x40;

// Marks "no usable depth": a line after it always opens a new output line.
constexpr std::int32_t kNoDepth = 9999;

// Limits below this keep every source line on an output line of its own.
constexpr std::int32_t kMinWrapLimit = 20;

bool IsWideSpace(const SourceText& source, std::int32_t pos) {
  return source.At(pos) == kWideSpaceLead &&
         source.At(static_cast<std::int64_t>(pos) + 1) == kWideSpaceTrail;
}

/* Working state of one run.
 *
 * Position walks the source once. Every source line starts "before its body"
 * (BodyBytes 0): blanks and full-width spaces are dropped, quote marks are
 * counted into QuoteDepth, and a heading prefix is looked for. The first
 * other byte opens the body; from then on every byte up to the line end is
 * emitted. Column counts the bytes of the current output line and decides
 * the wrap. PreviousDepth is the depth of the line before: a body whose depth
 * differs from it opens a new output line with a fresh prefix, one of the
 * same depth goes on where the last one stopped. kNoDepth in either means
 * "no depth": after an empty line, a heading line, or at the start.
 */
struct Run {
  const FormatOptions& options;
  const RunInput& input;
  const SourceText& source;
  OutputSink& sink;
  std::int32_t Position = 0;
  std::int32_t LineBytes = 0;
  std::int32_t BodyBytes = 0;
  std::int32_t Column = 0;
  std::int32_t QuoteDepth = 0;
  std::int32_t PreviousDepth = kNoDepth;

  bool Rewraps() const { return options.LineLimit >= kMinWrapLimit; }
  std::int32_t Prefix() {
    return EmitQuotePrefix(sink, source, options.AddMarker, options.IndentOne,
                           QuoteDepth);
  }

  void Loop();
  void HeadingStep();
  void CarriageReturnStep();
  void LineFeedStep();
  void BodyStep(std::uint8_t b);
};

// Walks the source once, dispatching every byte to its step.
void Run::Loop() {
  while (Position < source.SourceLength) {
    const std::uint8_t b = source.At(Position);
    ++LineBytes;
    if (BodyBytes == 0 && QuoteDepth == 0 &&
        MatchHeadingPrefix(input.headings, source, Position)) {
      HeadingStep();
    } else if (b == kCarriageReturn) {
      CarriageReturnStep();
    } else if (b == kLineFeed) {
      LineFeedStep();
    } else if (b == kBlank && BodyBytes == 0) {
      // a leading blank: the prefix takes its place
    } else if (BodyBytes == 0 && IsWideSpace(source, Position)) {
      ++Position;
      ++LineBytes;
    } else if (b == kQuoteMark && BodyBytes == 0) {
      ++QuoteDepth;
    } else {
      BodyStep(b);
    }
    ++Position;
  }
}

// Copies a heading line unchanged up to its line feed, ending any re-wrapped
// line before it; Position is left on the line feed (or the end).
void Run::HeadingStep() {
  if (Rewraps() && Column > 0) EmitLineBreak(sink);
  do {
    EmitChar(sink, source.At(Position));
    ++Position;
  } while (Position < source.SourceLength && source.At(Position) != kLineFeed);
  if (Position < source.SourceLength)
    PassLineFeed(sink);
  else if (sink.mode != OutputMode::File)
    EmitLineBreak(sink);
  Column = 0;
  BodyBytes = 0;
  LineBytes = 0;
  PreviousDepth = kNoDepth;
}

// A CR: dropped when soft; on a line without body it ends the paragraph and
// goes out; after a body it goes out only when not re-wrapping.
void Run::CarriageReturnStep() {
  if (IsSoftBreak(source, options.Unwrap, LineBytes, Position, kCarriageReturn))
    return;
  if (BodyBytes == 0 && Column > 0 && Rewraps()) {
    EmitLineBreak(sink);
    Column = 0;
  }
  if (BodyBytes == 0) QuoteDepth = kNoDepth;
  if (BodyBytes == 0 || !Rewraps()) EmitChar(sink, kCarriageReturn);
}

// An LF: a soft one joins the next line to this one; a hard one goes out on
// a line without body or when not re-wrapping, and starts the next line.
void Run::LineFeedStep() {
  if (IsSoftBreak(source, options.Unwrap, LineBytes, Position, kLineFeed)) {
    LineBytes = 0;
    return;
  }
  if (BodyBytes == 0 || !Rewraps()) {
    PassLineFeed(sink);
    Column = 0;
  }
  PreviousDepth = QuoteDepth;
  QuoteDepth = 0;
  BodyBytes = 0;
  LineBytes = 0;
}

// A body byte (with its trail byte): opens a new output line where the depth
// changes or when not re-wrapping, and wraps once the line is past the limit.
void Run::BodyStep(std::uint8_t b) {
  if (BodyBytes == 0 && (QuoteDepth != PreviousDepth || !Rewraps())) {
    if (Rewraps() && Column > 0) {
      EmitLineBreak(sink);
      Column = 0;
    }
    Column += Prefix();
    if (options.AutoParagraph) {
      EmitChar(sink, kBlank);
      EmitChar(sink, kBlank);
      Column += 2;
    }
  }
  ++BodyBytes;
  EmitChar(sink, b);
  ++Column;
  if (IsLeadByte(b) && Position + 1 < source.SourceLength) {
    ++Position;
    ++LineBytes;
    ++BodyBytes;
    EmitChar(sink, source.At(Position));
    ++Column;
  }
  if (Rewraps() && Column > options.LineLimit - 2) {
    EmitLineBreak(sink);
    Column = Prefix();
  }
}

}  // namespace

bool IsLeadByte(std::uint8_t b) {
  return (b >= 0x81 && b <= 0x84) || (b >= 0x87 && b <= 0x9F) || b >= 0xE0;
}

std::int32_t EmitQuotePrefix(OutputSink& sink, const SourceText& source,
                             bool marker, bool indent, std::int32_t depth) {
  std::int32_t count = 0;
  if (marker) {
    EmitChar(sink, kQuoteMark);
    ++count;
  }
  for (std::int32_t i = 0; i < source.MaxQuoteDepth; ++i) {
    EmitChar(sink, i < depth ? kQuoteMark : kBlank);
    ++count;
  }
  if (indent) {
    EmitChar(sink, kBlank);
    ++count;
  }
  return count;
}

bool IsSoftBreak(const SourceText& source, bool unwrap, std::int32_t line_bytes,
                 std::int32_t pos, std::uint8_t b) {
  if (pos > source.SourceLength - 3) return false;
  if (!unwrap) return false;
  if (b == kCarriageReturn) {
    ++pos;
    ++line_bytes;
    b = source.At(pos);
  }
  if (b != kLineFeed) return false;
  if (line_bytes < source.MaxLineLength - 1) return false;
  const std::uint8_t next = source.At(pos + 1);
  if (next == kQuoteMark || next == kBlank) return false;
  if (IsWideSpace(source, pos + 1)) return false;
  return true;
}

RunResult Reformat(const FormatOptions& options, const RunInput& input,
                   OutputSink& sink) {
  RunResult result;
  std::unique_ptr<AtomicFileSink> own_file;
  ByteSink* const given_file = sink.file;
  if (sink.mode == OutputMode::File && sink.file == nullptr) {
    own_file = std::make_unique<AtomicFileSink>(input.OutputPath);
    if (!own_file->is_open()) {
      result.ok = false;
      result.error = own_file->error();
      return result;
    }
    sink.file = own_file.get();
  }
  Run run{options, input, input.source, sink};
  run.Loop();
  EmitLineBreak(sink);
  AppendTrailer(options, input.trailer, sink);
  if (sink.mode == OutputMode::File && !sink.file->error().empty()) {
    result.ok = false;
    result.error = sink.file->error();
  }
  sink.file = given_file;
  return result;
}

}  // namespace quibel
