#include "app/qt_text.h"

#include <string>

#include "encoding/code_page.h"
#include "encoding/convert_encoding.h"

namespace zembrolt {
namespace {

bool InRange(unsigned char b, unsigned char low, unsigned char high) {
  return b >= low && b <= high;
}

// The length of the GB18030 sequence that starts at `i`, or 0 when no
// sequence starts there: one byte below 0x80; a lead byte 0x81..0xFE with a
// trail byte 0x40..0x7E or 0x80..0xFE; or a lead byte with a digit, another
// 0x81..0xFE and a digit.
std::size_t SequenceLength(std::string_view s, std::size_t i) {
  const auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
  if (at(0) < 0x80) return 1;
  if (!InRange(at(0), 0x81, 0xFE) || i + 1 >= s.size()) return 0;
  if (InRange(at(1), 0x40, 0x7E) || InRange(at(1), 0x80, 0xFE)) return 2;
  if (InRange(at(1), 0x30, 0x39) && i + 3 < s.size() && InRange(at(2), 0x81, 0xFE) &&
      InRange(at(3), 0x30, 0x39)) {
    return 4;
  }
  return 0;
}

QString FromUtf8(const Bytes& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

Text TextFromQString(const QString& s) {
  std::string wide;
  wide.reserve(static_cast<std::size_t>(s.size()) * 2);
  for (const QChar c : s) {
    wide.push_back(static_cast<char>(c.unicode() & 0xFF));
    wide.push_back(static_cast<char>(c.unicode() >> 8));
  }
  return BytesToText(Utf16ToCodePage(Bytes(std::move(wide)), kCodePageGbk));
}

QString DisplayString(const Text& text) {
  if (text.empty()) return QString();
  const Bytes whole = ConvertEncoding(TextToBytes(text), "GB18030", "UTF-8");
  if (!whole.empty()) return FromUtf8(whole);

  // The conversion is all or nothing, so a caption with one bad sequence is
  // decoded a sequence at a time: a byte that starts no sequence, or a whole
  // sequence that maps to no character, shows as one replacement character.
  QString shown;
  const std::string_view s = text.view();
  std::size_t i = 0;
  while (i < s.size()) {
    const std::size_t length = SequenceLength(s, i);
    const Bytes one =
        length == 0 ? Bytes() : ConvertEncoding(Bytes(s.substr(i, length)), "GB18030", "UTF-8");
    shown.append(one.empty() ? QString(QChar(0xFFFD)) : FromUtf8(one));
    i += length == 0 ? 1 : length;
  }
  return shown;
}

}  // namespace zembrolt
