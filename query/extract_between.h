// Cutting one value out of a reply between two markers.
#ifndef ZEMBROLT_QUERY_EXTRACT_BETWEEN_H_
#define ZEMBROLT_QUERY_EXTRACT_BETWEEN_H_

#include <cstdint>

#include "encoding/text.h"

namespace zembrolt {

// "#引号" in code page 936: inside a marker it stands for one double quote.
inline constexpr char kQuoteToken[] = "#\xD2\xFD\xBA\xC5";  // #引号

// The bytes of `text` between the first occurrence of `startMarker` met from
// `start` and the next occurrence of `endMarker` that begins after it; the
// empty Text when either is missing or nothing lies between. Searches walk by
// characters (see LocateText); the markers may spell a double quote as
// kQuoteToken.
Text ExtractBetween(const Text& text, const Text& startMarker, const Text& endMarker,
                    std::int32_t start, bool ignoreCase);

}  // namespace zembrolt

#endif  // ZEMBROLT_QUERY_EXTRACT_BETWEEN_H_
