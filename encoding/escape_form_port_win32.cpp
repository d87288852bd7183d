// The escape form written by ntdll's sprintf, as the Windows tool writes it.
#include "encoding/bound_functions_win32.h"
#include "encoding/escape_form_port.h"

namespace zembrolt::port {

int WriteEscapeForm(char* at, unsigned char b) {
  const win32::SprintfFn print = win32::BoundSprintf();
  if (print != nullptr) return print(at, "%%%02X", static_cast<unsigned>(b));
  // Without ntdll's function the same three characters are written by hand.
  return WriteEscapeFormByHand(at, b);
}

}  // namespace zembrolt::port
