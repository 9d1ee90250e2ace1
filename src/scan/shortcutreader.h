#pragma once

#include <QByteArrayView>
#include <QString>

namespace quillon {

class OpenFolder;

// No more than this much of a shortcut is ever read; real ones are a few hundred bytes.
inline constexpr qint64 ShortcutReadLimit = 1024 * 1024;

// Turns a shortcut's bytes into text: a UTF-8 byte-order mark is skipped, UTF-16 with a
// byte-order mark is decoded, anything else is the platform's 8-bit text (UTF-8 on Linux),
// with invalid bytes as U+FFFD.
QString decodeShortcutText(QByteArrayView bytes);

// The text after Keyword on the first line that contains it (any letter case); empty when no
// line does. Lines end at CR LF, CR or LF.
QString Parser(QStringView Keyword, QStringView text);

// The address of a shortcut: the "BASEURL=" value as Parser finds it; when no line holds that
// key, the value of the first "URL=" line (today's browsers write only that one).
QString shortcutAddress(QByteArrayView bytes);

// Reads the shortcut called name in folder, up to the read limit; a file that cannot be read
// has an empty address.
QString readShortcutAddress(OpenFolder &folder, QStringView name);

} // namespace quillon
