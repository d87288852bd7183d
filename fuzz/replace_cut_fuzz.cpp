// ReplaceText and CutText. ReplaceText puts the replacement in for exactly
// the occurrences a walk from the first byte meets, and rescans nothing it
// put in; CutText gives the bytes from its start, never past the end.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>

#include "fuzz/fuzz_check.h"
#include "query/text_search.h"

using namespace zembrolt;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::int32_t start = in.ConsumeIntegral<std::int32_t>();
  const std::int32_t length = in.ConsumeIntegral<std::int32_t>();
  const Text old(in.ConsumeRandomLengthString(8));
  const Text replacement(in.ConsumeRandomLengthString(8));
  const Text text(in.ConsumeRemainingBytesAsString());
  const std::string_view t = text.view();

  const Text replaced = ReplaceText(text, old, replacement);
  if (text.empty() || old.empty()) {
    FUZZ_CHECK(replaced == text);
  } else {
    // The same walk, written out: whole occurrences are replaced, anything
    // else moves on by one character (a lead byte at the end alone).
    std::string want;
    std::size_t at = 0;
    while (t.size() - at >= old.size()) {
      if (t.substr(at, old.size()) == old.view()) {
        want += replacement.view();
        at += old.size();
      } else {
        const std::size_t step = std::min(fuzz::Step(text[at]), t.size() - at);
        want += t.substr(at, step);
        at += step;
      }
    }
    want += t.substr(at);
    FUZZ_CHECK(replaced.view() == want);
    FUZZ_CHECK(ReplaceText(text, old, old) == text);
  }

  const Text cut = CutText(text, start, length);
  if (start < 1 || static_cast<std::size_t>(start) > t.size() || length <= 0) {
    FUZZ_CHECK(cut.empty());
  } else {
    const std::size_t from = static_cast<std::size_t>(start) - 1;
    const std::size_t n = std::min(static_cast<std::size_t>(length), t.size() - from);
    FUZZ_CHECK(cut.view() == t.substr(from, n));
  }
  return 0;
}
