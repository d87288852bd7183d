// The iconv calls as ConvertEncoding makes them. The same table runs against
// the C library's iconv on Linux and the build's own on Windows, so both
// builds see the same results and the same failures.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "encoding/testing.h"

namespace zembrolt {
namespace {

// iconv_open's failure value, (iconv_t)-1 by the interface's own definition.
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);  // NOLINT(performance-no-int-to-ptr)

struct Outcome {
  bool failed;
  int error;  // errno when failed
  std::size_t consumed;
  std::string written;  // hex
  friend bool operator==(const Outcome&, const Outcome&) = default;
};

void PrintTo(const Outcome& o, std::ostream* os) {
  *os << (o.failed ? "failed " : "ok ") << (o.failed ? std::strerror(o.error) : "") << " consumed "
      << o.consumed << " wrote [" << o.written << "]";
}

// One iconv call on `input` with `room` bytes of output.
Outcome ConvertOnce(const char* from, const char* to, const Bytes& input, std::size_t room) {
  iconv_t cd = iconv_open(to, from);
  EXPECT_NE(cd, kNoConverter) << from << " to " << to;
  if (cd == kNoConverter) return {};
  std::string in(input.view());
  std::string out(room, '\0');
  char* inPos = in.data();
  std::size_t inLeft = in.size();
  char* outPos = out.data();
  std::size_t outLeft = room;
  errno = 0;
  const std::size_t result = iconv(cd, &inPos, &inLeft, &outPos, &outLeft);
  const int error = errno;
  iconv_close(cd);
  const bool failed = result == static_cast<std::size_t>(-1);
  return {failed, failed ? error : 0, in.size() - inLeft,
          ToHex(std::string_view(out.data(), room - outLeft))};
}

TEST(IconvTest, OneCallConvertsWholeCharactersOrStopsAtTheCause) {
  constexpr bool kFailed = true, kOk = false;
  const struct Case {
    const char* from;
    const char* to;
    const char* input;
    std::size_t room;
    Outcome want;
  } cases[] = {
      {"UTF-8", "GB18030", "E4 B8 AD E6 96 87", 8, {kOk, 0, 6, "D6 D0 CE C4"}},
      {"UTF-8", "GB18030", "61 62 63", 3, {kOk, 0, 3, "61 62 63"}},
      {"UTF-8", "GB18030", "C2 A9", 4, {kOk, 0, 2, "81 30 84 38"}},
      {"UTF-8", "GB18030", "F0 A0 80 80", 4, {kOk, 0, 4, "95 32 82 36"}},
      {"UTF-8", "GB18030", "E2 82 AC", 4, {kOk, 0, 3, "A2 E3"}},           // the euro sign
      {"UTF-8", "GB18030", "EF BF BF", 4, {kOk, 0, 3, "84 31 A4 39"}},     // last of the plane
      {"UTF-8", "GB18030", "F4 8F BF BF", 4, {kOk, 0, 4, "E3 32 9A 35"}},  // last code point
      {"UTF-8", "GB18030", "E2 80 94", 4, {kOk, 0, 3, "A1 AA"}},           // em dash
      {"UTF-8", "GB18030", "C3 A0", 4, {kOk, 0, 2, "A8 A4"}},
      {"UTF-8", "GB18030", "C3 A1 C3 A2", 8, {kOk, 0, 4, "A8 A2 81 30 89 39"}},
      // No room: the character that does not fit stays unread, whole.
      {"UTF-8", "GB18030", "C2 A9", 3, {kFailed, E2BIG, 0, ""}},
      {"UTF-8", "GB18030", "61 C2 A9", 4, {kFailed, E2BIG, 1, "61"}},
      {"UTF-8", "GB18030", "E4 B8 AD E6 96 87", 3, {kFailed, E2BIG, 3, "D6 D0"}},
      // Cut short by the end of the input.
      {"UTF-8", "GB18030", "61 62 E4 B8", 8, {kFailed, EINVAL, 2, "61 62"}},
      {"UTF-8", "GB18030", "F0 A0 80", 8, {kFailed, EINVAL, 0, ""}},
      // Not UTF-8: a stray byte, an overlong form, a surrogate, beyond U+10FFFF.
      {"UTF-8", "GB18030", "61 FF 62", 8, {kFailed, EILSEQ, 1, "61"}},
      {"UTF-8", "GB18030", "E4 41", 8, {kFailed, EILSEQ, 0, ""}},
      {"UTF-8", "GB18030", "C0 80", 8, {kFailed, EILSEQ, 0, ""}},
      {"UTF-8", "GB18030", "ED A0 80", 8, {kFailed, EILSEQ, 0, ""}},
      {"UTF-8", "GB18030", "F4 90 80 80", 8, {kFailed, EILSEQ, 0, ""}},
      // And back.
      {"GB18030", "UTF-8", "D6 D0 CE C4", 8, {kOk, 0, 4, "E4 B8 AD E6 96 87"}},
      {"GB18030", "UTF-8", "81 30 84 38", 4, {kOk, 0, 4, "C2 A9"}},
      {"GB18030", "UTF-8", "95 32 82 36", 4, {kOk, 0, 4, "F0 A0 80 80"}},
      {"GB18030", "UTF-8", "A2 E3", 4, {kOk, 0, 2, "E2 82 AC"}},
      {"GB18030", "UTF-8", "61 81", 4, {kFailed, EINVAL, 1, "61"}},
      {"GB18030", "UTF-8", "81 30 81", 4, {kFailed, EINVAL, 0, ""}},
      {"GB18030", "UTF-8", "61 80", 4, {kFailed, EILSEQ, 1, "61"}},
      {"GB18030", "UTF-8", "81 20", 4, {kFailed, EILSEQ, 0, ""}},
      {"GB18030", "UTF-8", "81 30 20 30", 4, {kFailed, EILSEQ, 0, ""}},
      // Code page 936, which the tests use to spell the tool's texts.
      {"UTF-8", "CP936", "E4 B8 AD 61", 4, {kOk, 0, 4, "D6 D0 61"}},
      {"UTF-8", "CP936", "61 C2 A9", 4, {kFailed, EILSEQ, 1, "61"}},  // no form in it
      {"CP936", "UTF-8", "D6 D0", 4, {kOk, 0, 2, "E4 B8 AD"}},
      {"CP936", "UTF-8", "D6", 4, {kFailed, EINVAL, 0, ""}},
      {"UTF-8", "UTF-32LE", "61 E4 B8 AD", 8, {kOk, 0, 4, "61 00 00 00 2D 4E 00 00"}},
      {"UTF-8", "UTF-32LE", "61 E4 B8 AD", 7, {kFailed, E2BIG, 1, "61 00 00 00"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ConvertOnce(c.from, c.to, HexBytes(c.input), c.room), c.want)
        << c.input << " from " << c.from << " to " << c.to << " with room " << c.room;
  }
}

TEST(IconvTest, UnknownNamesOpenNothing) {
  for (const auto& [to, from] :
       {std::pair{"GB18030", "no-such-encoding"}, std::pair{"no-such-encoding", "UTF-8"}}) {
    errno = 0;
    EXPECT_EQ(iconv_open(to, from), kNoConverter) << to << " from " << from;
    EXPECT_EQ(errno, EINVAL);
  }
}

// Every character of the plane from U+0080 on but the private use area (whose
// codes have been moved between editions of GB18030), and a sample above the
// plane, goes to GB18030 and back unchanged; the four-byte codes rise with the
// code point.
TEST(IconvTest, Gb18030RoundTripsEveryCodePoint) {
  iconv_t there = iconv_open("GB18030", "UTF-32LE");
  iconv_t back = iconv_open("UTF-32LE", "GB18030");
  ASSERT_NE(there, kNoConverter);
  ASSERT_NE(back, kNoConverter);
  int failures = 0;
  std::string lastFour;
  for (char32_t c = 0x80; c <= 0x10FFFF && failures < 20; c += (c < 0x10000 ? 1 : 97)) {
    if (c >= 0xD800 && c <= 0xF8FF) continue;
    char unit[4];
    for (int i = 0; i < 4; ++i) unit[i] = static_cast<char>((c >> (8 * i)) & 0xFF);
    char code[8];
    char* in = unit;
    std::size_t inLeft = 4;
    char* out = code;
    std::size_t outLeft = sizeof code;
    const bool encoded = iconv(there, &in, &inLeft, &out, &outLeft) == 0;
    const std::string gb(code, out);
    char again[4];
    in = code;
    inLeft = gb.size();
    out = again;
    outLeft = sizeof again;
    const bool decoded = encoded && iconv(back, &in, &inLeft, &out, &outLeft) == 0;
    const bool same = decoded && outLeft == 0 && std::memcmp(again, unit, 4) == 0;
    const bool rising =
        gb.size() != 4 || lastFour.empty() || std::memcmp(gb.data(), lastFour.data(), 4) > 0;
    if (gb.size() == 4) lastFour = gb;
    if (!same || !rising) {
      ++failures;
      ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(c) << " -> " << ToHex(gb);
    }
  }
  iconv_close(there);
  iconv_close(back);
}

}  // namespace
}  // namespace zembrolt
