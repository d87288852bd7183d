// The escape form written by ntdll's sprintf, as the Windows tool writes it.
#include "encoding/bound_functions_win32.h"
#include "encoding/escape_form_port.h"

namespace zembrolt::port {

int WriteEscapeForm(char* at, unsigned char b) {
  const win32::SprintfFn print = win32::BoundSprintf();
  if (print != nullptr) return print(at, "%%%02X", static_cast<unsigned>(b));
  // Without ntdll's function the same three characters are written by hand.
  static constexpr char kHex[] = "0123456789ABCDEF";
  at[0] = '%';
  at[1] = kHex[b >> 4];
  at[2] = kHex[b & 0x0F];
  at[3] = '\0';
  return 3;
}

}  // namespace zembrolt::port
