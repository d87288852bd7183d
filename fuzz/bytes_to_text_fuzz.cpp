// BytesToText and TextToBytes: a Text is the bytes before the first NUL and
// never holds one; Text to Bytes and back changes nothing.
#include <string>

#include "encoding/text.h"
#include "fuzz/fuzz_check.h"

using namespace zembrolt;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view raw(reinterpret_cast<const char*>(data), size);
  const Bytes input(raw);
  FUZZ_CHECK(input.size() == size);
  const Text text = BytesToText(input);
  FUZZ_CHECK(text.view() == raw.substr(0, raw.find('\0')));
  FUZZ_CHECK(text.view().find('\0') == std::string_view::npos);
  FUZZ_CHECK(std::string_view(text.c_str()) == text.view());
  FUZZ_CHECK(BytesToText(TextToBytes(text)) == text);
  FUZZ_CHECK(TextToBytes(text).view() == text.view());
  return 0;
}
