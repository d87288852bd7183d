// The platform's code page conversion, shaped like the Windows one so that
// each port is a thin layer: both directions take a zero-terminated string,
// count the terminator among the units they produce, and measure instead of
// converting when given no output area.
#ifndef ZEMBROLT_ENCODING_CODE_PAGE_PORT_H_
#define ZEMBROLT_ENCODING_CODE_PAGE_PORT_H_

#include <cstddef>
#include <cstdint>

namespace zembrolt::port {

// Converts the NUL-terminated `s` from `codePage` to UTF-16. With `out` null,
// returns the number of units needed, the zero unit included; otherwise writes
// that many into `out` and returns it. Returns 0 for an unknown code page or
// when `capacity` is too small.
int MultiByteToUtf16(std::uint32_t codePage, const char* s, char16_t* out, int capacity);

// Converts the zero-terminated UTF-16 `w` to `codePage`, with the same
// counting and failure rules as MultiByteToUtf16, in bytes.
int Utf16ToMultiByte(std::uint32_t codePage, const char16_t* w, char* out, int capacity);

// The number of units of `w` before its first zero unit.
int Utf16Length(const char16_t* w);

// The number of bytes of `s` before its first NUL.
std::size_t ByteLength(const char* s);

}  // namespace zembrolt::port

#endif  // ZEMBROLT_ENCODING_CODE_PAGE_PORT_H_
