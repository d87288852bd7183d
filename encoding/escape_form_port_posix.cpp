#include "encoding/escape_form_port.h"

namespace zembrolt::port {

int WriteEscapeForm(char* at, unsigned char b) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  at[0] = '%';
  at[1] = kHex[b >> 4];
  at[2] = kHex[b & 0x0F];
  at[3] = '\0';
  return 3;
}

}  // namespace zembrolt::port
