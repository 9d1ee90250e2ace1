#pragma once

#include "scan/filesystem.h"

namespace quillon {

// Sorts entries into the listing order used on every platform: by upper-cased name, ties broken
// by the name itself, so that the order never depends on how the system returns entries.
void sortListing(QList<DirEntry> &entries);

} // namespace quillon
