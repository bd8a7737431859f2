#include "engine/source_text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quibel {
namespace {

constexpr std::uint8_t kLineFeed = 0x0A;
constexpr std::uint8_t kQuoteMark = 0x3E;

// Bytes read from a file at a time; the size only matters for speed.
constexpr std::size_t kReadChunk = 64 * 1024;

void ResetSource(SourceText& source) {
  source.SourceLength = 0;
  source.LineCount = 0;
  source.MaxQuoteDepth = 0;
  source.MaxLineLength = 0;
}

void TakeCounts(SourceText& source, const SourceCounter& counter) {
  source.LineCount = counter.line_count();
  source.MaxQuoteDepth = counter.max_quote_depth();
  source.MaxLineLength = counter.max_line_length();
}

}  // namespace

void SourceCounter::Feed(std::string_view bytes) {
  for (char c : bytes) {
    const auto b = static_cast<std::uint8_t>(c);
    if (b == kLineFeed) {
      if (run_ > max_quote_depth_) max_quote_depth_ = run_;
      run_ = 0;
      if (line_bytes_ > max_line_length_) max_line_length_ = line_bytes_;
      ++line_count_;
      line_bytes_ = 0;
      line_start_ = true;
    } else if (b == kQuoteMark && line_start_) {
      ++run_;
      ++line_bytes_;
    } else {
      if (run_ > max_quote_depth_) max_quote_depth_ = run_;
      run_ = 0;
      line_start_ = false;
      ++line_bytes_;
    }
  }
}

SourceLoadResult LoadSourceBytes(SourceText& source, std::string_view bytes,
                                 std::size_t cap) {
  SourceLoadResult result;
  result.opened = true;
  ResetSource(source);
  if (bytes.size() > kMaxSourceBytes) {
    result.too_large = true;
    return result;
  }
  const std::size_t kept = bytes.size() < cap ? bytes.size() : cap;
  result.truncated = kept < bytes.size();
  source.SourceBuffer.assign(bytes.substr(0, kept));
  source.SourceLength = static_cast<std::int32_t>(kept);
  SourceCounter counter;
  counter.Feed(bytes);
  TakeCounts(source, counter);
  return result;
}

SourceLoadResult LoadSourceFile(SourceText& source, const std::string& path,
                                std::size_t cap) {
  SourceLoadResult result;
  ResetSource(source);
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    result.error = std::strerror(errno);
    return result;
  }
  result.opened = true;
  std::string kept;
  SourceCounter counter;
  std::size_t total = 0;
  std::string chunk(kReadChunk, '\0');
  for (;;) {
    const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), file);
    if (n > 0) {
      const std::string_view piece(chunk.data(), n);
      counter.Feed(piece);
      if (kept.size() < cap) kept.append(piece.substr(0, cap - kept.size()));
      total += n;
      if (total > kMaxSourceBytes) {
        result.too_large = true;
        break;
      }
    }
    if (n < chunk.size()) {
      // A failed read ends the file where it stands; what came is kept.
      if (std::ferror(file)) result.error = std::strerror(errno);
      break;
    }
  }
  std::fclose(file);
  if (result.too_large) return result;
  result.truncated = kept.size() < total;
  source.SourceBuffer = std::move(kept);
  source.SourceLength = static_cast<std::int32_t>(source.SourceBuffer.size());
  TakeCounts(source, counter);
  return result;
}

SourceLoadResult LoadSourceClipboard(SourceText& source, std::string_view text,
                                     std::size_t cap) {
  SourceLoadResult result;
  result.opened = true;
  ResetSource(source);
  text = text.substr(0, text.find('\0'));
  if (text.size() >= cap) {
    result.refused = true;
    return result;
  }
  source.SourceBuffer.assign(text);
  source.SourceBuffer.push_back('\0');  // the loader's terminator, not text
  source.SourceLength = static_cast<std::int32_t>(text.size());
  SourceCounter counter;
  counter.Feed(text);
  TakeCounts(source, counter);
  return result;
}

}  // namespace quibel
