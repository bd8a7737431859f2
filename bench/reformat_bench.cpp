// Speed of a whole run over a source as large as the window takes.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "engine/reformat.h"

namespace {

std::string LargeReply() {
  // Quoted Japanese text at three depths, CR LF line ends, up to the cap.
  const std::string lines[] = {
      ">> \x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8\x8a\xbf\x8e\x9a\x82\xa9\x82\xc8" "abc\r\n",
      "> \x96\x7b\x95\xb6\x82\xc5\x82\xb7\x81\x42 quoted text here\r\n",
      "\x81\x40\x95\xd4\x90\x4d\x82\xc5\x82\xb7\x81\x42\r\n", "\r\n", "--- heading ---\r\n"};
  std::string text;
  for (std::size_t i = 0; text.size() < quibel::kSourceTextCap - 100; ++i) text += lines[i % 5];
  return text;
}

void BM_Reformat(benchmark::State& state, quibel::OutputMode mode, std::int32_t limit) {
  quibel::SourceText source;
  quibel::LoadSourceBytes(source, LargeReply());
  quibel::HeadingPrefixTable headings;
  quibel::ParseHeadingPrefixes(headings, quibel::kDefaultHeadingText);
  quibel::TrailerInput trailer;
  const quibel::FormatOptions options{.AddMarker = true, .AutoParagraph = true, .IndentOne = true,
                                      .Unwrap = true, .LineLimit = limit};
  for (auto _ : state) {
    quibel::StringSink file;
    quibel::OutputSink sink;
    sink.mode = mode;
    sink.file = &file;
    quibel::Reformat(options, quibel::RunInput{source, headings, trailer, {}}, sink);
    benchmark::DoNotOptimize(sink.OutputText.data());
  }
  state.SetBytesProcessed(state.iterations() * source.SourceLength);
}

BENCHMARK_CAPTURE(BM_Reformat, file_rewrap, quibel::OutputMode::File, 72);
BENCHMARK_CAPTURE(BM_Reformat, file_lines, quibel::OutputMode::File, 0);
BENCHMARK_CAPTURE(BM_Reformat, preview_rewrap, quibel::OutputMode::Preview, 72);

}  // namespace

BENCHMARK_MAIN();
