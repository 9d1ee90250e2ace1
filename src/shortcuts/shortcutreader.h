#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace quillon {

// No more than this much of a shortcut is ever read; real ones are a few hundred bytes.
inline constexpr qint64 ShortcutReadLimit = 1024 * 1024;

// Turns a shortcut's bytes into text. A UTF-8 byte-order mark is skipped (invalid bytes after
// it become U+FFFD) and UTF-16 with a byte-order mark is decoded. Without a mark, bytes that
// are valid UTF-8 as a whole are UTF-8; any others are the ANSI code page Windows wrote them
// in: the system's on Windows, Windows-1252 elsewhere.
QString decodeShortcutText(QByteArrayView bytes);

// What a ".url" file says of its link. Keys and section names are matched ignoring ASCII
// letter case only; lines end at CR LF, CR or LF.
struct InternetShortcut {
    // 1. The text after the first "BASEURL=", wherever it stands on its line.
    // 2. Else the "URL=" line of an [InternetShortcut.W] section, decoded from UTF-7: it holds
    //    the characters the plain line lost to '?'. Skipped when it is not well-formed.
    // 3. Else the first line that starts (blanks aside) with "URL=".
    QString address;
    // When the shortcut was made, in Unix seconds: its first "Modified=" line holds a Windows
    // FILETIME as the hex of its eight little-endian bytes, sometimes with two more digits
    // after them. Nothing when there is no such line, it is malformed, or it is zero.
    std::optional<qint64> modifiedAt;
};

// Reads both in one pass over the bytes.
InternetShortcut readInternetShortcut(QByteArrayView bytes);

} // namespace quillon
