#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace quillon {

class LinkTable;

// The kinds of output: the bare list to paste into a page, a whole HTML page, or a bookmarks
// file for browsers to import.
enum class OutputKind { Dat, Html, Bookmarks };

// Escapes a value for the page: the five characters with a meaning in HTML become named or
// numeric references, and every character outside printable ASCII a decimal reference of its
// code point, so the output is pure ASCII whatever the values hold. What no reference can
// name (a lone surrogate, a C1 control a browser would read as another character) becomes
// U+FFFD.
QByteArray escapeHtml(QStringView value);

// The link list for the ticked records of table, lines ending in CR LF. A folder's heading
// stands before its first ticked record; a folder with nothing ticked has none. A table
// without records gives no bytes at all. Bookmarks are as bookmarksFileBytes writes them, with
// the platform's folder separator.
QByteArray linkListBytes(const LinkTable &table, OutputKind kind);

// Writes the link list to device. Returns false with the device's error text on failure.
bool writeLinkList(QIODevice &device, const LinkTable &table, OutputKind kind,
                   QString *errorText = nullptr);

// Writes the link list to path through a temporary file that replaces the old file only once
// everything was written: on failure the old file stays exactly as it was. When mayReplace is
// given and says no just before that replacement, nothing is saved and it fails as cancelled.
bool saveLinkList(const QString &path, const LinkTable &table, OutputKind kind,
                  QString *errorText = nullptr, const std::function<bool()> &mayReplace = {});

} // namespace quillon
