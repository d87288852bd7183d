#include "query/text_search.h"

#include <gtest/gtest.h>

#include <climits>

#include "encoding/testing.h"

namespace zembrolt {
namespace {

TEST(LocateTextTest, Cases) {
  const struct Case {
    const char* text;
    const char* sought;
    std::int32_t start;
    bool ignoreCase;
    std::int32_t want;
  } cases[] = {
      {"abcabc", "bc", 0, false, 2},
      {"abcabc", "bc", 3, false, 5},  // positions count from the text's start
      {"abcabc", "bc", 6, false, -1},
      {"abc", "abcd", 1, false, -1},
      {"", "a", 1, false, -1},
      {"abc", "", -5, false, 1},  // empty sought: 1 whatever the start
      {"abc", "", 3, false, 1},
      {"abc", "", 4, false, -1},  // ... unless no byte is left
      {"", "", 1, false, -1},
      {"abc", "a", 0, false, 1},
      {"abc", "a", INT32_MIN, false, 1},
      {"abc", "a", INT32_MAX, false, -1},
      {"\xD6\xD0\xB9\xFA", "\xD0\xB9", 1, false, -1},  // 中国: D0 B9 straddles two characters
      {"\xD6\xD0\xB9\xFA", "\xB9\xFA", 1, false, 3},
      {"\xD6\xD0\xB9\xFA", "\xD0\xB9", 2, false, 2},  // a walk begins where the search begins
      {"a\xD6", "\xD6", 1, false, 2},
      {"a\xD6", "x", 1, false, -1},  // lead byte last: the walk stops inside the text
      {"\xD6"
       "a",
       "a", 1, false, -1},  // the byte after a lead byte belongs to it
      {"xGUOBIAO", "guobiao", 1, false, -1},
      {"xGUOBIAO", "guobiao", 1, true, 2},
      {"xguobiao", "GUOBIAO", 1, true, 2},
      {"\xC1\xC1", "\xC1\xE1", 1, true, -1},  // only A-Z fold: 0xC1 is no letter
      {"\xB0\x41", "\xB0\x61", 1, true, 1},   // second bytes fold too
      {"\xB0\x41", "\xB0\x61", 1, false, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LocateText(c.text, c.sought, c.start, c.ignoreCase), c.want)
        << ToHex(c.text) << " / " << ToHex(c.sought) << " from " << c.start;
  }
}

TEST(CutTextTest, Cases) {
  const struct Case {
    std::int32_t start;
    std::int32_t length;
    const char* want;
  } cases[] = {
      {1, 3, "abc"},
      {2, 2, "bc"},
      {3, 100, "cde"},
      {5, 1, "e"},
      {5, INT32_MAX, "e"},
      {0, 2, ""},
      {6, 1, ""},
      {1, 0, ""},
      {1, -1, ""},
      {INT32_MIN, 5, ""},
      {INT32_MAX, INT32_MAX, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CutText("abcde", c.start, c.length), Text(c.want)) << c.start << "," << c.length;
  }
  EXPECT_EQ(CutText("\xD6\xD0\xCE\xC4", 2, 2), Text("\xD0\xCE"));  // cuts at bytes
  EXPECT_EQ(CutText("", 1, 1), Text());
}

TEST(ReplaceTextTest, Cases) {
  const struct Case {
    const char* text;
    const char* old;
    const char* replacement;
    const char* want;
  } cases[] = {
      {"a#b#c", "#", "\"", "a\"b\"c"},
      {"aaa", "aa", "b", "ba"},   // left to right, no overlap
      {"aa", "a", "aa", "aaaa"},  // what was put in is not searched again
      {"abc", "abc", "", ""},
      {"abc", "", "x", "abc"},
      {"", "a", "x", ""},
      {"ab", "abc", "x", "ab"},
      {"\xD6\xD0\xB9\xFA", "\xD0\xB9", "x", "\xD6\xD0\xB9\xFA"},  // not inside a character
      {"\xD6\xD0\xB9\xFA"
       "a",
       "a", "b",
       "\xD6\xD0\xB9\xFA"
       "b"},
      {"ab\xD6", "x", "y", "ab\xD6"},  // a lead byte cut short by the end stays
      {"ab\xD6", "b\xD6", "y", "ay"},
      {"AbA", "a", "x", "AbA"},                                    // always exact
      {"x#\xD2\xFD\xBA\xC5y", "#\xD2\xFD\xBA\xC5", "\"", "x\"y"},  // #引号
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReplaceText(c.text, c.old, c.replacement), Text(c.want))
        << ToHex(c.text) << " / " << ToHex(c.old);
  }
}

}  // namespace
}  // namespace zembrolt
