#pragma once

#include <QStringView>

namespace quillon {

// True for an address that runs script when followed: a "javascript:", "vbscript:" or "data:"
// URL, with its scheme read as a browser reads it (leading C0 controls and spaces dropped,
// tab, CR and LF removed anywhere, ASCII letter case ignored).
bool isScriptAddress(QStringView address);

} // namespace quillon
