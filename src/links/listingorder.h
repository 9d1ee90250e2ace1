#pragma once

#include <QStringList>

#include <vector>

namespace quillon {

// The order in which a folder's entries are listed on every platform: by upper-cased name, ties
// broken by the name itself, so that the order never depends on how the system returns
// entries. Gives the positions of names in that order.
std::vector<qsizetype> listingOrder(const QStringList &names);

} // namespace quillon
