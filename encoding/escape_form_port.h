// The writer of a byte's escape form for URLs, which each platform provides
// with its own C string functions.
#ifndef ZEMBROLT_ENCODING_ESCAPE_FORM_PORT_H_
#define ZEMBROLT_ENCODING_ESCAPE_FORM_PORT_H_

namespace zembrolt::port {

// Writes "%" and the two upper-case hex digits of `b` at `at`, then a NUL, so
// `at` needs room for four bytes; returns 3, the characters before the NUL.
int WriteEscapeForm(char* at, unsigned char b);

// The same, written by hand: the POSIX port, and the Windows port's fallback
// when the platform's function cannot be bound.
inline int WriteEscapeFormByHand(char* at, unsigned char b) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  at[0] = '%';
  at[1] = kHex[b >> 4];
  at[2] = kHex[b & 0x0F];
  at[3] = '\0';
  return 3;
}

}  // namespace zembrolt::port

#endif  // ZEMBROLT_ENCODING_ESCAPE_FORM_PORT_H_
