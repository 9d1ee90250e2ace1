#pragma once

#include "texts/usertext.h"

// What the core reports to users. The window shows these translated; the exporter prints the
// English source, which scripts may match on.
namespace quillon::messages {

inline constexpr UserText NothingFound = {
    "Messages", QT_TRANSLATE_NOOP("Messages", "No Favorites Were Found In This Location")};

inline constexpr UserText TooBroad = {
    "Messages",
    QT_TRANSLATE_NOOP("Messages", "This Selection Is Too Broad, Please Narrow Down Your Search")};

// %1: how many links were found before the stop.
inline constexpr UserText WalkStopped = {
    "Messages", QT_TRANSLATE_NOOP("Messages", "Generate Was Stopped: The List Is Incomplete, "
                                              "With The %1 Links Found So Far")};

} // namespace quillon::messages
