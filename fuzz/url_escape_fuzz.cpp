// EscapeBytesForUrl and UrlEncodeText: only unreserved bytes, "+" and "%XX"
// with upper-case digits come out, and they decode back to the input without
// its NUL bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "encoding/code_page.h"
#include "encoding/url_escape.h"
#include "fuzz/fuzz_check.h"

using namespace zembrolt;

namespace {

bool IsUnreserved(unsigned char b) {
  return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' ||
         b == '.' || b == '_' || b == '\'' || b == '(' || b == ')' || b == '*';
}

int HexDigit(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;  // lower case is refused on purpose
}

// The bytes `escaped` stands for; checks its form on the way.
std::string Decoded(std::string_view escaped, bool keepUnreserved) {
  std::string out;
  for (std::size_t i = 0; i < escaped.size(); ++i) {
    const auto c = static_cast<unsigned char>(escaped[i]);
    if (c == '+') {
      out.push_back(' ');
    } else if (c == '%') {
      FUZZ_CHECK(escaped.size() - i >= 3);
      const int hi = HexDigit(static_cast<unsigned char>(escaped[i + 1]));
      const int lo = HexDigit(static_cast<unsigned char>(escaped[i + 2]));
      FUZZ_CHECK(hi >= 0 && lo >= 0);
      const auto b = static_cast<unsigned char>(hi * 16 + lo);
      // What may stand as itself does, and a space is always "+".
      FUZZ_CHECK(!(keepUnreserved && IsUnreserved(b)) && b != ' ');
      out.push_back(static_cast<char>(b));
      i += 2;
    } else {
      FUZZ_CHECK(keepUnreserved && IsUnreserved(c));
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const bool keepUnreserved = in.ConsumeBool();
  const bool toUtf8 = in.ConsumeBool();
  const std::string bytes = in.ConsumeRemainingBytesAsString();

  std::string withoutNul = bytes;
  std::erase(withoutNul, '\0');
  const Text escaped = EscapeBytesForUrl(Bytes(bytes), keepUnreserved);
  FUZZ_CHECK(Decoded(escaped.view(), keepUnreserved) == withoutNul);

  LocalCodePage = kCodePageGbk;
  const Text text(bytes);
  const Text encoded = UrlEncodeText(text, keepUnreserved, toUtf8);
  const std::string decoded = Decoded(encoded.view(), keepUnreserved);
  if (toUtf8) {
    // What goes out is always well-formed UTF-8, whatever the text held.
    FUZZ_CHECK(fuzz::IsValidUtf8(decoded));
    FUZZ_CHECK(decoded.empty() == text.empty());
  } else {
    FUZZ_CHECK(decoded == text.view());
  }
  return 0;
}
