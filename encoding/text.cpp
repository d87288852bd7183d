#include "encoding/text.h"

namespace zembrolt {

Text::Text(const char* s) : bytes_(s != nullptr ? s : "") {}

Text::Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}

Text operator+(const Text& a, const Text& b) {
  Text joined;
  joined.bytes_.reserve(a.size() + b.size());
  joined.bytes_.append(a.bytes_).append(b.bytes_);
  return joined;
}

Bytes TextToBytes(const Text& text) { return Bytes(text.view()); }

Text BytesToText(const Bytes& input) { return Text(input.view()); }

}  // namespace zembrolt
