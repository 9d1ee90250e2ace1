#pragma once

#include "links/linktable.h"

namespace quillon::test {

// A table drawn as text. layout: 's' a row of the start folder, 'G' a row that opens a folder
// group, '.' a further row of the group, 'e' a further row whose folder name is empty text,
// 'j' a further row with a script address.
// ticks: '1' ticked, '0' unticked, '-' null; shorter than layout means ticked.
inline LinkTable groupedTable(const QString &layout, const QString &ticks = {})
{
    LinkTable table;
    for (qsizetype i = 0; i < layout.size(); ++i) {
        LinkRecord record;
        const QChar tick = i < ticks.size() ? ticks[i] : QChar(u'1');
        if (tick != u'-')
            record.ticked = tick == u'1';
        if (layout[i] == u'G')
            record.folderName = QStringLiteral("folder %1").arg(i);
        else if (layout[i] == u'e')
            record.folderName = QString();
        record.siteName = QStringLiteral("site %1").arg(i);
        record.address = layout[i] == u'j' ? QStringLiteral("javascript:void(%1)").arg(i)
                                           : QStringLiteral("http://site%1/").arg(i);
        table.append(std::move(record));
    }
    return table;
}

// The ticks of a table in the form groupedTable takes them.
inline QString ticksOf(const LinkTable &table)
{
    QString out;
    for (const LinkRecord &record : table.records())
        out += record.ticked ? u'1' : u'0';
    return out;
}

} // namespace quillon::test
