// ExtractBetween, with the reply-shaped markers of the query's field table or
// with fuzzed ones: the result is a piece of the text after the first start
// marker, and overlaps neither marker's occurrence.
#include <fuzzer/FuzzedDataProvider.h>

#include <iterator>
#include <string>

#include "fuzz/fuzz_check.h"
#include "query/extract_between.h"
#include "query/text_search.h"

using namespace zembrolt;

namespace {

// The markers the query cuts the service's reply with.
constexpr const char* kMarkers[][2] = {
    {"guobiao\":\"", "\",\"stamp"},
    {"provincePower\":\"", "\",\"guobiao"},
    {"cityPower\":\"", "\",\"province"},
    {"areaPower\":\"", "\",\"city"},
    {"updatetime\":\"", "\"},\"msg"},
    {"province\":\"", "\",\"provincePower"},
    {"city\":\"", "\",\"cityPower"},
    {"area\":\"", "\",\"areaPower"},
    {"guobiao#\xD2\xFD\xBA\xC5:#\xD2\xFD\xBA\xC5", "#\xD2\xFD\xBA\xC5,"},  // #引号 for "
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const bool ignoreCase = in.ConsumeBool();
  const std::int32_t start = in.ConsumeIntegralInRange<std::int32_t>(-2, 64);
  Text startMarker;
  Text endMarker;
  if (in.ConsumeBool()) {
    const auto& pair = kMarkers[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kMarkers) - 1)];
    startMarker = pair[0];
    endMarker = pair[1];
  } else {
    startMarker = Text(in.ConsumeRandomLengthString(12));
    endMarker = Text(in.ConsumeRandomLengthString(12));
  }
  const Text text(in.ConsumeRemainingBytesAsString());
  const Text value = ExtractBetween(text, startMarker, endMarker, start, ignoreCase);
  if (value.empty()) return 0;

  // The markers as searched, each quote token a double quote.
  const std::string s(ReplaceText(startMarker, kQuoteToken, "\"").view());
  const std::string e(ReplaceText(endMarker, kQuoteToken, "\"").view());
  const std::string_view t = text.view();
  const std::size_t from = start >= 1 ? static_cast<std::size_t>(start) - 1 : 0;
  // The first start marker of the walk; an empty one is found at the first byte.
  std::size_t first = s.empty() ? 0 : from;
  while (first < t.size() && !fuzz::SameAt(t, first, s, ignoreCase))
    first += fuzz::Step(text[first]);
  FUZZ_CHECK(first < t.size());
  const std::size_t valueAt = first + s.size();
  FUZZ_CHECK(t.substr(valueAt, value.size()) == value.view());
  // The end marker follows right after the value, and is the first one there.
  const std::size_t endAt = valueAt + value.size();
  FUZZ_CHECK(fuzz::SameAt(t, endAt, e, ignoreCase));
  FUZZ_CHECK(fuzz::OnBoundary(t, valueAt, endAt));
  for (std::size_t i = valueAt; i < endAt; i += fuzz::Step(text[i])) {
    FUZZ_CHECK(!fuzz::SameAt(t, i, e, ignoreCase));
  }
  return 0;
}
