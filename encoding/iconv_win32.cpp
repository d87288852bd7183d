// The iconv interface on the Windows conversions. Every character is taken
// apart by the source's byte structure here, so that a sequence the input
// cuts short (EINVAL) is told from one that is wrong (EILSEQ) and a character
// is never split across two calls; the platform then converts it through
// UTF-16. GB18030 is the platform's code page 54936 where it has one, and
// otherwise code page 936 for the two-byte codes with the four-byte codes
// counted out from them, as GB18030 defines them.
#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "encoding/bound_functions_win32.h"

namespace {

constexpr UINT kGbkCodePage = 936;
constexpr UINT kGb18030CodePage = 54936;
constexpr UINT kUtf8CodePage = 65001;

enum class Encoding { kUtf8, kGb18030, kCp936, kUtf16Le, kUtf32Le };

struct Converter {
  Encoding from;
  Encoding to;
};

std::optional<Encoding> EncodingNamed(const char* name) {
  if (name == nullptr) return std::nullopt;
  std::string upper(name);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (upper == "UTF-8" || upper == "UTF8") return Encoding::kUtf8;
  if (upper == "GB18030") return Encoding::kGb18030;
  if (upper == "CP936" || upper == "GBK") return Encoding::kCp936;
  if (upper == "UTF-16LE") return Encoding::kUtf16Le;
  if (upper == "UTF-32LE") return Encoding::kUtf32Le;
  return std::nullopt;
}

enum class Step { kOk, kInvalid, kIncomplete };

struct Decoded {
  Step step = Step::kInvalid;
  char32_t c = 0;
  std::size_t length = 0;
};

Decoded Invalid() { return {}; }
Decoded Incomplete() { return {Step::kIncomplete, 0, 0}; }

bool IsHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }
bool IsScalar(char32_t c) { return c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF); }

