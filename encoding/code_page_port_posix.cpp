// Code page conversion on the C library: UTF-8 is decoded and encoded here,
// code page 936 goes through iconv's "CP936". Bad input never fails a
// conversion; it is replaced, as the Windows conversion replaces it.
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

#include "encoding/code_page.h"
#include "encoding/code_page_port.h"

namespace zembrolt::port {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Ill-formed input becomes one U+FFFD per maximal ill-formed subpart, the
// replacement practice of the Unicode standard.
std::u16string DecodeUtf8(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    }
    int length = 0;
    unsigned char low = 0x80, high = 0xBF;
    char32_t c = 0;
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2, c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3, c = b & 0x0F;
      if (b == 0xE0) low = 0xA0;
      if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4, c = b & 0x07;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;
    }
    std::size_t taken = 1;
    bool whole = length > 0;
    for (int k = 1; whole && k < length; ++k, ++taken) {
      if (i + taken >= s.size()) {
        whole = false;
        break;
      }
      const unsigned char t = static_cast<unsigned char>(s[i + taken]);
      if (t < (k == 1 ? low : 0x80) || t > (k == 1 ? high : 0xBF)) {
        whole = false;
        break;
      }
      c = (c << 6) | (t & 0x3F);
    }
    i += taken;
    if (!whole) {
      out.push_back(kReplacement);
    } else if (c >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

std::string EncodeUtf8(std::u16string_view w) {
  std::string out;
  out.reserve(w.size() * 3);
  for (std::size_t i = 0; i < w.size(); ++i) {
    char32_t c = w[i];
    if (IsHighSurrogate(w[i]) && i + 1 < w.size() && IsLowSurrogate(w[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (w[i + 1] - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(w[i]) || IsLowSurrogate(w[i])) {
      c = kReplacement;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

// Runs `in` through iconv from `from` to `to`. At each sequence iconv refuses,
// `replace` appends a substitute to `out` and returns how many input bytes to
// pass over. Returns false when iconv does not know the names.
template <typename Replace>
bool ConvertReplacing(const char* to, const char* from, std::string_view in, std::string& out,
                      Replace replace) {
  iconv_t cd = iconv_open(to, from);
  // iconv_open reports failure as the integer -1 cast to its handle type.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  char* in_pos = const_cast<char*>(in.data());
  std::size_t in_left = in.size();
  char buffer[4096];
  while (in_left > 0) {
    char* out_pos = buffer;
    std::size_t out_left = sizeof buffer;
    const std::size_t result = iconv(cd, &in_pos, &in_left, &out_pos, &out_left);
    const int error = errno;
    out.append(buffer, out_pos);
    if (result != static_cast<std::size_t>(-1) || error == E2BIG) continue;
    const std::size_t skip =
        std::min<std::size_t>(in_left, replace(std::string_view(in_pos, in_left), out));
    in_pos += skip;
    in_left -= skip;
  }
  iconv_close(cd);
  return true;
}

void AppendUnitLe(std::string& out, char16_t u) {
  out.push_back(static_cast<char>(u & 0xFF));
  out.push_back(static_cast<char>(u >> 8));
}

// Decodes code page 936. A refused pair of lead and trail byte becomes one
// U+FFFD; a byte that cannot begin such a pair, or whose next byte cannot end
// one, becomes one U+FFFD alone, so an ASCII byte after it is not lost.
bool DecodeGbk(std::string_view s, std::u16string& units) {
  std::string le;
  const auto replace = [](std::string_view rest, std::string& out) -> std::size_t {
    AppendUnitLe(out, kReplacement);
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(rest[k]); };
    const bool pair = rest.size() >= 2 && byte(0) >= 0x81 && byte(0) <= 0xFE && byte(1) >= 0x40 &&
                      byte(1) <= 0xFE && byte(1) != 0x7F;
    return pair ? 2 : 1;
  };
  const bool known = ConvertReplacing("UTF-16LE", "CP936", s, le, replace);
  if (!known) return false;
  units.resize(le.size() / 2);
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(le[2 * i]) |
                                     (static_cast<unsigned char>(le[2 * i + 1]) << 8));
  }
  return true;
}

// Encodes code page 936. A character it cannot hold, a surrogate pair or a
// lone surrogate alike, becomes one "?".
bool EncodeGbk(std::u16string_view w, std::string& out) {
  std::string le;
  le.reserve(w.size() * 2);
  for (char16_t u : w) AppendUnitLe(le, u);
  return ConvertReplacing(
      "CP936", "UTF-16LE", le, out, [](std::string_view rest, std::string& text) -> std::size_t {
        text.push_back('?');
        const auto unit = [&](std::size_t k) {
          return static_cast<char16_t>(static_cast<unsigned char>(rest[2 * k]) |
                                       (static_cast<unsigned char>(rest[2 * k + 1]) << 8));
        };
        if (rest.size() >= 4 && IsHighSurrogate(unit(0)) && IsLowSurrogate(unit(1))) return 4;
        return 2;
      });
}

template <typename Unit, typename Result>
int Deliver(const Result& converted, Unit* out, int capacity) {
  const std::size_t count = converted.size() + 1;  // the terminator
  if (count > static_cast<std::size_t>(INT32_MAX)) return 0;
  if (out == nullptr) return static_cast<int>(count);
  if (count > static_cast<std::size_t>(capacity)) return 0;
  std::copy(converted.begin(), converted.end(), out);
  out[converted.size()] = Unit{0};
  return static_cast<int>(count);
}

}  // namespace

int MultiByteToUtf16(std::uint32_t codePage, const char* s, char16_t* out, int capacity) {
  const std::string_view bytes(s);
  std::u16string units;
  if (codePage == kCodePageUtf8) {
    units = DecodeUtf8(bytes);
  } else if (codePage != kCodePageGbk || !DecodeGbk(bytes, units)) {
    return 0;
  }
  return Deliver(units, out, capacity);
}

int Utf16ToMultiByte(std::uint32_t codePage, const char16_t* w, char* out, int capacity) {
  const std::u16string_view units(w);
  std::string bytes;
  if (codePage == kCodePageUtf8) {
    bytes = EncodeUtf8(units);
  } else if (codePage != kCodePageGbk || !EncodeGbk(units, bytes)) {
    return 0;
  }
  return Deliver(bytes, out, capacity);
}

int Utf16Length(const char16_t* w) {
  return static_cast<int>(std::char_traits<char16_t>::length(w));
}

std::size_t ByteLength(const char* s) { return std::strlen(s); }

}  // namespace zembrolt::port
