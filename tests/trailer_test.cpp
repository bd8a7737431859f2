#include <gtest/gtest.h>

#include "engine/reformat.h"
#include "test_util.h"

namespace quibel {
namespace {

using test::RunEngine;
using test::Show;
using test::Sj;

const std::string kDate = Sj("2024年3月3日（日曜日）");  // 22 bytes
const std::string kDateShown = "2024年3月3日（日曜日）";
const std::string k30(30, 'x');
const std::string kBody = "b\\r\\n\\r\\n";  // the body of every run below, rendered

struct TrailerCase {
  int line;
  std::optional<std::string> signature;
  FormatOptions options;
  OutputMode mode;
  std::string expected;  // as RunRecord::Rendered gives it
};

TEST(Trailer, SignatureAndDateLine) {
  const FormatOptions sig_date0{.AddSignature = true, .AddDate = true};
  const FormatOptions sig_date1{.AddSignature = true, .AddDate = true, .DatePosition = 1};
  const TrailerCase cases[] = {
      // Under the deepest leading blanks: 0, 3 and 4 (two full-width blanks).
      {__LINE__, Sj("--\r\n   abc\r\n　　ＡＢ\r\n"), sig_date0, OutputMode::File,
       kBody + "--\\r\\n   abc\\r\\n　　ＡＢ\\r\\n    " + kDateShown + "\\r\\n"},
      // ＝ begins with 0x81 but is no blank; a full-width blank then ・ counts 2.
      {__LINE__, Sj("＝＝＝\r\n　・abc\r\n"), sig_date0, OutputMode::File,
       kBody + "＝＝＝\\r\\n　・abc\\r\\n  " + kDateShown + "\\r\\n"},
      // Right-aligned on the longest line with its line feed: 31 - 22 blanks.
      {__LINE__, "--\r\n" + k30 + "\r\n", sig_date1, OutputMode::File,
       kBody + "--\\r\\n" + k30 + "\\r\\n" + std::string(9, ' ') + kDateShown + "\\r\\n"},
      // No line feed on the longest, last line: flush, and on the same line.
      {__LINE__, "--\r\n" + k30, sig_date1, OutputMode::File,
       kBody + "--\\r\\n" + k30 + std::string(8, ' ') + kDateShown + "\\r\\n"},
      {__LINE__, "--\r\n" + k30, sig_date1, OutputMode::Preview,
       "[b][][--][" + k30 + "][" + std::string(8, ' ') + kDateShown + "] " + kBody + "--\\r\\n" + k30 +
           "\\r\\n"},
      // A date longer than every line: no blanks.
      {__LINE__, std::string("ab\r\n"), sig_date1, OutputMode::File, kBody + "ab\\r\\n" + kDateShown + "\\r\\n"},
      // No signature asked for, or none on disk: no blanks either way.
      {__LINE__, "   abc\r\n", {.AddDate = true}, OutputMode::File, kBody + kDateShown + "\\r\\n"},
      {__LINE__, "   abc\r\n", {.AddDate = true, .DatePosition = 1}, OutputMode::File, kBody + kDateShown + "\\r\\n"},
      {__LINE__, std::nullopt, sig_date1, OutputMode::File, kBody + kDateShown + "\\r\\n"},
      // Read as text: every CR dropped, 0x1A ends it.
      {__LINE__, std::string("a\rb\r\nc\x1A" "d\r\n"), {.AddSignature = true}, OutputMode::File,
       kBody + "ab\\r\\nc"},
      // Clipboard: the date line goes to the text, not to the preview's lines.
      {__LINE__, std::string("s\r\n"), sig_date0, OutputMode::Clipboard,
       "[b][][s] " + kBody + "s\\r\\n" + kDateShown + "\\r\\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    TrailerInput trailer;
    trailer.SignatureFile = c.signature;
    trailer.DateText = kDate;
    const auto record = RunEngine("b\r\n", c.options, c.mode, {}, trailer);
    EXPECT_EQ(record.Rendered(c.mode), c.expected);
  }
}

TEST(Trailer, LongSignatureLineComesInPiecesOf1023Bytes) {
  TrailerInput trailer;
  trailer.SignatureFile = std::string(1500, 's') + "\r\n";
  trailer.DateText = kDate;
  const FormatOptions options{.AddSignature = true, .AddDate = true, .DatePosition = 1};
  const auto file = RunEngine("b\r\n", options, OutputMode::File, {}, trailer);
  EXPECT_EQ(file.file, "b\r\n\r\n" + std::string(1500, 's') + "\r\n" +
                           std::string(1023 - 22, ' ') + kDate + "\r\n");
  const auto preview = RunEngine("b\r\n", options, OutputMode::Preview, {}, trailer);
  ASSERT_EQ(preview.lines.size(), 5u);
  EXPECT_EQ(preview.lines[2].size(), 1023u);
  EXPECT_EQ(preview.lines[3].size(), 477u);
  EXPECT_EQ(preview.lines[4], std::string(1023 - 22, ' ') + kDate);
}

TEST(Trailer, ClipboardReceivesExactlyTheOutputText) {
  const auto record = RunEngine("> a\r\n", {.AddMarker = true}, OutputMode::Clipboard);
  ASSERT_TRUE(record.clipboard_set);
  EXPECT_EQ(record.clipboard, ">>a\r\n\r\n");
  EXPECT_EQ(record.clipboard, record.text);
  EXPECT_FALSE(RunEngine("a\r\n", {}, OutputMode::Preview).clipboard_set);
}

}  // namespace
}  // namespace quibel