int ToUnits(char32_t c, wchar_t units[2]) {
  if (c < 0x10000) {
    units[0] = static_cast<wchar_t>(c);
    return 1;
  }
  units[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
  units[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
  return 2;
}

// One character of `bytes` in `codePage`, refused rather than replaced.
std::optional<char32_t> PlatformDecode(UINT codePage, const unsigned char* bytes, int length) {
  const auto convert = zembrolt::win32::BoundMultiByteToWideChar();
  if (convert == nullptr) return std::nullopt;
  wchar_t units[2];
  const int n =
      convert(codePage, MB_ERR_INVALID_CHARS, reinterpret_cast<LPCCH>(bytes), length, units, 2);
  if (n == 1 && !IsHighSurrogate(units[0]) && !IsLowSurrogate(units[0])) return units[0];
  if (n == 2 && IsHighSurrogate(units[0]) && IsLowSurrogate(units[1])) {
    return 0x10000 + ((static_cast<char32_t>(units[0]) - 0xD800) << 10) + (units[1] - 0xDC00);
  }
  return std::nullopt;
}

// `c` in `codePage`, or -1 when the code page has no form for it. Only code
// page 936 can lack one; it is asked not to fall back on a look-alike.
int PlatformEncode(UINT codePage, char32_t c, char out[4]) {
  const auto convert = zembrolt::win32::BoundWideCharToMultiByte();
  if (convert == nullptr) return -1;
  wchar_t units[2];
  const int count = ToUnits(c, units);
  if (codePage == kGbkCodePage) {
    BOOL usedDefault = FALSE;
    const int n =
        convert(codePage, WC_NO_BEST_FIT_CHARS, units, count, out, 4, nullptr, &usedDefault);
    return n <= 0 || usedDefault ? -1 : n;
  }
  const int n = convert(codePage, WC_ERR_INVALID_CHARS, units, count, out, 4, nullptr, nullptr);
  return n <= 0 ? -1 : n;
}

bool PlatformHasGb18030() {
  static const bool has = [] {
    char out[4];
    return PlatformEncode(kGb18030CodePage, 0x20AC, out) == 2;
  }();
  return has;
}

// The two-byte codes to which GB18030 gives a standard character where code
// page 936 has one of private use (or, for A2E3, the euro sign of its 0x80).
struct StandardCode {
  std::uint16_t code;
  char32_t c;
};
constexpr StandardCode kStandardCodes[] = {
    {0xA2E3, 0x20AC},  {0xA6D9, 0xFE10}, {0xA6DA, 0xFE12},  {0xA6DB, 0xFE11},  {0xA6DC, 0xFE13},
    {0xA6DD, 0xFE14},  {0xA6DE, 0xFE15}, {0xA6DF, 0xFE16},  {0xA6EC, 0xFE17},  {0xA6ED, 0xFE18},
    {0xA6F3, 0xFE19},  {0xA8BC, 0x1E3F}, {0xA8BF, 0x01F9},  {0xA989, 0x303E},  {0xA98A, 0x2FF0},
    {0xA98B, 0x2FF1},  {0xA98C, 0x2FF2}, {0xA98D, 0x2FF3},  {0xA98E, 0x2FF4},  {0xA98F, 0x2FF5},
    {0xA990, 0x2FF6},  {0xA991, 0x2FF7}, {0xA992, 0x2FF8},  {0xA993, 0x2FF9},  {0xA994, 0x2FFA},
    {0xA995, 0x2FFB},  {0xFE50, 0x2E81}, {0xFE51, 0x20087}, {0xFE52, 0x20089}, {0xFE53, 0x200CC},
    {0xFE54, 0x2E84},  {0xFE55, 0x3473}, {0xFE56, 0x3447},  {0xFE57, 0x2E88},  {0xFE58, 0x2E8B},
    {0xFE59, 0x9FB4},  {0xFE5A, 0x359E}, {0xFE5B, 0x361A},  {0xFE5C, 0x360E},  {0xFE5D, 0x2E8C},
    {0xFE5E, 0x2E97},  {0xFE5F, 0x396E}, {0xFE60, 0x3918},  {0xFE61, 0x9FB5},  {0xFE62, 0x39CF},
    {0xFE63, 0x39DF},  {0xFE64, 0x3A73}, {0xFE65, 0x39D0},  {0xFE66, 0x9FB6},  {0xFE67, 0x9FB7},
    {0xFE68, 0x3B4E},  {0xFE69, 0x3C6E}, {0xFE6A, 0x3CE0},  {0xFE6B, 0x2EA7},  {0xFE6C, 0x215D7},
    {0xFE6D, 0x9FB8},  {0xFE6E, 0x2EAA}, {0xFE6F, 0x4056},  {0xFE70, 0x415F},  {0xFE71, 0x2EAE},
    {0xFE72, 0x4337},  {0xFE73, 0x2EB3}, {0xFE74, 0x2EB6},  {0xFE75, 0x2EB7},  {0xFE76, 0x2298F},
    {0xFE77, 0x43B1},  {0xFE78, 0x43AC}, {0xFE79, 0x2EBB},  {0xFE7A, 0x43DD},  {0xFE7B, 0x44D6},
    {0xFE7C, 0x4661},  {0xFE7D, 0x464C}, {0xFE7E, 0x9FB9},  {0xFE80, 0x4723},  {0xFE81, 0x4729},
    {0xFE82, 0x477C},  {0xFE83, 0x478D}, {0xFE84, 0x2ECA},  {0xFE85, 0x4947},  {0xFE86, 0x497A},
    {0xFE87, 0x497D},  {0xFE88, 0x4982}, {0xFE89, 0x4983},  {0xFE8A, 0x4985},  {0xFE8B, 0x4986},
    {0xFE8C, 0x499F},  {0xFE8D, 0x499B}, {0xFE8E, 0x49B7},  {0xFE8F, 0x49B6},  {0xFE90, 0x9FBA},
    {0xFE91, 0x241FE}, {0xFE92, 0x4CA3}, {0xFE93, 0x4C9F},  {0xFE94, 0x4CA0},  {0xFE95, 0x4CA1},
    {0xFE96, 0x4C77},  {0xFE97, 0x4CA2}, {0xFE98, 0x4D13},  {0xFE99, 0x4D14},  {0xFE9A, 0x4D15},
    {0xFE9B, 0x4D16},  {0xFE9C, 0x4D17}, {0xFE9D, 0x4D18},  {0xFE9E, 0x4D19},  {0xFE9F, 0x4DAE},
    {0xFEA0, 0x9FBB},
};

// Characters whose two-byte code came with a later edition of GB18030. The
// four-byte code each had before keeps its place in the four-byte order, and
// the private-use character their code held before has no code left, but for
// U+E7C7, which takes the four-byte code of U+1E3F.
bool LaterEdition(char32_t c) {
  return c == 0x1E3F || (c >= 0x9FB4 && c <= 0x9FBB) || (c >= 0xFE10 && c <= 0xFE19) ||
         c >= 0x10000;
}

// GB18030 where the platform has no code page 54936. Its 23940 two-byte codes
// are code page 936's with kStandardCodes in place; every other code point of
// the Basic Multilingual Plane from U+0080 on, surrogates left out, gets the
// next four-byte code from 81 30 81 30 on, in code point order; the planes
// above follow from 90 30 81 30.
class Gb18030Table {
 public:
  static const Gb18030Table& Get() {
    static const Gb18030Table table;
    return table;
  }

  // The two-byte code of `c` (lead byte high), or 0.
  std::uint16_t TwoByteCode(char32_t c) const {
    if (c < 0x10000) return twoByte_[c];
    for (const StandardCode& standard : kStandardCodes) {
      if (standard.c == c) return standard.code;
    }
    return 0;
  }
  // The code point of the two-byte code at `index`, or 0.
  char32_t FromTwoByte(std::size_t index) const { return fromTwoByte_[index]; }
  // The four-byte position of a code point of the plane, or -1 for none.
  int Linear(char32_t c) const { return c < 0x10000 ? linear_[c] : -1; }
  char32_t FromLinear(std::size_t index) const {
    return index < fromLinear_.size() ? fromLinear_[index] : 0;
  }

  static std::size_t Index(int lead, int trail) {
    return static_cast<std::size_t>((lead - 0x81) * 190 +
                                    (trail < 0x7F ? trail - 0x40 : trail - 0x41));
  }

 private:
  Gb18030Table() : twoByte_(0x10000, 0), fromTwoByte_(126 * 190, 0), linear_(0x10000, -1) {
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail == 0x7F) continue;
        const unsigned char code[2] = {static_cast<unsigned char>(lead),
                                       static_cast<unsigned char>(trail)};
        const std::optional<char32_t> c = PlatformDecode(kGbkCodePage, code, 2);
        if (!c || *c < 0x80 || *c >= 0x10000 || twoByte_[*c] != 0) continue;
        twoByte_[*c] = static_cast<std::uint16_t>(lead << 8 | trail);
        fromTwoByte_[Index(lead, trail)] = *c;
      }
    }
    std::vector<bool> codeless(0x10000, false);
    for (const StandardCode& standard : kStandardCodes) {
      const std::size_t index = Index(standard.code >> 8, standard.code & 0xFF);
      if (const char32_t held = fromTwoByte_[index]; held != 0) {
        twoByte_[held] = 0;
        codeless[held] = LaterEdition(standard.c);
      }
      fromTwoByte_[index] = standard.c;
      if (standard.c < 0x10000) twoByte_[standard.c] = standard.code;
    }
    codeless[0xE7C7] = true;
    for (char32_t c = 0x80; c < 0x10000; ++c) {
      if (c >= 0xD800 && c <= 0xDFFF) continue;
      if ((twoByte_[c] != 0 && !LaterEdition(c)) || codeless[c]) continue;
      linear_[c] = static_cast<int>(fromLinear_.size());
      fromLinear_.push_back(c);
    }
    linear_[0xE7C7] = linear_[0x1E3F];
    fromLinear_[static_cast<std::size_t>(linear_[0x1E3F])] = 0xE7C7;
  }

  std::vector<std::uint16_t> twoByte_;
  std::vector<char32_t> fromTwoByte_;
  std::vector<int> linear_;
  std::vector<char32_t> fromLinear_;
};

