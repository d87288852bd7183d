// Conversion between two encodings that iconv names.
#ifndef ZEMBROLT_ENCODING_CONVERT_ENCODING_H_
#define ZEMBROLT_ENCODING_CONVERT_ENCODING_H_

#include "encoding/text.h"

namespace zembrolt {

// `input` read as text in `fromName` and written in `toName`, both names as
// iconv knows them ("UTF-8", "GB18030"). Never a partial result: the empty
// Bytes for empty input, an unknown name, a sequence iconv refuses (invalid,
// or cut short by the end of the input) or an output that does not fit.
Bytes ConvertEncoding(const Bytes& input, const Text& fromName, const Text& toName);

}  // namespace zembrolt

#endif  // ZEMBROLT_ENCODING_CONVERT_ENCODING_H_
