#pragma once

#include <QByteArray>
#include <QChar>

namespace quillon {

class LinkTable;

// The ticked records of table as a browser bookmarks file in the Netscape format, laid out as
// the strictest importer (one that reads line by line) needs it: UTF-8, one tag per line, LF
// line ends. A folder name "A<separator>B" becomes folder B nested in folder A; inside a
// folder its own links come first, then its sub-folders, each in table order; a folder without
// a ticked link below it is left out. A link's ADD_DATE is its record's modifiedAt; a folder's
// ADD_DATE and LAST_MODIFIED are the earliest and latest of the links written below it.
// Unknown dates are left out, so an importer puts in the time of import.
QByteArray bookmarksFileBytes(const LinkTable &table, QChar folderSeparator);

} // namespace quillon