constexpr std::uint32_t kPlanesStart = (0x90 - 0x81) * 12600;  // linear position of 90 30 81 30

Decoded DecodeUtf8(const unsigned char* p, std::size_t n) {
  const unsigned char b = p[0];
  if (b < 0x80) return {Step::kOk, b, 1};
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3;
    if (b == 0xE0) low = 0xA0;
    if (b == 0xED) high = 0x9F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;
  } else {
    return Invalid();
  }
  for (std::size_t k = 1; k < length; ++k) {
    if (k >= n) return Incomplete();
    const unsigned char t = p[k];
    if (t < (k == 1 ? low : 0x80) || t > (k == 1 ? high : 0xBF)) return Invalid();
  }
  const std::optional<char32_t> c = PlatformDecode(kUtf8CodePage, p, static_cast<int>(length));
  if (!c) return Invalid();
  return {Step::kOk, *c, length};
}

bool InRange(unsigned char b, unsigned char low, unsigned char high) {
  return b >= low && b <= high;
}

Decoded DecodeGb18030(const unsigned char* p, std::size_t n) {
  const unsigned char b = p[0];
  if (b < 0x80) return {Step::kOk, b, 1};
  if (b == 0x80 || b == 0xFF) return Invalid();
  if (n < 2) return Incomplete();
  const unsigned char b2 = p[1];
  std::size_t length = 0;
  if (InRange(b2, 0x40, 0x7E) || InRange(b2, 0x80, 0xFE)) {
    length = 2;
  } else if (InRange(b2, 0x30, 0x39)) {
    if (n >= 3 && !InRange(p[2], 0x81, 0xFE)) return Invalid();
    if (n < 4) return Incomplete();
    if (!InRange(p[3], 0x30, 0x39)) return Invalid();
    length = 4;
  } else {
    return Invalid();
  }
  if (PlatformHasGb18030()) {
    const std::optional<char32_t> c = PlatformDecode(kGb18030CodePage, p, static_cast<int>(length));
    if (!c) return Invalid();
    return {Step::kOk, *c, length};
  }
  const Gb18030Table& table = Gb18030Table::Get();
  char32_t c = 0;
  if (length == 2) {
    c = table.FromTwoByte(Gb18030Table::Index(b, b2));
  } else {
    const std::uint32_t linear =
        ((b - 0x81u) * 10 + (b2 - 0x30u)) * 1260 + (p[2] - 0x81u) * 10 + (p[3] - 0x30u);
    if (linear >= kPlanesStart) {
      c = 0x10000 + (linear - kPlanesStart);
      if (c > 0x10FFFF) c = 0;
    } else {
      c = table.FromLinear(linear);
    }
  }
  if (c == 0) return Invalid();
  return {Step::kOk, c, length};
}

