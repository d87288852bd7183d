// CodePageToUtf16 and Utf16ToCodePage for 936 and 65001: a text that holds
// only characters of its code page survives the way there and back; every
// UTF-16 value converts without harm.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "encoding/code_page.h"
#include "fuzz/fuzz_check.h"

using namespace zembrolt;

namespace {

bool HasReplacementCharacter(const Bytes& wide) {
  for (std::size_t i = 0; i + 1 < wide.size(); i += 2) {
    if (wide[i] == 0xFD && wide[i + 1] == 0xFF) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::uint32_t codePage = in.ConsumeBool() ? kCodePageGbk : kCodePageUtf8;
  const bool wideFirst = in.ConsumeBool();
  const std::string bytes = in.ConsumeRemainingBytesAsString();

  if (wideFirst) {
    // Any units at all, lone surrogates and odd lengths included.
    const Bytes out = Utf16ToCodePage(Bytes(bytes), codePage);
    FUZZ_CHECK(out.view().find('\0') == std::string_view::npos);
    return 0;
  }
  const Bytes input(bytes);
  const Bytes wide = CodePageToUtf16(input, codePage);
  const std::string_view text = input.view().substr(0, input.view().find('\0'));
  if (text.empty()) {
    FUZZ_CHECK(wide.empty());
    return 0;
  }
  // One unit per character at least, and exactly one zero unit, at the end.
  FUZZ_CHECK(wide.size() >= 4 && wide.size() % 2 == 0);
  FUZZ_CHECK(wide[wide.size() - 1] == 0 && wide[wide.size() - 2] == 0);
  // A text that holds only characters of its code page: for 936 one that
  // reads without a replacement character (936 has no U+FFFD of its own),
  // for 65001 well-formed UTF-8.
  const bool whole =
      codePage == kCodePageGbk ? !HasReplacementCharacter(wide) : fuzz::IsValidUtf8(text);
  if (whole) FUZZ_CHECK(Utf16ToCodePage(wide, codePage).view() == text);
  return 0;
}
