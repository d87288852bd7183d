#include "encoding/code_page.h"

#include <string>

#include "encoding/code_page_port.h"

namespace zembrolt {

std::uint32_t LocalCodePage = 0;

namespace {

// UTF-16 values are little-endian whatever the host is.
Bytes UnitsToBytes(const std::u16string& units) {
  std::string bytes(units.size() * 2, '\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    bytes[2 * i] = static_cast<char>(units[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(units[i] >> 8);
  }
  return Bytes(std::move(bytes));
}

}  // namespace

Bytes LocalTextToUtf8(const Text& text) {
  return Utf16ToCodePage(LocalTextToUtf16(text), kCodePageUtf8);
}

Bytes LocalTextToUtf16(const Text& text) {
  return CodePageToUtf16(TextToBytes(text), LocalCodePage);
}

Bytes CodePageToUtf16(const Bytes& input, std::uint32_t codePage) {
  // The conversion reads up to the first NUL, so a NUL is always appended.
  const std::string s(input.view());
  if (s.empty() || s[0] == '\0') return Bytes();
  const int count = port::MultiByteToUtf16(codePage, s.c_str(), nullptr, 0);
  if (count <= 0) return Bytes();
  std::u16string units(static_cast<std::size_t>(count), u'\0');
  if (port::MultiByteToUtf16(codePage, s.c_str(), units.data(), count) <= 0) return Bytes();
  return UnitsToBytes(units);
}

Bytes Utf16ToCodePage(const Bytes& wide, std::uint32_t codePage) {
  // One zero unit is appended, so a value without one still ends; a trailing
  // odd byte is not a whole unit and is left out.
  std::u16string units(wide.size() / 2 + 1, u'\0');
  for (std::size_t i = 0; i + 1 < wide.size(); i += 2) {
    units[i / 2] = static_cast<char16_t>(wide[i] | (wide[i + 1] << 8));
  }
  if (port::Utf16Length(units.c_str()) == 0) return Bytes();
  const int count = port::Utf16ToMultiByte(codePage, units.c_str(), nullptr, 0);
  if (count <= 0) return Bytes();
  std::string area(static_cast<std::size_t>(count), '\0');
  if (port::Utf16ToMultiByte(codePage, units.c_str(), area.data(), count) <= 0) return Bytes();
  return Bytes(std::string_view(area.c_str(), port::ByteLength(area.c_str())));
}

}  // namespace zembrolt
