#include "query/text_search.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

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

// The walk as the header describes it, one character at a time, to hold the
// search to on every text and marker of a small alphabet: 0xB0 and 0xA1 as
// lead or second bytes, so that runs of two-byte characters pair up either
// way. Without capitals, folding the case changes nothing.
std::int32_t WalkByCharacters(const std::string& text, const std::string& sought,
                              std::int32_t start) {
  std::size_t at = start >= 1 ? static_cast<std::size_t>(start) - 1 : 0;
  if (at >= text.size()) return -1;
  if (sought.empty()) return 1;
  for (; at + sought.size() <= text.size();
       at += static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1) {
    if (text.compare(at, sought.size(), sought) == 0) return static_cast<std::int32_t>(at + 1);
  }
  return -1;
}

std::vector<std::string> AllStrings(std::size_t maxLength) {
  static constexpr char kAlphabet[] = {'a', '"', '\xB0', '\xA1'};
  std::vector<std::string> all = {""};
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (all[i].size() == maxLength) continue;
    for (char c : kAlphabet) all.push_back(all[i] + c);
  }
  return all;
}

TEST(LocateTextTest, FindsWhatTheWalkByCharactersFinds) {
  const std::vector<std::string> texts = AllStrings(7);
  const std::vector<std::string> markers = AllStrings(3);
  for (const std::string& text : texts) {
    for (const std::string& sought : markers) {
      for (std::int32_t start = 0; start <= 3; ++start) {
        const std::int32_t want = WalkByCharacters(text, sought, start);
        for (bool ignoreCase : {false, true}) {
          ASSERT_EQ(LocateText(Text(text), Text(sought), start, ignoreCase), want)
              << ToHex(text) << " / " << ToHex(sought) << " from " << start
              << (ignoreCase ? " ignoring case" : "");
        }
      }
    }
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
