#include "encoding/escape_form_port.h"

namespace zembrolt::port {

int WriteEscapeForm(char* at, unsigned char b) { return WriteEscapeFormByHand(at, b); }

}  // namespace zembrolt::port
