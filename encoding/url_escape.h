// Escaping of a value for the query part of a URL.
#ifndef ZEMBROLT_ENCODING_URL_ESCAPE_H_
#define ZEMBROLT_ENCODING_URL_ESCAPE_H_

#include "encoding/text.h"

namespace zembrolt {

// Every byte of `input` as itself (when `keepUnreserved` and it is one of
// A-Z a-z 0-9 - . _ ' ( ) *), a space as "+", any other byte as "%XX" with
// upper-case digits; NUL bytes are dropped. Empty input gives the empty Text.
Text EscapeBytesForUrl(const Bytes& input, bool keepUnreserved);

// EscapeBytesForUrl of `text`'s characters in UTF-8 when `toUtf8`, else of its
// own code page bytes. Empty when the text is empty or does not convert.
Text UrlEncodeText(const Text& text, bool keepUnreserved, bool toUtf8);

}  // namespace zembrolt

#endif  // ZEMBROLT_ENCODING_URL_ESCAPE_H_
