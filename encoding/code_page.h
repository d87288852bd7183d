// Conversions between code page text, UTF-16 and UTF-8.
//
// A UTF-16 value is Bytes of 16-bit units, low byte first. Every function
// returns a new value owned by the caller and gives the empty Bytes on any
// failure or for empty input; nothing is reported.
#ifndef ZEMBROLT_ENCODING_CODE_PAGE_H_
#define ZEMBROLT_ENCODING_CODE_PAGE_H_

#include <cstdint>

#include "encoding/text.h"

namespace zembrolt {

// Code page numbers are the Windows ones.
inline constexpr std::uint32_t kCodePageGbk = 936;
inline constexpr std::uint32_t kCodePageUtf8 = 65001;

// The code page every Text of the process is written in. Start-up sets it to
// kCodePageGbk before any window exists; afterwards it is only read.
extern std::uint32_t LocalCodePage;

// `text` in UTF-8, without a terminating NUL.
Bytes LocalTextToUtf8(const Text& text);

// `text` read in LocalCodePage, as UTF-16 ending with one zero unit.
Bytes LocalTextToUtf16(const Text& text);

// `input` up to its first NUL, read in `codePage`, as UTF-16 ending with one
// zero unit that counts in the size. A byte sequence that forms no character
// of the code page becomes U+FFFD and the rest still converts.
Bytes CodePageToUtf16(const Bytes& input, std::uint32_t codePage);

// The units of `wide` before its first zero unit, written in `codePage`,
// without a terminating NUL. A character the code page cannot hold becomes
// "?" (U+FFFD in UTF-8, where a lone surrogate is such a character).
Bytes Utf16ToCodePage(const Bytes& wide, std::uint32_t codePage);

}  // namespace zembrolt

#endif  // ZEMBROLT_ENCODING_CODE_PAGE_H_
