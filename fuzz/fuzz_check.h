// What every fuzz target uses: a property check that stops the run with a
// message (libFuzzer then saves the input), and the walk by characters the
// text functions promise, written out independently of them.
#ifndef ZEMBROLT_FUZZ_FUZZ_CHECK_H_
#define ZEMBROLT_FUZZ_FUZZ_CHECK_H_

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace zembrolt::fuzz {

[[noreturn]] inline void Violated(const char* what, const char* file, int line) {
  (void)std::fprintf(stderr, "property violated at %s:%d: %s\n", file, line, what);
  std::abort();
}

#define FUZZ_CHECK(cond) ((cond) ? (void)0 : ::zembrolt::fuzz::Violated(#cond, __FILE__, __LINE__))

// The bytes a code page 936 character takes from its lead byte.
inline std::size_t Step(unsigned char lead) { return lead >= 0x80 ? 2 : 1; }

inline unsigned char Fold(unsigned char b) {
  return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b - 'A' + 'a') : b;
}

inline bool SameAt(std::string_view text, std::size_t at, std::string_view sought,
                   bool ignoreCase) {
  if (text.size() - at < sought.size()) return false;
  for (std::size_t k = 0; k < sought.size(); ++k) {
    const auto a = static_cast<unsigned char>(text[at + k]);
    const auto b = static_cast<unsigned char>(sought[k]);
    if (ignoreCase ? Fold(a) != Fold(b) : a != b) return false;
  }
  return true;
}

// Whether `at` (zero-based) is a character start of the walk from `from`.
inline bool OnBoundary(std::string_view text, std::size_t from, std::size_t at) {
  std::size_t i = from;
  while (i < at) i += Step(static_cast<unsigned char>(text[i]));
  return i == at;
}

// Well-formed UTF-8 as Unicode defines it: shortest forms, no surrogates,
// nothing past U+10FFFF.
inline bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (b < 0x80) {
      ++i;
      continue;
    }
    if (b >= 0xC2 && b <= 0xDF) {
      n = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      n = 2;
      if (b == 0xE0) lo = 0xA0;
      if (b == 0xED) hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      n = 3;
      if (b == 0xF0) lo = 0x90;
      if (b == 0xF4) hi = 0x8F;
    } else {
      return false;
    }
    if (s.size() - i <= n) return false;
    for (std::size_t k = 1; k <= n; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if (c < (k == 1 ? lo : 0x80) || c > (k == 1 ? hi : 0xBF)) return false;
    }
    i += n + 1;
  }
  return true;
}

}  // namespace zembrolt::fuzz

#endif  // ZEMBROLT_FUZZ_FUZZ_CHECK_H_
