#include "encoding/convert_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <string>

namespace zembrolt {

namespace {

// iconv is called at most this often: the area starts at the input's size and
// grows by half of it plus a little after each call that ran out of room.
constexpr int kMaxCalls = 12;

}  // namespace

Bytes ConvertEncoding(const Bytes& input, const Text& fromName, const Text& toName) {
  iconv_t cd = iconv_open(toName.c_str(), fromName.c_str());
  // iconv_open reports failure as the integer -1 cast to its handle type.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  if (cd == reinterpret_cast<iconv_t>(-1)) return Bytes();

  std::string area;
  const std::size_t length = input.size();
  bool converted = false;
  if (length > 0) {
    const std::size_t growth = length / 2 + 128;
    area.resize(length);
    // iconv's interface is not const-correct; it never writes through the input.
    char* in_pos = const_cast<char*>(input.data());
    std::size_t in_left = length;
    std::size_t written = 0;
    for (int call = 1; call <= kMaxCalls; ++call) {
      char* out_pos = area.data() + written;
      std::size_t out_left = area.size() - written;
      const std::size_t result = iconv(cd, &in_pos, &in_left, &out_pos, &out_left);
      written = area.size() - out_left;
      if (result != static_cast<std::size_t>(-1)) {
        area.resize(written);
        converted = true;
        break;
      }
      if (errno != E2BIG || call == kMaxCalls) break;
      area.resize(area.size() + growth);
    }
  }
  iconv_close(cd);
  return converted ? Bytes(std::move(area)) : Bytes();
}

}  // namespace zembrolt
