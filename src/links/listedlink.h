#pragma once

#include <QList>
#include <QString>

#include <vector>

namespace quillon {

class LinkTable;

// A link as a written list names it.
struct ListedLink {
    QString address;
    QString siteName;
};

// The form in which every written list keeps a value, and in which values are compared:
// a lone half of a UTF-16 pair and a C1 control become U+FFFD; tab, CR and LF are dropped from
// an address (as browsers drop them) and become spaces in a site name (they would break a
// bookmarks line).
QString listedAddress(QStringView address);
QString listedSiteName(QStringView siteName);

// Ticking as in a written list: the rows whose address and site name are those of a listed
// link, in table order, and how many listed links match no row. Every other row is to be
// unticked.
struct TicksFromList {
    QList<int> tickedRows;
    int linksNotFound = 0;
};
TicksFromList ticksFromList(const LinkTable &table, const std::vector<ListedLink> &links);

// Applies ticksFromList to the table: ticks exactly those rows and unticks every other.
TicksFromList tickAsInList(LinkTable &table, const std::vector<ListedLink> &links);

// The ticked rows, in table order, whose address shows the same page as that of an earlier
// ticked row: alike but for http against https, the letter case of scheme and host, a leading
// "www.", a final "/" of the path, an empty "#" and utm_ parameters. Empty addresses are never
// duplicates.
QList<int> duplicateRows(const LinkTable &table);

// Unticks the duplicateRows of the table; returns how many rows it unticked.
int untickDuplicates(LinkTable &table);

} // namespace quillon
