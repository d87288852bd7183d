// Input that forms no character, on the Windows conversions: what replaces
// it is the platform's, but the conversion never fails and what follows a
// whole character still converts.
#include <gtest/gtest.h>

#include "encoding/code_page.h"
#include "encoding/testing.h"

namespace zembrolt {
namespace {

TEST(CodePagePortWin32Test, BadInputNeverFailsTheConversion) {
  LocalCodePage = kCodePageGbk;
  struct Case {
    const char* text;
    const char* tail;  // what the UTF-8 must end with
  } cases[] = {
      {"\xFF"
       "a",
       "a"},
      {"a\x81", ""},
      {"\x81"
       "0",
       ""},  // a lead byte takes the byte after it, whatever it is
      {"\xA2\xE3"
       "b",
       "b"},
  };
  for (const Case& c : cases) {
    const Bytes utf8 = LocalTextToUtf8(Text(c.text));
    EXPECT_FALSE(utf8.empty()) << ToHex(c.text);
    EXPECT_TRUE(utf8.view().ends_with(c.tail)) << ToHex(c.text) << " -> " << ToHex(utf8.view());
  }
  EXPECT_FALSE(CodePageToUtf16(HexBytes("ED A0 80"), kCodePageUtf8).empty());
  EXPECT_TRUE(Utf16ToCodePage(HexBytes("40 D8 00 DC 41 00"), kCodePageGbk).view().ends_with("A"));
}

}  // namespace
}  // namespace zembrolt
