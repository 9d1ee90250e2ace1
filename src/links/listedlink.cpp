#include "links/listedlink.h"

#include "links/linktable.h"

#include <QHash>
#include <QSet>

#include <utility>

namespace quillon {

namespace {

QString normalised(QStringView value, bool dropBreaks)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\t' || c == u'\r' || c == u'\n') {
            if (!dropBreaks)
                out += u' ';
        } else if (c.isHighSurrogate() && i + 1 < value.size() && value[i + 1].isLowSurrogate()) {
            out += c;
            out += value[++i];
        } else {
            // A C1 control has no reliable written form (a browser reads most of their
            // references as Windows-1252 characters), so every list may have replaced it.
            const bool unwritable = c.isSurrogate() || (c.unicode() >= 0x80 && c.unicode() <= 0x9F);
            out += unwritable ? QChar(QChar::ReplacementCharacter) : c;
        }
    }
    return out;
}

using LinkKey = std::pair<QString, QString>;

LinkKey keyOf(const LinkRecord &record)
{
    return {listedAddress(record.address), listedSiteName(record.siteName)};
}

} // namespace

QString listedAddress(QStringView address)
{
    return normalised(address, true);
}

QString listedSiteName(QStringView siteName)
{
    return normalised(siteName, false);
}

TicksFromList ticksFromList(const LinkTable &table, const std::vector<ListedLink> &links)
{
    QHash<LinkKey, bool> found; // every listed link, and whether a row has it
    for (const ListedLink &link : links)
        found.insert({listedAddress(link.address), listedSiteName(link.siteName)}, false);

    TicksFromList ticks;
    for (int row = 0; row < table.recordCount(); ++row) {
        const auto it = found.find(keyOf(table.record(row)));
        if (it == found.end())
            continue;
        it.value() = true;
        ticks.tickedRows.append(row);
    }
    for (const ListedLink &link : links)
        if (!found.value({listedAddress(link.address), listedSiteName(link.siteName)}))
            ++ticks.linksNotFound;
    return ticks;
}

TicksFromList tickAsInList(LinkTable &table, const std::vector<ListedLink> &links)
{
    TicksFromList ticks = ticksFromList(table, links);
    for (int row = 0; row < table.recordCount(); ++row)
        table.setTicked(row, false);
    for (const int row : std::as_const(ticks.tickedRows))
        table.setTicked(row, true);
    return ticks;
}

QList<int> duplicateRows(const LinkTable &table)
{
    QList<int> rows;
    QSet<QString> seen;
    for (int row = 0; row < table.recordCount(); ++row) {
        const LinkRecord &record = table.record(row);
        if (!record.ticked || record.address.isEmpty())
            continue;
        if (seen.contains(record.address))
            rows.append(row);
        else
            seen.insert(record.address);
    }
    return rows;
}

int untickDuplicates(LinkTable &table)
{
    const QList<int> rows = duplicateRows(table);
    for (const int row : rows)
        table.setTicked(row, false);
    return int(rows.size());
}

} // namespace quillon
