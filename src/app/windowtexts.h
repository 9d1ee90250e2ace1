#pragma once

#include "links/linktable.h"
#include "output/linklistwriter.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <iterator>

// The file types the window's dialogs offer and the reports it shows after writing or ticking.
namespace quillon::windowtexts {

inline QString datTypes()
{
    return QStringLiteral("DAT (*.dat)|*.dat");
}

// The types the save dialog offers beside the page, in its order; the type picked decides
// what is written (the page and the bookmarks file are both .html files).
struct SaveType {
    const char *filter; // "Description (*.ext)|*.ext"
    OutputKind kind;
};
inline constexpr SaveType htmlSaveTypes[] = {
    {"Web page (*.html)|*.html", OutputKind::Html},
    {"Bookmarks for browsers (*.html)|*.html", OutputKind::Bookmarks},
    {"Markdown (*.md)|*.md", OutputKind::Markdown},
    {"JSON (*.json)|*.json", OutputKind::Json},
    {"CSV for spreadsheets (*.csv)|*.csv", OutputKind::Csv}};

inline QString htmlTypes()
{
    QStringList filters;
    for (const SaveType &type : htmlSaveTypes)
        filters << QString::fromLatin1(type.filter);
    return filters.join(u'|');
}

// What the type the dialog answered writes.
inline OutputKind htmlSaveKind(int type)
{
    return type > 0 && size_t(type) < std::size(htmlSaveTypes) ? htmlSaveTypes[type].kind
                                                               : OutputKind::Html;
}

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
