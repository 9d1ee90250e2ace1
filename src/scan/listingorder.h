#pragma once

#include "scan/filesystem.h"

namespace quillon {

// Sorts entries into the listing order of their names (see listingOrder).
void sortListing(QList<DirEntry> &entries);

} // namespace quillon
