// LocateText: -1, or the first character boundary of the walk from the start
// position where the sought bytes really stand.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/fuzz_check.h"
#include "query/text_search.h"

using namespace zembrolt;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const bool ignoreCase = in.ConsumeBool();
  const std::int32_t start = in.ConsumeIntegralInRange<std::int32_t>(-4, 300);
  const Text sought(in.ConsumeRandomLengthString(16));
  const Text text(in.ConsumeRemainingBytesAsString());

  const std::int32_t found = LocateText(text, sought, start, ignoreCase);
  const std::string_view t = text.view();
  const std::size_t from = start >= 1 ? static_cast<std::size_t>(start) - 1 : 0;
  if (sought.empty()) {
    // Found at 1, not at the start, whenever a byte is left to search.
    FUZZ_CHECK(found == (from < t.size() ? 1 : -1));
    return 0;
  }
  if (found == -1) {
    // Nothing is missed: no boundary of the walk holds the sought bytes.
    if (from < t.size()) {
      for (std::size_t at = from; at < t.size(); at += fuzz::Step(text[at])) {
        FUZZ_CHECK(!fuzz::SameAt(t, at, sought.view(), ignoreCase));
      }
    }
    return 0;
  }
  FUZZ_CHECK(found >= 1);
  const auto at = static_cast<std::size_t>(found) - 1;
  FUZZ_CHECK(at >= from && at < t.size());
  FUZZ_CHECK(fuzz::OnBoundary(t, from, at));
  FUZZ_CHECK(fuzz::SameAt(t, at, sought.view(), ignoreCase));
  // The first such boundary.
  for (std::size_t i = from; i < at; i += fuzz::Step(text[i])) {
    FUZZ_CHECK(!fuzz::SameAt(t, i, sought.view(), ignoreCase));
  }
  return 0;
}
