#include "encoding/url_escape.h"

#include <gtest/gtest.h>

#include <string>

#include "encoding/code_page.h"
#include "encoding/testing.h"

namespace zembrolt {
namespace {

using namespace std::literals;

TEST(EscapeBytesForUrlTest, Cases) {
  const struct Case {
    std::string_view input;
    bool keepUnreserved;
    const char* escaped;
  } cases[] = {
      {"", true, ""},
      {"", false, ""},
      {"Az09-._'()*", true, "Az09-._'()*"},
      {"~!+%&=/", true, "%7E%21%2B%25%26%3D%2F"},
      {" ", true, "+"},
      {" ", false, "+"},
      {"a b", false, "%61+%62"},
      {"\xE5", true, "%E5"},
      {"a\0b"sv, true, "ab"},
      {"\0\0"sv, true, ""},
      {"\x01\x1F\x7F\x80\xFF", true, "%01%1F%7F%80%FF"},
      {"Torvanel", true, "Torvanel"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EscapeBytesForUrl(Bytes(c.input), c.keepUnreserved), Text(c.escaped))
        << ToHex(c.input) << " keep=" << c.keepUnreserved;
  }
}

// The unreserved set is exactly 69 byte values; every other byte but NUL and
// space takes three characters.
TEST(EscapeBytesForUrlTest, EveryByteValue) {
  int kept = 0;
  for (int b = 1; b <= 255; ++b) {
    const Bytes one(std::string(1, static_cast<char>(b)));
    const Text escaped = EscapeBytesForUrl(one, true);
    if (escaped.size() == 1 && b != ' ') {
      EXPECT_EQ(escaped[0], b);
      ++kept;
    } else if (b != ' ') {
      char want[4];
      (void)std::snprintf(want, sizeof want, "%%%02X", b);
      EXPECT_EQ(escaped, Text(want));
    }
    EXPECT_EQ(EscapeBytesForUrl(one, false).size(), b == ' ' ? 1u : 3u);
  }
  EXPECT_EQ(kept, 69);
}

TEST(UrlEncodeTextTest, Switches) {
  LocalCodePage = kCodePageGbk;
  const Text chinese("\xD6\xD0\xCE\xC4");  // 中文
  EXPECT_EQ(UrlEncodeText(chinese, true, true), Text("%E4%B8%AD%E6%96%87"));
  EXPECT_EQ(UrlEncodeText(chinese, true, false), Text("%D6%D0%CE%C4"));
  EXPECT_EQ(UrlEncodeText(Text("a b"), false, true), Text("%61+%62"));
  EXPECT_EQ(UrlEncodeText(Text(), true, true), Text());
  EXPECT_EQ(UrlEncodeText(Text(), false, false), Text());
}

}  // namespace
}  // namespace zembrolt
