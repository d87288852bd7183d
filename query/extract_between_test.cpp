#include "query/extract_between.h"

#include <gtest/gtest.h>

#include <climits>

#include "encoding/testing.h"

namespace zembrolt {
namespace {

TEST(ExtractBetweenTest, Cases) {
  const struct Case {
    const char* text;
    const char* startMarker;
    const char* endMarker;
    std::int32_t start;
    bool ignoreCase;
    const char* want;
  } cases[] = {
      {"k=\"v\";", "k=\"", "\";", 0, false, "v"},
      {"", "a", "b", 0, false, ""},
      {"abc", "x", "c", 0, false, ""},           // no start marker
      {"cab", "a", "c", 0, false, ""},           // end marker only before it
      {"[1][2]", "[", "]", 0, false, "1"},       // the first start marker counts
      {"a||b", "|", "|", 0, false, ""},          // end marker directly after
      {"abc", "bc", "c", 0, false, ""},          // would overlap the start marker
      {"xyz|", "|", "z", 0, false, ""},          // start marker at the very end
      {"|one|two|", "|", "|", 0, false, "one"},  // end equal to start
      {"ab|c", "", "|", 3, false, "ab"},         // empty start: from the first byte
      {"ab|c", "", "|", 5, false, ""},           // ... when a byte is left at the start
      {"a|b|", "a", "", 0, false, ""},           // empty end: always empty
      {"[1][2]", "[", "]", 2, false, "2"},
      {"[1][2]", "[", "]", -7, false, "1"},
      {"[1]", "[", "]", 4, false, ""},
      {"[1]", "[", "]", INT32_MAX, false, ""},
      {"K=\"v\";", "k=\"", "\";", 0, false, ""},
      {"K=\"v\";", "k=\"", "\";", 0, true, "v"},
      {"\"n\":\"\xD5\xE3\xBD\xAD\xCA\xA1\",\"", "\"n\":\"", "\",\"", 0, false,
       "\xD5\xE3\xBD\xAD\xCA\xA1"},                            // 浙江省: six bytes back
      {"\xD6\xD0\xB9\xFA|x|", "\xD0\xB9", "|", 0, false, ""},  // no start across characters
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractBetween(c.text, c.startMarker, c.endMarker, c.start, c.ignoreCase),
              Text(c.want))
        << c.text << " / " << c.startMarker << " / " << c.endMarker << " from " << c.start;
  }
}

TEST(ExtractBetweenTest, QuoteTokenStandsForDoubleQuote) {
  const Text reply = "{\"guobiao\":\"9876\",\"stamp\":1}";
  const Text start = "guobiao#\xD2\xFD:#\xD2\xFD\xBA\xC5";  // half a token is no token
  EXPECT_EQ(ExtractBetween(reply, start, "\",", 0, false), Text());

  const Text tokenStart = Text("guobiao") + kQuoteToken + ":" + kQuoteToken;
  const Text tokenEnd = Text(kQuoteToken) + ",";
  EXPECT_EQ(ExtractBetween(reply, tokenStart, tokenEnd, 0, false), Text("9876"));
  EXPECT_EQ(ExtractBetween(reply, "guobiao\":\"", "\",", 0, false), Text("9876"));
  EXPECT_EQ(tokenStart, Text("guobiao#\xD2\xFD\xBA\xC5:#\xD2\xFD\xBA\xC5"));  // left as it was
}

TEST(ExtractBetweenTest, QuoteTokenIsCodePage936) {
  EXPECT_EQ(Text(kQuoteToken), GbkFromUtf8("#引号"));
}

}  // namespace
}  // namespace zembrolt