Decoded DecodeCp936(const unsigned char* p, std::size_t n) {
  const unsigned char b = p[0];
  std::size_t length = 1;
  if (b == 0xFF) return Invalid();
  if (b >= 0x81) {
    if (n < 2) return Incomplete();
    if (!InRange(p[1], 0x40, 0xFE) || p[1] == 0x7F) return Invalid();
    length = 2;
  }
  if (b < 0x80) return {Step::kOk, b, 1};
  const std::optional<char32_t> c = PlatformDecode(kGbkCodePage, p, static_cast<int>(length));
  if (!c) return Invalid();
  return {Step::kOk, *c, length};
}

Decoded DecodeUtf16Le(const unsigned char* p, std::size_t n) {
  if (n < 2) return Incomplete();
  const char32_t u = p[0] | (p[1] << 8);
  if (IsLowSurrogate(u)) return Invalid();
  if (!IsHighSurrogate(u)) return {Step::kOk, u, 2};
  if (n < 4) return Incomplete();
  const char32_t v = p[2] | (p[3] << 8);
  if (!IsLowSurrogate(v)) return Invalid();
  return {Step::kOk, 0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00), 4};
}

Decoded DecodeUtf32Le(const unsigned char* p, std::size_t n) {
  if (n < 4) return Incomplete();
  const char32_t c = static_cast<char32_t>(p[0]) | (static_cast<char32_t>(p[1]) << 8) |
                     (static_cast<char32_t>(p[2]) << 16) | (static_cast<char32_t>(p[3]) << 24);
  if (!IsScalar(c)) return Invalid();
  return {Step::kOk, c, 4};
}

Decoded Decode(Encoding from, const unsigned char* p, std::size_t n) {
  switch (from) {
    case Encoding::kUtf8:
      return DecodeUtf8(p, n);
    case Encoding::kGb18030:
      return DecodeGb18030(p, n);
    case Encoding::kCp936:
      return DecodeCp936(p, n);
    case Encoding::kUtf16Le:
      return DecodeUtf16Le(p, n);
    case Encoding::kUtf32Le:
      return DecodeUtf32Le(p, n);
  }
  return Invalid();
}

