// The iconv interface for the Windows build, where no iconv library comes
// with the toolchain: the three POSIX calls, on the Windows conversions. It
// knows UTF-8, GB18030, CP936 (also GBK), UTF-16LE and UTF-32LE, names in any
// letter case; no "//" suffix.
#ifndef ZEMBROLT_ENCODING_ICONV_WIN32_ICONV_H_
#define ZEMBROLT_ENCODING_ICONV_WIN32_ICONV_H_

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void* iconv_t;

// A converter from `fromcode` to `tocode`, or (iconv_t)-1 with errno EINVAL
// when either name is unknown. The caller closes it with iconv_close.
iconv_t iconv_open(const char* tocode, const char* fromcode);

// Converts whole characters from *inbuf to *outbuf, moving both on. Returns
// 0, or (size_t)-1 with errno E2BIG when the next character does not fit,
// EILSEQ at a sequence that is no character of the source or has no form in
// the target, EINVAL at a sequence that the end of the input cuts short; the
// pointers then stand at that character. A null inbuf does nothing.
size_t iconv(iconv_t cd, char** inbuf, size_t* inbytesleft, char** outbuf, size_t* outbytesleft);

// Frees the converter; 0, or -1 with errno EBADF for no converter.
int iconv_close(iconv_t cd);

#ifdef __cplusplus
}
#endif

#endif  // ZEMBROLT_ENCODING_ICONV_WIN32_ICONV_H_
