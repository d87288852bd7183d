// The writer of a byte's escape form for URLs, which each platform provides
// with its own C string functions.
#ifndef ZEMBROLT_ENCODING_ESCAPE_FORM_PORT_H_
#define ZEMBROLT_ENCODING_ESCAPE_FORM_PORT_H_

namespace zembrolt::port {

// Writes "%" and the two upper-case hex digits of `b` at `at`, then a NUL, so
// `at` needs room for four bytes; returns 3, the characters before the NUL.
int WriteEscapeForm(char* at, unsigned char b);

}  // namespace zembrolt::port

#endif  // ZEMBROLT_ENCODING_ESCAPE_FORM_PORT_H_
