#include "encoding/url_escape.h"

#include <string>

#include "encoding/code_page.h"
#include "encoding/escape_form_port.h"

namespace zembrolt {

namespace {

bool IsUnreserved(unsigned char b) {
  return (b >= 0x27 && b <= 0x2A) || b == '-' || b == '.' || (b >= '0' && b <= '9') ||
         (b >= 'A' && b <= 'Z') || b == '_' || (b >= 'a' && b <= 'z');
}

}  // namespace

Text EscapeBytesForUrl(const Bytes& input, bool keepUnreserved) {
  // Sized once for the worst case, three bytes for every input byte and the
  // NUL the escape writer puts after its three.
  std::string area(3 * input.size() + 1, '\0');
  std::size_t w = 0;
  for (std::size_t i = 0; i < input.size(); ++i) {
    const unsigned char b = input[i];
    if (b == 0x00) continue;
    if (keepUnreserved && IsUnreserved(b)) {
      area[w++] = static_cast<char>(b);
    } else if (b == ' ') {
      area[w++] = '+';
    } else {
      w += static_cast<std::size_t>(port::WriteEscapeForm(&area[w], b));
    }
  }
  return Text(std::string_view(area.data(), w));
}

Text UrlEncodeText(const Text& text, bool keepUnreserved, bool toUtf8) {
  return EscapeBytesForUrl(toUtf8 ? LocalTextToUtf8(text) : TextToBytes(text), keepUnreserved);
}

}  // namespace zembrolt
