#include "encoding/text.h"

#include <gtest/gtest.h>

#include <type_traits>

#include "encoding/testing.h"

namespace zembrolt {
namespace {

using namespace std::literals;

// The two types must never stand in for each other unnoticed.
static_assert(!std::is_convertible_v<Text, Bytes>);
static_assert(!std::is_convertible_v<Bytes, Text>);
static_assert(!std::is_convertible_v<std::string_view, Bytes>);
static_assert(!std::is_constructible_v<Text, Bytes>);

TEST(TextTest, EndsAtFirstNul) {
  EXPECT_EQ(Text("a\0b"sv).view(), "a");
  EXPECT_EQ(Text("\0a"sv), Text());
  EXPECT_EQ(Text(static_cast<const char*>(nullptr)), Text(""));
  EXPECT_TRUE(Text().empty());
  EXPECT_EQ(Text("\xD6\xD0").size(), 2u);
}

TEST(TextTest, EqualityIsByteForByte) {
  EXPECT_EQ(Text("abc"), Text("abc"));
  EXPECT_NE(Text("abc"), Text("abC"));
  EXPECT_NE(Text("abc"), Text("ab"));
}

TEST(TextTest, ConcatenationJoinsInOrder) {
  EXPECT_EQ(Text("ab") + Text("cd"), Text("abcd"));
  EXPECT_EQ(Text() + Text("x") + Text(), Text("x"));
  EXPECT_EQ(Text() + Text(), Text());
}

TEST(BytesTest, KeepsNulBytes) {
  const Bytes b("a\0b"sv);
  EXPECT_EQ(b.size(), 3u);
  EXPECT_NE(b, Bytes("a"sv));
  EXPECT_TRUE(Bytes().empty());
}

TEST(TextBytesTest, BytesToTextCutsAtFirstNul) {
  struct Case {
    std::string_view in;
    std::string_view want;
  };
  for (const Case& c : {Case{"a\0b"sv, "a"sv}, Case{"\0a"sv, ""sv}, Case{""sv, ""sv},
                        Case{"\xD6\xD0\xCE\xC4"sv, "\xD6\xD0\xCE\xC4"sv}}) {
    EXPECT_EQ(BytesToText(Bytes(c.in)).view(), c.want) << ToHex(c.in);
  }
}

TEST(TextBytesTest, TextToBytesHasNoTerminator) {
  EXPECT_EQ(TextToBytes(Text("abc")), Bytes("abc"sv));
  EXPECT_EQ(TextToBytes(Text()), Bytes());
}

}  // namespace
}  // namespace zembrolt
