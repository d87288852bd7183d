#include "query/extract_between.h"

#include "query/text_search.h"

namespace zembrolt {

Text ExtractBetween(const Text& text, const Text& startMarker, const Text& endMarker,
                    std::int32_t start, bool ignoreCase) {
  const Text startWorking = ReplaceText(startMarker, kQuoteToken, "\"");
  const Text endWorking = ReplaceText(endMarker, kQuoteToken, "\"");
  const std::int32_t found = LocateText(text, startWorking, start, ignoreCase);
  if (found == -1) return Text();
  // Computed wide: a marker at the very end puts the value one past the text.
  const std::int64_t valueStart =
      std::int64_t{found} + static_cast<std::int64_t>(startWorking.size());
  if (valueStart > static_cast<std::int64_t>(text.size())) return Text();
  const auto from = static_cast<std::int32_t>(valueStart);
  const std::int32_t end = LocateText(text, endWorking, from, ignoreCase);
  if (end == -1) return Text();
  return CutText(text, from, end - from);
}

}  // namespace zembrolt