int FourByteCode(std::uint32_t linear, char out[4]) {
  out[3] = static_cast<char>(0x30 + linear % 10);
  linear /= 10;
  out[2] = static_cast<char>(0x81 + linear % 126);
  linear /= 126;
  out[1] = static_cast<char>(0x30 + linear % 10);
  out[0] = static_cast<char>(0x81 + linear / 10);
  return 4;
}

int EncodeGb18030(char32_t c, char out[4]) {
  if (c < 0x80) {
    out[0] = static_cast<char>(c);
    return 1;
  }
  if (PlatformHasGb18030()) return PlatformEncode(kGb18030CodePage, c, out);
  const Gb18030Table& table = Gb18030Table::Get();
  if (const std::uint16_t code = table.TwoByteCode(c); code != 0) {
    out[0] = static_cast<char>(code >> 8);
    out[1] = static_cast<char>(code & 0xFF);
    return 2;
  }
  if (c >= 0x10000) return FourByteCode(kPlanesStart + (c - 0x10000), out);
  const int linear = table.Linear(c);
  return linear < 0 ? -1 : FourByteCode(static_cast<std::uint32_t>(linear), out);
}

// `c` in `to`, at most four bytes; -1 when `to` has no form for it.
int Encode(Encoding to, char32_t c, char out[4]) {
  switch (to) {
    case Encoding::kUtf8:
      return PlatformEncode(kUtf8CodePage, c, out);
    case Encoding::kGb18030:
      return EncodeGb18030(c, out);
    case Encoding::kCp936:
      if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
      }
      return PlatformEncode(kGbkCodePage, c, out);
    case Encoding::kUtf16Le: {
      wchar_t units[2];
      const int count = ToUnits(c, units);
      for (int i = 0; i < count; ++i) {
        out[2 * i] = static_cast<char>(units[i] & 0xFF);
        out[2 * i + 1] = static_cast<char>(units[i] >> 8);
      }
      return 2 * count;
    }
    case Encoding::kUtf32Le:
      for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((c >> (8 * i)) & 0xFF);
      return 4;
  }
  return -1;
}

}  // namespace

extern "C" iconv_t iconv_open(const char* tocode, const char* fromcode) {
  const std::optional<Encoding> to = EncodingNamed(tocode);
  const std::optional<Encoding> from = EncodingNamed(fromcode);
  if (!to || !from) {
    errno = EINVAL;
    return reinterpret_cast<iconv_t>(-1);
  }
  Converter* converter = new (std::nothrow) Converter{*from, *to};
  if (converter == nullptr) {
    errno = ENOMEM;
    return reinterpret_cast<iconv_t>(-1);
  }
  return converter;
}

extern "C" size_t iconv(iconv_t cd, char** inbuf, size_t* inbytesleft, char** outbuf,
                        size_t* outbytesleft) {
  if (cd == nullptr || cd == reinterpret_cast<iconv_t>(-1)) {
    errno = EBADF;
    return static_cast<size_t>(-1);
  }
  // No converter keeps a shift state, so there is nothing to flush or reset.
  if (inbuf == nullptr || *inbuf == nullptr) return 0;
  const Converter& converter = *static_cast<const Converter*>(cd);
  while (*inbytesleft > 0) {
    const auto* in = reinterpret_cast<const unsigned char*>(*inbuf);
    const Decoded decoded = Decode(converter.from, in, *inbytesleft);
    if (decoded.step != Step::kOk) {
      errno = decoded.step == Step::kIncomplete ? EINVAL : EILSEQ;
      return static_cast<size_t>(-1);
    }
    char bytes[4];
    const int length = Encode(converter.to, decoded.c, bytes);
    if (length < 0) {
      errno = EILSEQ;
      return static_cast<size_t>(-1);
    }
    if (outbuf == nullptr || *outbuf == nullptr || static_cast<size_t>(length) > *outbytesleft) {
      errno = E2BIG;
      return static_cast<size_t>(-1);
    }
    std::memcpy(*outbuf, bytes, static_cast<size_t>(length));
    *outbuf += length;
    *outbytesleft -= static_cast<size_t>(length);
    *inbuf += decoded.length;
    *inbytesleft -= decoded.length;
  }
  return 0;
}

extern "C" int iconv_close(iconv_t cd) {
  if (cd == nullptr || cd == reinterpret_cast<iconv_t>(-1)) {
    errno = EBADF;
    return -1;
  }
  delete static_cast<Converter*>(cd);
  return 0;
}
