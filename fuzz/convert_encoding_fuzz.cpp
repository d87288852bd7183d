// ConvertEncoding: valid UTF-8 survives UTF-8 -> GB18030 -> UTF-8 unchanged,
// input that is not valid UTF-8 gives nothing rather than a part, and any
// pair of names is safe.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "encoding/convert_encoding.h"
#include "fuzz/fuzz_check.h"

using namespace zembrolt;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  if (in.ConsumeBool()) {
    // Random names, as far as iconv knows them, in both directions.
    const Text from(in.ConsumeRandomLengthString(12));
    const Text to(in.ConsumeRandomLengthString(12));
    const Bytes input(in.ConsumeRemainingBytesAsString());
    const Bytes out = ConvertEncoding(input, from, to);
    if (input.empty()) FUZZ_CHECK(out.empty());
    return 0;
  }
  const Bytes input(in.ConsumeRemainingBytesAsString());
  const Bytes gb = ConvertEncoding(input, "UTF-8", "GB18030");
  if (input.empty() || !fuzz::IsValidUtf8(input.view())) {
    FUZZ_CHECK(gb.empty());
    return 0;
  }
  // GB18030 holds every Unicode character, so nothing valid is refused.
  FUZZ_CHECK(!gb.empty());
  FUZZ_CHECK(ConvertEncoding(gb, "GB18030", "UTF-8") == input);
  return 0;
}
