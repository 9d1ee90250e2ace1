#pragma once

#include "links/listedlink.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>

#include <optional>
#include <vector>

namespace quillon {

class LinkTable;
class ListSink;

// The ticked records of table as a browser bookmarks file in the Netscape format, laid out as
// the strictest importer (one that reads line by line) needs it: UTF-8, one tag per line, LF
// line ends. Folders nest as folderTree makes them; inside a folder its own links come first,
// in table order, then its sub-folders. A link's ADD_DATE is its record's modifiedAt; a folder's
// ADD_DATE and LAST_MODIFIED are the earliest and latest of the links written below it.
// Unknown dates are left out, so an importer puts in the time of import.
void writeBookmarksFile(ListSink &out, const LinkTable &table, QChar folderSeparator);
QByteArray bookmarksFileBytes(const LinkTable &table, QChar folderSeparator);

// The HREF value of an address, before escaping. Chromium's importer reads a backslash before
// the closing quote as an escaped quote, so an address that ends in a backslash, maybe followed
// by blanks, gets one blank more; URL parsers drop blanks at the end of an address. No other
// form works everywhere: Chromium leaves "&#92;" as it is.
QString bookmarkHref(const QString &address);

// The address a HREF value (unescaped) was written for: undoes bookmarkHref.
QString addressOfBookmarkHref(QString href);

// Whether line, the first line of a file that is not blank, starts a bookmarks file.
bool startsBookmarksFile(QByteArrayView line);

// Reads the links of a bookmarks file, Quillon's or a browser's, or says in error why it cannot.
std::optional<std::vector<ListedLink>> readBookmarksFile(QByteArrayView text, QString &error);

} // namespace quillon
