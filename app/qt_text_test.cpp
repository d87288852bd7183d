#include "app/qt_text.h"

#include <gtest/gtest.h>

#include "encoding/testing.h"

namespace zembrolt {
namespace {

TEST(TextFromQStringTest, WritesCodePage936WithQuestionMarksForTheRest) {
  const struct {
    QString input;
    Text expected;
  } cases[] = {
      {QString(), Text()},
      {QStringLiteral("Torvanel"), "Torvanel"},
      {QString::fromUtf8("安卓 - QQ"), GbkFromUtf8("安卓 - QQ")},
      {QString::fromUtf8("中文"), Text(HexBytes("D6 D0 CE C4").view())},
      // Hangul is outside code page 936.
      {QString::fromUtf8("a한b"), "a?b"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TextFromQString(c.input), c.expected) << c.input.toStdString();
}

TEST(DisplayStringTest, DecodesGb18030AndReplacesWhatDecodesAsNothing) {
  const struct {
    const char* hex;
    const char* utf8;
  } cases[] = {
      {"", ""},
      {"41 26 42", "A&B"},
      {"B0 B2 D7 BF 20 2D 20 51 51", "安卓 - QQ"},
      // Four-byte sequences exist in GB18030 only: U+00A9 and U+20000.
      {"81 30 84 38", "\u00A9"},
      {"95 32 82 36", "\U00020000"},
      // 0x80 and 0xFF start nothing; the bytes after them still show.
      {"61 80 62",
       "a\uFFFD"
       "b"},
      {"FF D6 D0", "\uFFFD中"},
      // A lead byte cut off by the end, or followed by a byte that is no trail.
      {"61 B0", "a\uFFFD"},
      {"B0 0A 41", "\uFFFD\nA"},
      {"81 30 41",
       "\uFFFD"
       "0A"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DisplayString(Text(HexBytes(c.hex).view())), QString::fromUtf8(c.utf8)) << c.hex;
  }
}

}  // namespace
}  // namespace zembrolt
