#include <gtest/gtest.h>

#include "engine/reformat.h"
#include "test_util.h"

namespace quibel {
namespace {

using test::CrLf;
using test::RunEngine;
using test::Sj;

constexpr auto kFile = OutputMode::File;
constexpr auto kPreview = OutputMode::Preview;
constexpr auto kClipboard = OutputMode::Clipboard;

struct ReflowCase {
  int line;
  std::string source;
  FormatOptions options;
  OutputMode mode;
  std::string expected;  // as RunRecord::Rendered gives it
  std::string headings = {};
};

void Check(const ReflowCase& c) {
  SCOPED_TRACE(c.line);
  const auto record = RunEngine(c.source, c.options, c.mode, c.headings);
  EXPECT_TRUE(record.result.ok);
  EXPECT_EQ(record.Rendered(c.mode), c.expected);
}

const std::string kDeep20 = std::string(20, '>') + "ab\r\n";
const std::string kDeepPrefix = std::string(21, '>') + " ";  // marker, 20 marks, indent

TEST(Reflow, WorkedExamples) {
  const ReflowCase cases[] = {
      // Uniform prefix, one output line per source line.
      {__LINE__, CrLf({"> abc", ">> def", "ghi"}), {.AddMarker = true, .IndentOne = true}, kFile,
       R"(>>  abc\r\n>>> def\r\n>   ghi\r\n\r\n)"},
      {__LINE__, CrLf({"> abc", ">> def", "ghi"}),
       {.AddMarker = true, .AutoParagraph = true, .IndentOne = true}, kFile,
       R"(>>    abc\r\n>>>   def\r\n>     ghi\r\n\r\n)"},
      // Re-wrapping single-byte text: joined with nothing between, cut past 18.
      {__LINE__, CrLf({"abcdefghij klm", "nop qrstuvwxyz", "", "ABC"}),
       {.AddMarker = true, .LineLimit = 20}, kFile,
       R"(>abcdefghij klmnop \r\n>qrstuvwxyz\r\n\r\n>ABC\r\n)"},
      {__LINE__, CrLf({"abcdefghij klm", "nop qrstuvwxyz", "", "ABC"}),
       {.AddMarker = true, .LineLimit = 20}, kPreview,
       R"([>abcdefghij klmnop ][>qrstuvwxyz][][>ABC] >abcdefghij klmnop \r\n>qrstuvwxyz\r\n\r\n>ABC\r\n)"},
      // Re-wrapping double-byte text: a line may end at LineLimit bytes.
      {__LINE__, CrLf({"あいうえおかきくけこ", "さしすせそたちつてと"}),
       {.AddMarker = true, .LineLimit = 20}, kFile,
       R"(>あいうえおかきくけ\r\n>こさしすせそたちつ\r\n>てと\r\n)"},
      // Full-width space dropped before the body; automatic paragraphs.
      {__LINE__, CrLf({"　本文です。", "続き。", "", "　次の段落。"}),
       {.AddMarker = true, .AutoParagraph = true, .LineLimit = 30}, kFile,
       R"(>  本文です。続き。\r\n\r\n>  次の段落。\r\n)"},
      // Undoing a mailer's wrap.
      {__LINE__, CrLf({"> あいうえおかきくけこ", "さしす", "> たちつ"}),
       {.AddMarker = true, .IndentOne = true, .Unwrap = true, .LineLimit = 40}, kFile,
       R"(>> あいうえおかきくけこさしすたちつ\r\n)"},
      {__LINE__, CrLf({"> あいうえおかきくけこ", "さしす", "> たちつ"}),
       {.AddMarker = true, .IndentOne = true, .LineLimit = 40}, kFile,
       R"(>> あいうえおかきくけこ\r\n>  さしす\r\n>> たちつ\r\n)"},
      {__LINE__, CrLf({"> あいうえおかきくけこ", "さしす", "> たちつ"}),
       {.AddMarker = true, .IndentOne = true, .Unwrap = true}, kFile,
       R"(>> あいうえおかきくけこさしす\r\n>> たちつ\r\n\r\n)"},
      // A quote-only line breaks the paragraph.
      {__LINE__, CrLf({"> abc", ">", "> def"}), {.AddMarker = true, .IndentOne = true, .LineLimit = 20},
       kFile, R"(>> abc\r\n\r\n>> def\r\n)"},
      // Wrap boundaries: 18 bytes stay, the 19th wraps and the prefix follows.
      {__LINE__, CrLf({"abcdefghijklmnopq", "r"}), {.AddMarker = true, .LineLimit = 20}, kFile,
       R"(>abcdefghijklmnopqr\r\n>\r\n)"},
      // A prefix longer than the limit: one character per line.
      {__LINE__, kDeep20, {.AddMarker = true, .IndentOne = true, .LineLimit = 20}, kFile,
       kDeepPrefix + "a\\r\\n" + kDeepPrefix + "b\\r\\n" + kDeepPrefix + "\\r\\n"},
      // An empty line of a bare LF passes through but joins the paragraph.
      {__LINE__, "abc\n\ndef\n", {.AddMarker = true, .LineLimit = 20}, kFile, R"(>abc\ndef\r\n)"},
      // Blanks between the marks are dropped; the depth goes past the count of
      // the statistics, the prefix does not.
      {__LINE__, "> > a\r\n", {}, kFile, R"(>a\r\n\r\n)"},
      // A tab is a body byte: kept in a file, dropped from the other modes.
      {__LINE__, "a\tb\r\n", {}, kFile, R"(a<09>b\r\n\r\n)"},
      {__LINE__, "a\tb\r\n", {}, kClipboard, R"([ab][] ab\r\n\r\n)"},
      // A lead byte that ends the text goes out alone; nothing past the end.
      {__LINE__, "a\r\nb\x82", {.LineLimit = 20}, kFile, R"(ab?\r\n)"},
      // A CR without LF after a body stays with LineLimit below 20.
      {__LINE__, "ab\rc\n", {.AddMarker = true}, kFile, R"(>ab\rc\n\r\n)"},
  };
  for (const auto& c : cases) Check(c);
}

TEST(Reflow, HeadingLines) {
  const std::string defaults(kDefaultHeadingText);
  const ReflowCase cases[] = {
      {__LINE__, CrLf({"> 引用です", "--- 見出し ---", "本文"}),
       {.AddMarker = true, .IndentOne = true, .LineLimit = 20}, kFile,
       R"(>> 引用です\r\n--- 見出し ---\r\n>  本文\r\n)", defaults},
      {__LINE__, CrLf({"> 引用です", "--- 見出し ---", "本文"}),
       {.AddMarker = true, .IndentOne = true, .LineLimit = 20}, kPreview,
       R"([>> 引用です][--- 見出し ---][>  本文] >> 引用です\r\n--- 見出し ---\r\n>  本文\r\n)", defaults},
      // The heading's own line end is reproduced in a file.
      {__LINE__, "--abc\r\n", {}, kFile, R"(--abc\r\n\r\n)", defaults},
      {__LINE__, "--abc\n", {}, kFile, R"(--abc\n\r\n)", defaults},
      {__LINE__, "--abc\n", {}, kClipboard, R"([--abc][] --abc\r\n\r\n)", defaults},
      // A heading at the very end: the final break follows in a file; the
      // other modes end it as a line of its own first.
      {__LINE__, "x\r\n--abc", {.LineLimit = 20}, kFile, R"(x\r\n--abc\r\n)", defaults},
      {__LINE__, "x\r\n--abc", {.LineLimit = 20}, kPreview, R"([x][--abc][] x\r\n--abc\r\n\r\n)", defaults},
      // 【 and ／ start headings, a single hyphen does not; blanks before a
      // heading are dropped, a quote mark before it makes it a quote.
      {__LINE__, CrLf({"【題】", "／", "-a", "  --b", ">--c"}), {.AddMarker = true}, kFile,
       R"(【題】\r\n／\r\n> -a\r\n--b\r\n>>--c\r\n\r\n)", defaults},
      // No heading text: no heading lines.
      {__LINE__, "--abc\r\n", {.AddMarker = true}, kFile, R"(>--abc\r\n\r\n)", ""},
      // A hyphen then 【 pairs as 0x2D 0x81: any "-" before a 0x81 character.
      {__LINE__, CrLf({"-－x", "-a"}), {.AddMarker = true}, kFile, R"(-－x\r\n>-a\r\n\r\n)", Sj("-【")},
      // A prefix of two quote marks keeps such lines as they stand.
      {__LINE__, CrLf({">> a", "> >b"}), {.AddMarker = true}, kFile, R"(>> a\r\n>>>b\r\n\r\n)", ">>"},
  };
  for (const auto& c : cases) Check(c);
}

TEST(HeadingPrefixes, PairsBytesFromTheStartAndKeepAHundred) {
  HeadingPrefixTable table;
  ParseHeadingPrefixes(table, kDefaultHeadingText);
  EXPECT_EQ(table.HeadingPrefixCount, 5);
  ParseHeadingPrefixes(table, "abc");
  EXPECT_EQ(table.HeadingPrefixCount, 1);
  EXPECT_EQ(table.entries[0].second, 'b');
  ParseHeadingPrefixes(table, "a");
  EXPECT_EQ(table.HeadingPrefixCount, 0);
  ParseHeadingPrefixes(table, std::string(399, 'x'));
  EXPECT_EQ(table.HeadingPrefixCount, kMaxHeadingPrefixes);
}

TEST(HeadingPrefixes, NeverMatchAcrossTheEndOfTheText) {
  SourceText source;
  LoadSourceBytes(source, "a-");
  HeadingPrefixTable table;
  ParseHeadingPrefixes(table, std::string("-\0", 2));
  EXPECT_FALSE(MatchHeadingPrefix(table, source, 1));
}

TEST(OutputSink, LineEndsOfEachMode) {
  StringSink file;
  OutputSink sink;
  sink.file = &file;
  for (std::uint8_t b : {0x61, 0x09, 0x00}) EmitChar(sink, b);
  EmitLineBreak(sink);
  EXPECT_EQ(file.text(), std::string("a\t\0\r\n", 5));

  for (auto mode : {kPreview, kClipboard}) {
    OutputSink text;
    text.mode = mode;
    for (std::uint8_t b : {0x61, 0x09, 0x00, 0x0D, 0x82, 0xA0}) EmitChar(text, b);
    EmitLineBreak(text);
    EmitLineBreak(text);
    EXPECT_EQ(text.OutputText, "a\x82\xA0\r\n\r\n");
    EXPECT_EQ(text.PreviewLines, (std::vector<std::string>{"a\x82\xA0", ""}));
    EXPECT_TRUE(text.PendingLine.empty());
  }
}

TEST(SoftBreak, NeedsUnwrapALongLineAndAPlainNextLine) {
  SourceText source;
  LoadSourceBytes(source, "abcd\r\nxy\r\n> z\r\n");  // MaxLineLength 5
  EXPECT_TRUE(IsSoftBreak(source, true, 5, 4, 0x0D));
  EXPECT_TRUE(IsSoftBreak(source, true, 6, 5, 0x0A));
  EXPECT_FALSE(IsSoftBreak(source, false, 5, 4, 0x0D));
  EXPECT_FALSE(IsSoftBreak(source, true, 2, 4, 0x0D));   // too short a line
  EXPECT_FALSE(IsSoftBreak(source, true, 4, 8, 0x0D));   // next line quoted
  EXPECT_FALSE(IsSoftBreak(source, true, 6, 13, 0x0D));  // too near the end
}

}  // namespace
}  // namespace quibel
