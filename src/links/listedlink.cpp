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

// The form in which two addresses of the same page are equal: http and https alike, scheme and
// host in lower case, no leading "www.", no empty fragment, no utm_ tracking parameters, no
// final "/" on the path. Everything else counts, the path's letter case included.
QString samePageKey(QStringView address)
{
    QString key;
    key.reserve(address.size());
    qsizetype at = 0;
    for (qsizetype i = 0; i < address.size(); ++i) {
        const char16_t c = address[i].unicode();
        if (c == u':' && i > 1) { // not a drive letter
            const QString scheme = address.first(i).toString().toLower();
            key += scheme == u"https" ? QStringLiteral("http") : scheme;
            key += u':';
            at = i + 1;
            break;
        }
        const bool schemeChar =
            (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
            (i > 0 && ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.'));
        if (!schemeChar)
            break;
    }
    const auto endOf = [&](qsizetype from, QStringView stops) {
        qsizetype end = from;
        while (end < address.size() && !stops.contains(address[end]))
            ++end;
        return end;
    };
    if (address.sliced(at).startsWith(u"//")) {
        const qsizetype authorityEnd = endOf(at + 2, u"/?#");
        const QStringView authority = address.sliced(at + 2, authorityEnd - at - 2);
        const qsizetype hostAt = authority.lastIndexOf(u'@') + 1;
        QString host = authority.sliced(hostAt).toString().toLower();
        if (host.startsWith(u"www."))
            host.remove(0, 4);
        key += u"//";
        key += authority.first(hostAt);
        key += host;
        at = authorityEnd;
    }
    const qsizetype pathEnd = endOf(at, u"?#");
    QStringView path = address.sliced(at, pathEnd - at);
    if (path.endsWith(u'/'))
        path.chop(1);
    key += path;
    at = pathEnd;
    if (at < address.size() && address[at] == u'?') {
        const qsizetype queryEnd = endOf(at, u"#");
        const QStringView query = address.sliced(at + 1, queryEnd - at - 1);
        // An empty query stays; one of utm_ parameters only goes.
        QChar separator = u'?';
        for (const QStringView part : query.tokenize(u'&')) {
            if (part.startsWith(u"utm_"))
                continue;
            key += separator;
            key += part;
            separator = u'&';
        }
        if (query.isEmpty() && separator == u'?')
            key += separator;
        at = queryEnd;
    }
    if (at + 1 < address.size()) // a fragment that is not empty
        key += address.sliced(at);
    return key;
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
        const QString key = samePageKey(record.address);
        if (seen.contains(key))
            rows.append(row);
        else
            seen.insert(key);
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
