// The substitutes of the C library port for input that forms no character.
#include <gtest/gtest.h>

#include "encoding/code_page.h"
#include "encoding/testing.h"

namespace zembrolt {
namespace {

TEST(CodePagePortPosixTest, BadInputIsReplacedByCharacter) {
  LocalCodePage = kCodePageGbk;
  const struct Case {
    const char* text;
    const char* utf8;
  } cases[] = {
      {"\xFF"
       "a",
       "EF BF BD 61"},           // no character: substituted, rest kept
      {"a\x81", "61 EF BF BD"},  // lead byte cut off by the end
      {"\x81"
       "0",
       "EF BF BD 30"},  // no trail byte: the digit stays
      {"\xA2\xE3"
       "b",
       "EF BF BD 62"},  // unassigned pair: one substitute
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LocalTextToUtf8(Text(c.text)), HexBytes(c.utf8)) << ToHex(c.text);
  }
  // An encoded surrogate is no character.
  EXPECT_EQ(CodePageToUtf16(HexBytes("ED A0 80"), kCodePageUtf8),
            HexBytes("FD FF FD FF FD FF 00 00"));
  // One "?" for a whole pair.
  EXPECT_EQ(Utf16ToCodePage(HexBytes("40 D8 00 DC 41 00"), kCodePageGbk), HexBytes("3F 41"));
}

}  // namespace
}  // namespace zembrolt
