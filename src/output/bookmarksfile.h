#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

namespace quillon {

class LinkTable;

// The ticked records of table as a browser bookmarks file in the Netscape format, laid out as
// the strictest importer (one that reads line by line) needs it: UTF-8, one tag per line, LF
// line ends. Folders nest as folderTree makes them; inside a folder its own links come first,
// in table order, then its sub-folders. A link's ADD_DATE is its record's modifiedAt; a folder's
// ADD_DATE and LAST_MODIFIED are the earliest and latest of the links written below it.
// Unknown dates are left out, so an importer puts in the time of import.
QByteArray bookmarksFileBytes(const LinkTable &table, QChar folderSeparator);

// The HREF value of an address, before escaping. Chromium's importer reads a backslash before
// the closing quote as an escaped quote, so an address that ends in a backslash, maybe followed
// by blanks, gets one blank more; URL parsers drop blanks at the end of an address. No other
// form works everywhere: Chromium leaves "&#92;" as it is.
QString bookmarkHref(const QString &address);

// The address a HREF value (unescaped) was written for: undoes bookmarkHref.
QString addressOfBookmarkHref(QString href);

} // namespace quillon
