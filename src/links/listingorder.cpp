#include "links/listingorder.h"

#include <algorithm>

namespace quillon {

namespace {

// A name's sort key, the name upper-cased. For plain ASCII names, nearly all of them, the key
// is the name itself with a to z read as A to Z, the same as QString::toUpper gives; only the
// other names have their key made.
struct SortKey {
    QString upper;    // the upper-cased name, made for names that are not plain ASCII
    QStringView text; // the name itself, or upper
    bool mapAscii = false;

    char16_t at(qsizetype i) const
    {
        const char16_t c = text[i].unicode();
        return mapAscii && c >= u'a' && c <= u'z' ? char16_t(c - (u'a' - u'A')) : c;
    }
};

SortKey sortKey(const QString &name)
{
    for (const QChar c : name) {
        if (c.unicode() >= 0x80)
            return {name.toUpper(), {}, false};
    }
    return {{}, name, true};
}

// Compares two keys code unit by code unit, as QString::compare does.
int compareKeys(const SortKey &a, const SortKey &b)
{
    const qsizetype common = std::min(a.text.size(), b.text.size());
    for (qsizetype i = 0; i < common; ++i) {
        if (const char16_t ca = a.at(i), cb = b.at(i); ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.text.size() == b.text.size() ? 0 : a.text.size() < b.text.size() ? -1 : 1;
}

} // namespace

std::vector<qsizetype> listingOrder(const QStringList &names)
{
    // Keys are made once per name, not once per comparison. The text of a made key points
    // into the key's own string once the key has its place.
    std::vector<SortKey> keys;
    keys.reserve(size_t(names.size()));
    std::vector<qsizetype> order;
    order.reserve(size_t(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i) {
        keys.push_back(sortKey(names[i]));
        if (!keys.back().mapAscii)
            keys.back().text = keys.back().upper;
        order.push_back(i);
    }
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (const int c = compareKeys(keys[size_t(a)], keys[size_t(b)]); c != 0)
            return c < 0;
        return QString::compare(names[a], names[b], Qt::CaseSensitive) < 0;
    });
    return order;
}

} // namespace quillon
