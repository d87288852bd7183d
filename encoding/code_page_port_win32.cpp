// Code page conversion on kernel32's own functions, bound at their first call;
// flags 0 in both directions, so bad input is replaced, never refused.
#include "encoding/bound_functions_win32.h"
#include "encoding/code_page_port.h"

namespace zembrolt::port {

int MultiByteToUtf16(std::uint32_t codePage, const char* s, char16_t* out, int capacity) {
  const win32::MultiByteToWideCharFn convert = win32::BoundMultiByteToWideChar();
  if (convert == nullptr) return 0;
  return convert(codePage, 0, s, -1, reinterpret_cast<LPWSTR>(out), out == nullptr ? 0 : capacity);
}

int Utf16ToMultiByte(std::uint32_t codePage, const char16_t* w, char* out, int capacity) {
  const win32::WideCharToMultiByteFn convert = win32::BoundWideCharToMultiByte();
  if (convert == nullptr) return 0;
  return convert(codePage, 0, reinterpret_cast<LPCWCH>(w), -1, out, out == nullptr ? 0 : capacity,
                 nullptr, nullptr);
}

int Utf16Length(const char16_t* w) {
  const win32::LstrlenWFn length = win32::BoundLstrlenW();
  if (length != nullptr) return length(reinterpret_cast<LPCWSTR>(w));
  int n = 0;
  while (w[n] != u'\0') ++n;
  return n;
}

std::size_t ByteLength(const char* s) {
  const win32::StrlenFn length = win32::BoundStrlen();
  if (length != nullptr) return length(s);
  std::size_t n = 0;
  while (s[n] != '\0') ++n;
  return n;
}

}  // namespace zembrolt::port
