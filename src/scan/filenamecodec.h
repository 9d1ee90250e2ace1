#pragma once

#include <QByteArray>
#include <QString>

namespace quillon {

// File names on Unix are bytes, not always UTF-8. A name is decoded as UTF-8 with each byte
// that is not part of valid UTF-8 kept as a lone surrogate U+DC80..U+DCFF, and encoded back
// to the very same bytes, so that an entry listed under an odd name opens again. Pages show
// those surrogates as U+FFFD.
QString decodeFileName(QByteArrayView name);
QByteArray encodeFileName(QStringView name);

} // namespace quillon
