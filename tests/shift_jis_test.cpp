#include <gtest/gtest.h>

#include "ui/shift_jis.h"

namespace quibel {
namespace {

TEST(ShiftJis, BytesThatDoNotDecodeBecomeReplacementCharacters) {
  // A lone lead byte before CR LF, and a real 0x1A that must stay 0x1A.
  const QString text = FromShiftJis(std::string_view("\x82\r\n\x1A\x82\xA0", 6));
  EXPECT_EQ(text, QString::fromUtf8("\uFFFD\r\n\x1A" "あ"));
  // One cut off at the very end is not dropped either.
  EXPECT_EQ(FromShiftJis("a\x82"), QString::fromUtf8("a\uFFFD"));
  EXPECT_FALSE(FromShiftJisStrict("a\x82"));
  EXPECT_EQ(FromShiftJisStrict("a\x82\xA0").value(), QString::fromUtf8("aあ"));
}

TEST(ShiftJis, EveryAsciiByteRoundTripsAsItself) {
  std::string ascii;
  for (int b = 0; b < 0x80; ++b) ascii.push_back(static_cast<char>(b));
  const QString text = FromShiftJis(ascii);
  ASSERT_EQ(text.size(), 0x80);
  for (int b = 0; b < 0x80; ++b) EXPECT_EQ(text.at(b).unicode(), b);
  EXPECT_EQ(ToShiftJis(text).value(), ascii);
}

TEST(ShiftJis, UnmappableCharacterIsNamedWithItsLine) {
  Unmappable bad;
  EXPECT_FALSE(ToShiftJis(QString::fromUtf8("あ\nい😀"), &bad));
  EXPECT_EQ(bad.line, 2);
  EXPECT_EQ(bad.Describe(), QString::fromUtf8("line 2: '😀' (U+1F600)"));
  EXPECT_EQ(ToShiftJis(QString::fromUtf8("－／【")).value(), "\x81\x7C\x81\x5E\x81\x79");
}

}  // namespace
}  // namespace quibel
