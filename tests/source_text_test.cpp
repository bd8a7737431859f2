#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "engine/source_text.h"
#include "test_util.h"

namespace quibel {
namespace {

struct StatsCase {
  int line;
  std::string text;
  std::int32_t lines, depth, longest;
};

TEST(SourceStatistics, CountsLinesDepthAndLongestLine) {
  const std::string wide_space = "\x81\x40";
  const StatsCase cases[] = {
      {__LINE__, ">> abc\r\n> de\r\n\r\nxyz", 3, 2, 7},
      {__LINE__, "> > a\r\n", 1, 1, 6},
      {__LINE__, " >> a\r\n", 1, 0, 6},
      {__LINE__, wide_space + ">> a\r\n", 1, 0, 7},
      {__LINE__, ">>\n>a\n", 2, 2, 2},
      {__LINE__, ">>\r\n>a\r\n", 2, 2, 3},
      {__LINE__, ">>>\n\n>a\n", 3, 3, 3},
      {__LINE__, "a\n>>>", 1, 0, 1},
      {__LINE__, "a\n>>x", 1, 2, 1},
      {__LINE__, "abc", 0, 0, 0},
      {__LINE__, "\n\n\n", 3, 0, 0},
      {__LINE__, "", 0, 0, 0},
      {__LINE__, std::string("a\0b\x1A" "c\n", 6), 1, 0, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    SourceText source;
    LoadSourceBytes(source, c.text);
    EXPECT_EQ(source.SourceLength, static_cast<std::int32_t>(c.text.size()));
    EXPECT_EQ(source.LineCount, c.lines);
    EXPECT_EQ(source.MaxQuoteDepth, c.depth);
    EXPECT_EQ(source.MaxLineLength, c.longest);
  }
}

class SourceFileTest : public ::testing::Test {
 protected:
  std::filesystem::path dir_ = std::filesystem::temp_directory_path() /
                               ("quibel-src-" + std::to_string(::getpid()));
  void SetUp() override { std::filesystem::create_directories(dir_); }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Write(const std::string& name, const std::string& bytes) {
    const auto path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
};

TEST_F(SourceFileTest, LongFileKeepsItsStartButCountsTheWhole) {
  std::string text;
  for (int i = 0; i < 1300; ++i) text += std::string(99, 'a') + "\n";
  SourceText source;
  const auto result = LoadSourceFile(source, Write("long.txt", text));
  EXPECT_TRUE(result.truncated);
  EXPECT_EQ(source.SourceLength, kSourceTextCap);
  EXPECT_EQ(source.LineCount, 1300);
  EXPECT_EQ(source.MaxLineLength, 99);
}

TEST_F(SourceFileTest, NulAndEndOfTextBytesAreOrdinary) {
  const std::string text("a\x1A\n\0b\n", 6);
  SourceText source;
  const auto result = LoadSourceFile(source, Write("ctl.txt", text));
  EXPECT_FALSE(result.truncated);
  EXPECT_EQ(source.SourceBuffer.substr(0, 6), text);
  EXPECT_EQ(source.LineCount, 2);
}

TEST_F(SourceFileTest, MissingFileOrShorterReloadLeavesOnlyTheNewNumbers) {
  SourceText source;
  LoadSourceFile(source, Write("a.txt", ">>>> long line here\n>> x\n"));
  ASSERT_EQ(source.MaxQuoteDepth, 4);
  LoadSourceFile(source, Write("b.txt", "> y\n"));
  EXPECT_EQ(source.SourceLength, 4);
  EXPECT_EQ(source.MaxQuoteDepth, 1);
  EXPECT_EQ(source.MaxLineLength, 3);
  const auto missing = LoadSourceFile(source, (dir_ / "none.txt").string());
  EXPECT_FALSE(missing.opened);
  EXPECT_FALSE(missing.error.empty());
  EXPECT_EQ(source.SourceLength + source.LineCount + source.MaxQuoteDepth + source.MaxLineLength, 0);
}

TEST(SourceClipboard, TakesUpToTheCapLessOneAndRefusesTheRestWhole) {
  SourceText source;
  auto result = LoadSourceClipboard(source, std::string(kSourceTextCap - 2, 'a') + "\n");
  EXPECT_FALSE(result.refused);
  EXPECT_EQ(source.SourceLength, kSourceTextCap - 1);
  EXPECT_EQ(source.LineCount, 1);
  result = LoadSourceClipboard(source, std::string(kSourceTextCap - 1, 'a') + "\n");
  EXPECT_TRUE(result.refused);
  EXPECT_EQ(source.SourceLength, 0);
  EXPECT_EQ(source.LineCount, 0);
}

TEST(SourceClipboard, EndsBeforeTheFirstZeroByte) {
  SourceText source;
  LoadSourceClipboard(source, std::string("ab\n\0cd\n", 7));
  EXPECT_EQ(source.SourceLength, 3);
  EXPECT_EQ(source.LineCount, 1);
}

}  // namespace
}  // namespace quibel
