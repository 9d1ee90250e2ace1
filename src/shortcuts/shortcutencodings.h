#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace quillon {

// Bytes in Windows-1252 as the WHATWG Encoding Standard decodes them: every byte is a
// character, and the five bytes the code page leaves unassigned become U+0081, U+008D, U+008F,
// U+0090 and U+009D.
QString decodeWindows1252(QByteArrayView bytes);

// Text in UTF-7 (RFC 2152), as Windows writes the address under [InternetShortcut.W]. Nothing
// for text that is not well-formed UTF-7 or that decodes to a broken surrogate pair.
std::optional<QString> decodeUtf7(QStringView text);

} // namespace quillon
