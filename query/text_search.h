// Search, cut and replace in code page 936 text.
//
// Positions count bytes from 1 over the whole text; -1 means nothing was
// found. A search walks by characters from where it begins: a byte from 0x80
// on starts a two-byte character whatever the byte after it is, so bytes that
// match from the middle of such a character are never found.
#ifndef ZEMBROLT_QUERY_TEXT_SEARCH_H_
#define ZEMBROLT_QUERY_TEXT_SEARCH_H_

#include <cstdint>

#include "encoding/text.h"

namespace zembrolt {

// The position of the first occurrence of `sought` that the walk from `start`
// meets (a `start` below 1 means 1), or -1. An empty `sought` is found at 1
// whenever a byte is left at or after `start`. `ignoreCase` folds A-Z alone.
std::int32_t LocateText(const Text& text, const Text& sought, std::int32_t start, bool ignoreCase);

// Up to `length` bytes of `text` from position `start`, stopping at its end;
// empty when `start` lies outside the text or `length` is not positive. The
// cut is at bytes and may split a two-byte character.
Text CutText(const Text& text, std::int32_t start, std::int32_t length);

// `text` with every occurrence of `old` met by a walk from the first byte
// replaced by `replacement`, left to right, never rescanning what was put in.
// A copy of `text` when either is empty.
Text ReplaceText(const Text& text, const Text& old, const Text& replacement);

}  // namespace zembrolt

#endif  // ZEMBROLT_QUERY_TEXT_SEARCH_H_
