#include "encoding/convert_encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "encoding/testing.h"

namespace zembrolt {
namespace {

TEST(ConvertEncodingTest, Cases) {
  const struct Case {
    const char* input;
    const char* from;
    const char* to;
    const char* output;
  } cases[] = {
      {"E4 B8 AD E6 96 87", "UTF-8", "GB18030", "D6 D0 CE C4"},
      {"61 62 63", "UTF-8", "GB18030", "61 62 63"},
      {"C2 A9", "UTF-8", "GB18030", "81 30 84 38"},  // longer than its input
      {"F0 A0 80 80", "UTF-8", "GB18030", "95 32 82 36"},
      {"61 00 62", "UTF-8", "GB18030", "61 00 62"},  // NUL is a character here
      {"", "UTF-8", "GB18030", ""},
      {"", "no-such-encoding", "GB18030", ""},
      {"61 62 E4 B8", "UTF-8", "GB18030", ""},  // cut short: nothing, not "ab"
      {"61 FF 62", "UTF-8", "GB18030", ""},
      {"61", "UTF-8", "no-such-encoding", ""},
      {"61", "no-such-encoding", "UTF-8", ""},
      {"D6 D0 CE C4", "GB18030", "UTF-8", "E4 B8 AD E6 96 87"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ConvertEncoding(HexBytes(c.input), c.from, c.to), HexBytes(c.output))
        << c.input << " from " << c.from << " to " << c.to;
  }
}

std::string Repeat(std::string_view piece, int times) {
  std::string s;
  for (int i = 0; i < times; ++i) s += piece;
  return s;
}

// A result that outgrows the first area, and the area after one growth, must
// come out whole: the conversion goes on where it stopped.
TEST(ConvertEncodingTest, GrowsTheAreaAndContinues) {
  const int n = 5000;  // 10000 bytes in, 20000 out: two growths of 5128
  const Bytes input(Repeat("\xC2\xA9", n));
  EXPECT_EQ(ConvertEncoding(input, "UTF-8", "GB18030"), Bytes(Repeat("\x81\x30\x84\x38", n)));
}

// Four times the input needs six growths, so the seventh call finishes; a
// byte converted twice or lost at a seam would show.
TEST(ConvertEncodingTest, ManyGrowthsKeepEveryByteOnce) {
  std::string input;
  for (int i = 0; i < 20000; ++i) input.push_back(static_cast<char>('a' + i % 26));
  std::string want;
  for (char c : input) want += std::string{c, '\0', '\0', '\0'};
  EXPECT_EQ(ConvertEncoding(Bytes(input), "UTF-8", "UTF-32LE"), Bytes(want));
}

}  // namespace
}  // namespace zembrolt
