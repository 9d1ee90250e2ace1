#pragma once

#include "texts/usertext.h"

#include <array>

namespace quillon {

// The link fields' names, in the fields' order: the names they are created with, which the
// grid shows translated as its column names.
inline constexpr std::array<UserText, 4> LinkFieldNames = {{
    {"LinkFields", QT_TRANSLATE_NOOP("LinkFields", "Selected")},
    {"LinkFields", QT_TRANSLATE_NOOP("LinkFields", "Foldername")},
    {"LinkFields", QT_TRANSLATE_NOOP("LinkFields", "SiteName")},
    {"LinkFields", QT_TRANSLATE_NOOP("LinkFields", "URL")},
}};

} // namespace quillon
