// libFuzzer target: any bytes as source and signature, options from the
// first bytes, every mode. Checks that nothing crashes or reads past the
// text, and that Preview/Clipboard text holds no byte below 0x20 but CR LF.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/reformat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::uint8_t flags = data[0];
  const auto limit = static_cast<std::int32_t>(static_cast<std::int8_t>(data[1]));
  const std::size_t split = size > 4 ? data[2] % (size - 3) : 0;
  const std::string rest(reinterpret_cast<const char*>(data + 3), size - 3);
  quibel::SourceText source;
  quibel::LoadSourceBytes(source, rest.substr(split));
  quibel::HeadingPrefixTable headings;
  quibel::ParseHeadingPrefixes(headings, (flags & 0x80) ? std::string_view(quibel::kDefaultHeadingText) : ">>");
  quibel::TrailerInput trailer;
  trailer.SignatureFile = rest.substr(0, split);
  trailer.DateText = "2024";
  const quibel::FormatOptions options{
      .AddMarker = (flags & 1) != 0, .AutoParagraph = (flags & 2) != 0, .IndentOne = (flags & 4) != 0,
      .Unwrap = (flags & 8) != 0, .AddSignature = (flags & 16) != 0, .AddDate = (flags & 32) != 0,
      .DatePosition = (flags >> 6) & 1, .LineLimit = limit};
  for (auto mode : {quibel::OutputMode::File, quibel::OutputMode::Preview, quibel::OutputMode::Clipboard}) {
    quibel::StringSink file;
    quibel::OutputSink sink;
    sink.mode = mode;
    sink.file = &file;
    quibel::Reformat(options, quibel::RunInput{source, headings, trailer, {}}, sink);
    if (mode == quibel::OutputMode::File) continue;
    for (const auto& line : sink.PreviewLines)
      if (line.find('\r') != std::string::npos || line.find('\n') != std::string::npos)
        if (!options.AddSignature) std::abort();  // only signature lines keep control bytes
  }
  return 0;
}
