// Test helpers: byte values spelled in hex, and readable failure messages.
#ifndef ZEMBROLT_ENCODING_TESTING_H_
#define ZEMBROLT_ENCODING_TESTING_H_

#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

#include "encoding/convert_encoding.h"
#include "encoding/text.h"

namespace zembrolt {

// "E4 B8 AD" -> the three bytes; blanks between the pairs are optional.
inline Bytes HexBytes(std::string_view hex) {
  std::string bytes;
  std::string pair;
  for (char c : hex) {
    if (c == ' ') continue;
    pair.push_back(c);
    if (pair.size() == 2) {
      bytes.push_back(static_cast<char>(std::stoi(pair, nullptr, 16)));
      pair.clear();
    }
  }
  return Bytes(std::move(bytes));
}

// The code page 936 form of `utf8`, to check a byte constant against its
// spelling in characters.
inline Text GbkFromUtf8(std::string_view utf8) {
  return BytesToText(ConvertEncoding(Bytes(utf8), "UTF-8", "CP936"));
}

inline std::string ToHex(std::string_view bytes) {
  std::string hex;
  char digits[4];
  for (unsigned char b : bytes) {
    (void)std::snprintf(digits, sizeof digits, "%02X", b);
    if (!hex.empty()) hex.push_back(' ');
    hex += digits;
  }
  return hex;
}

inline void PrintTo(const Bytes& b, std::ostream* os) { *os << "Bytes[" << ToHex(b.view()) << "]"; }
inline void PrintTo(const Text& t, std::ostream* os) { *os << "Text[" << ToHex(t.view()) << "]"; }

}  // namespace zembrolt

#endif  // ZEMBROLT_ENCODING_TESTING_H_
