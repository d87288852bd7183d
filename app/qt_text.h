// The boundary between the tool's code page 936 Text and Qt's UTF-16 QString.
#ifndef ZEMBROLT_APP_QT_TEXT_H_
#define ZEMBROLT_APP_QT_TEXT_H_

#include <QString>

#include "encoding/text.h"

namespace zembrolt {

// `s` in code page 936; a character that code page cannot hold becomes "?".
// The empty Text for the empty string.
Text TextFromQString(const QString& s);

// `text` decoded as GB18030 (a superset of code page 936, in which the
// service's reply reaches the labels), for display only. A byte sequence that
// decodes as nothing becomes one U+FFFD and the rest still decodes.
QString DisplayString(const Text& text);

}  // namespace zembrolt

#endif  // ZEMBROLT_APP_QT_TEXT_H_
