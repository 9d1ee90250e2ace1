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
// line ends. A folder name "A<separator>B" becomes folder B nested in folder A; inside a
// folder its own links come first, then its sub-folders, each in table order; a folder without
// a ticked link below it is left out. A link's ADD_DATE is its record's modifiedAt; a folder's
// ADD_DATE and LAST_MODIFIED are the earliest and latest of the links written below it.
// Unknown dates are left out, so an importer puts in the time of import.
void writeBookmarksFile(ListSink &out, const LinkTable &table, QChar folderSeparator);
QByteArray bookmarksFileBytes(const LinkTable &table, QChar folderSeparator);

// One folder of the bookmarks tree; folders refer to each other by index into one vector,
// so no depth of nesting costs stack. The first is the start folder.
struct BookmarkFolder {
    QString name;
    std::vector<int> rows;     // its own ticked records, in table order
    std::vector<int> children; // in the order they were first met
    bool holdsTicked = false;  // a ticked record is in it or below it
    std::optional<qint64> earliest;
    std::optional<qint64> latest;
};

// The folders as the bookmarks file nests them; other tree-shaped lists nest them alike.
std::vector<BookmarkFolder> bookmarkFolderTree(const LinkTable &table, QChar folderSeparator);

// Whether line, the first line of a file that is not blank, starts a bookmarks file.
bool startsBookmarksFile(QByteArrayView line);

// Reads the links of a bookmarks file, Quillon's or a browser's, or says in error why it cannot.
std::optional<std::vector<ListedLink>> readBookmarksFile(QByteArrayView text, QString &error);

} // namespace quillon
