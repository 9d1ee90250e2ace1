#pragma once

#include "shortcuts/shortcutfile.h"

#include <QString>

#include <optional>

namespace quillon {

// A shortcut file the walk found and read, before any rule of the link table applies to it.
struct FoundShortcut {
    QString folder;   // relative to the walk's start, as the grid names it; empty for the start
    QString fileName; // as shown, extension included
    ShortcutFormat format = ShortcutFormat::InternetShortcut;
    ShortcutContent content;
    std::optional<qint64> fileTime; // the file's modification time, when it could be read
};

// Takes found shortcuts in walk order. The walk calls it on the thread that called the walk.
class ShortcutSink {
public:
    virtual ~ShortcutSink() = default;
    virtual void take(FoundShortcut &&found) = 0;
};

} // namespace quillon
