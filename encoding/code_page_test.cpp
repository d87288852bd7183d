#include "encoding/code_page.h"

#include <gtest/gtest.h>

#include "encoding/testing.h"

namespace zembrolt {
namespace {

class CodePageTest : public ::testing::Test {
 protected:
  void SetUp() override { LocalCodePage = kCodePageGbk; }
};

TEST_F(CodePageTest, LocalTextToUtf8) {
  const struct Case {
    const char* text;
    const char* utf8;
  } cases[] = {
      {"", ""},
      {"abc", "61 62 63"},
      {"\xD6\xD0\xCE\xC4", "E4 B8 AD E6 96 87"},                      // 中文
      {"\xB0\xB2\xD7\xBF - QQ", "E5 AE 89 E5 8D 93 20 2D 20 51 51"},  // 安卓 - QQ
      {"\x80", "E2 82 AC"},  // the euro sign of code page 936
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LocalTextToUtf8(Text(c.text)), HexBytes(c.utf8)) << ToHex(c.text);
  }
}

TEST_F(CodePageTest, LocalTextToUtf16EndsWithZeroUnit) {
  EXPECT_EQ(LocalTextToUtf16(Text("A")), HexBytes("41 00 00 00"));
  EXPECT_EQ(LocalTextToUtf16(Text("\xD6\xD0")), HexBytes("2D 4E 00 00"));
  EXPECT_EQ(LocalTextToUtf16(Text()), Bytes());
}

TEST_F(CodePageTest, LocalTextToUtf16ReadsLocalCodePage) {
  LocalCodePage = kCodePageUtf8;
  EXPECT_EQ(LocalTextToUtf16(Text("\xE4\xB8\xAD")), HexBytes("2D 4E 00 00"));
}

TEST(CodePageToUtf16Test, Cases) {
  const struct Case {
    const char* input;
    std::uint32_t codePage;
    const char* wide;
  } cases[] = {
      {"61 00 62", kCodePageGbk, "61 00 00 00"},  // stops at the NUL
      {"00 61", kCodePageGbk, ""},
      {"", kCodePageGbk, ""},
      {"C2 A9", kCodePageUtf8, "A9 00 00 00"},
      {"F0 A0 80 80", kCodePageUtf8, "40 D8 00 DC 00 00"},
      {"61 FF 62", kCodePageUtf8, "61 00 FD FF 62 00 00 00"},
      {"E4 B8 61", kCodePageUtf8, "FD FF 61 00 00 00"},  // cut short: one substitute
      {"61", 1234, ""},                                  // unknown code page
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CodePageToUtf16(HexBytes(c.input), c.codePage), HexBytes(c.wide))
        << c.input << " in " << c.codePage;
  }
}

TEST(Utf16ToCodePageTest, Cases) {
  const struct Case {
    const char* wide;
    std::uint32_t codePage;
    const char* bytes;
  } cases[] = {
      {"2D 4E 87 65 00 00", kCodePageUtf8, "E4 B8 AD E6 96 87"},
      {"2D 4E 87 65", kCodePageUtf8, "E4 B8 AD E6 96 87"},  // no zero unit needed
      {"2D 4E 00 00 87 65", kCodePageUtf8, "E4 B8 AD"},     // stops at the zero unit
      {"40 D8 00 DC", kCodePageUtf8, "F0 A0 80 80"},
      {"00 D8 41 00", kCodePageUtf8, "EF BF BD 41"},  // lone high surrogate
      {"41 00 00 DC", kCodePageUtf8, "41 EF BF BD"},  // lone low surrogate at the end
      {"2D 4E 87 65", kCodePageGbk, "D6 D0 CE C4"},
      {"A9 00 41 00", kCodePageGbk, "3F 41"},  // no form in code page 936
      {"00 D8 41 00", kCodePageGbk, "3F 41"},
      {"41 00 62", kCodePageUtf8, "41"},  // a trailing odd byte is no unit
      {"00 00 41 00", kCodePageUtf8, ""},
      {"", kCodePageUtf8, ""},
      {"41 00", 1234, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf16ToCodePage(HexBytes(c.wide), c.codePage), HexBytes(c.bytes))
        << c.wide << " in " << c.codePage;
  }
}

// What bytes that form no character turn into is the platform's own choice;
// code_page_port_*_test.cpp hold those cases.

// Every two-byte character of code page 936 must come back as itself, which
// catches a port that loses or shifts bytes anywhere in the table.
TEST(CodePageRoundTripTest, EveryGbkCharacterSurvives) {
  int characters = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const char pair[] = {static_cast<char>(lead), static_cast<char>(trail)};
      const Bytes gbk(std::string_view(pair, 2));
      const Bytes wide = CodePageToUtf16(gbk, kCodePageGbk);
      ASSERT_EQ(wide.size(), 4u) << ToHex(gbk.view());
      if (wide == HexBytes("FD FF 00 00")) continue;  // unassigned in the code page
      ++characters;
      EXPECT_EQ(Utf16ToCodePage(wide, kCodePageGbk), gbk) << ToHex(gbk.view());
      EXPECT_EQ(CodePageToUtf16(Utf16ToCodePage(wide, kCodePageUtf8), kCodePageUtf8), wide);
    }
  }
  EXPECT_GT(characters, 21000);
}

}  // namespace
}  // namespace zembrolt
