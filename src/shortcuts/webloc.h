#pragma once

#include <QByteArrayView>
#include <QString>

namespace quillon {

// The address in a macOS ".webloc" file: the string under the key "URL" of the property
// list's top dictionary, in its XML form or its binary one ("bplist00"). Empty when the file is
// broken or holds no such string.
QString weblocAddress(QByteArrayView bytes);

} // namespace quillon
