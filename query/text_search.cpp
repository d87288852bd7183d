#include "query/text_search.h"

#include <algorithm>
#include <limits>
#include <string>

namespace zembrolt {

namespace {

constexpr std::size_t kMaxPosition = std::numeric_limits<std::int32_t>::max();

// The bytes a character takes from a lead byte on.
std::size_t CharacterSize(unsigned char lead) { return lead >= 0x80 ? 2 : 1; }

unsigned char FoldAscii(unsigned char b) {
  return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b - 'A' + 'a') : b;
}

bool MatchesAt(const Text& text, std::size_t at, const Text& sought, bool ignoreCase) {
  for (std::size_t k = 0; k < sought.size(); ++k) {
    const unsigned char a = text[at + k];
    const unsigned char b = sought[k];
    if (ignoreCase ? FoldAscii(a) != FoldAscii(b) : a != b) return false;
  }
  return true;
}

// Whether the walk that begins at `boundary` steps onto `at` (at >= boundary).
// A byte below 0x80 always ends a character, as a single byte or as the
// second of two, so the walk passes just after the last such byte before
// `at`; from there every byte is a lead or a second byte in turn.
bool WalkReaches(const Text& text, std::size_t boundary, std::size_t at) {
  std::size_t from = at;
  while (from > boundary && text[from - 1] >= 0x80) --from;
  return (at - from) % 2 == 0;
}

// LocateText without case folding: the occurrences come from a byte search
// and only those the walk steps onto count, the first of them being the one
// the walk meets first. Each byte is looked at a bounded number of times.
std::int32_t LocateExact(const Text& text, const Text& sought, std::size_t from) {
  const std::string_view haystack = text.view();
  const std::string_view needle = sought.view();
  std::size_t boundary = from;
  for (std::size_t at = haystack.find(needle, from); at != std::string_view::npos;
       at = haystack.find(needle, at + 1)) {
    if (at >= kMaxPosition) break;  // a position past what a 32-bit position can name
    if (WalkReaches(text, boundary, at)) return static_cast<std::int32_t>(at + 1);
    // `at` is the second byte of a character, which ends with it.
    boundary = at + 1;
  }
  return -1;
}

}  // namespace

std::int32_t LocateText(const Text& text, const Text& sought, std::int32_t start, bool ignoreCase) {
  // Indices are zero-based from here on and held in size_t, so neither a
  // start far past the end nor a lead byte in the last place can overflow.
  const std::size_t length = text.size();
  const std::size_t from = start >= 1 ? static_cast<std::size_t>(start) - 1 : 0;
  if (from >= length) return -1;
  if (sought.empty()) return 1;
  if (!ignoreCase) return LocateExact(text, sought, from);
  for (std::size_t at = from; at < length && length - at >= sought.size();
       at += CharacterSize(text[at])) {
    if (at >= kMaxPosition) break;  // a position past what a 32-bit position can name
    if (MatchesAt(text, at, sought, ignoreCase)) return static_cast<std::int32_t>(at + 1);
  }
  return -1;
}

Text CutText(const Text& text, std::int32_t start, std::int32_t length) {
  if (start < 1 || static_cast<std::size_t>(start) > text.size() || length <= 0) return Text();
  return Text(
      text.view().substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(length)));
}

Text ReplaceText(const Text& text, const Text& old, const Text& replacement) {
  if (text.empty() || old.empty()) return text;
  std::string result;
  result.reserve(text.size());
  std::size_t at = 0;
  while (text.size() - at >= old.size()) {
    if (MatchesAt(text, at, old, false)) {
      result += replacement.view();
      at += old.size();
    } else {
      // A lead byte in the last place is a character cut short: keep it alone.
      const std::size_t step = std::min(CharacterSize(text[at]), text.size() - at);
      result.append(text.view().substr(at, step));
      at += step;
    }
  }
  result.append(text.view().substr(at));
  return Text(result);
}

}  // namespace zembrolt
