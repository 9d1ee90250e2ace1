#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quillon {

// The kinds of shortcut file the walk records, told apart by the file name's extension
// (exact letter case, as for ".url").
enum class ShortcutFormat {
    InternetShortcut, // .url
    Webloc,           // .webloc (macOS property list)
    DesktopLink,      // .desktop (freedesktop; only Type=Link makes a row)
};

std::optional<ShortcutFormat> shortcutFormatOf(QStringView fileName);

// What a shortcut file says about its link.
struct ShortcutContent {
    bool isLink = true;               // false: the file is of the kind but no link; no row
    QString address;                  // empty when the file holds none or cannot be read
    QString title;                    // the name the file gives itself; empty: the file name
    std::optional<qint64> modifiedAt; // Unix seconds, from the file's own record of it
};

// Reads a shortcut's bytes; no bytes (the file could not be read) give an empty address.
ShortcutContent readShortcutContent(ShortcutFormat format, const std::optional<QByteArray> &bytes);

// The site name of a shortcut: its own title, else its file name less the extension.
QString siteNameOf(QString fileName, ShortcutFormat format, const ShortcutContent &content);

} // namespace quillon
