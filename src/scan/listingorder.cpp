#include "scan/listingorder.h"

#include "links/listingorder.h"

namespace quillon {

void sortListing(QList<DirEntry> &entries)
{
    QStringList names;
    names.reserve(entries.size());
    for (const DirEntry &entry : std::as_const(entries))
        names.append(entry.name);
    QList<DirEntry> sorted;
    sorted.reserve(entries.size());
    for (const qsizetype i : listingOrder(names))
        sorted.append(std::move(entries[i]));
    entries = std::move(sorted);
}

} // namespace quillon
