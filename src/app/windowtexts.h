#pragma once

#include "links/linktable.h"

#include <QDir>
#include <QString>

#include <algorithm>

// The file types the window's dialogs offer and the reports it shows after writing or ticking.
namespace quillon::windowtexts {

inline QString writtenListTypes()
{
    return QStringLiteral("Written lists (*.html *.htm *.dat *.md *.json *.csv)"
                          "|*.html *.htm *.dat *.md *.json *.csv|All files (*)|*");
}

inline QString written(const LinkTable &table, const QString &file)
{
    const auto &records = table.records();
    const auto ticked =
        std::count_if(records.begin(), records.end(), [](const LinkRecord &r) { return r.ticked; });
    return QStringLiteral("%1 %2 written to %3.")
        .arg(ticked)
        .arg(ticked == 1 ? QStringLiteral("link") : QStringLiteral("links"),
             QDir::toNativeSeparators(file));
}

inline QString tickedAsInList(qsizetype ticked, int rows, int notFound, size_t listed)
{
    return QStringLiteral("%1 of %2 rows ticked; %3 of the %4 links in the list were not found.")
        .arg(ticked)
        .arg(rows)
        .arg(notFound)
        .arg(listed);
}

} // namespace quillon::windowtexts
