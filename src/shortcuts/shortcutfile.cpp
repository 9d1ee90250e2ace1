#include "shortcuts/shortcutfile.h"

#include "shortcuts/desktoplink.h"
#include "shortcuts/shortcutreader.h"
#include "shortcuts/webloc.h"

namespace quillon {

namespace {
constexpr QStringView urlExtension = u".url";
constexpr QStringView weblocExtension = u".webloc";
constexpr QStringView desktopExtension = u".desktop";
} // namespace

std::optional<ShortcutFormat> shortcutFormatOf(QStringView fileName)
{
    if (fileName.endsWith(urlExtension))
        return ShortcutFormat::InternetShortcut;
    if (fileName.endsWith(weblocExtension))
        return ShortcutFormat::Webloc;
    if (fileName.endsWith(desktopExtension))
        return ShortcutFormat::DesktopLink;
    return std::nullopt;
}

ShortcutContent readShortcutContent(ShortcutFormat format, const std::optional<QByteArray> &bytes)
{
    ShortcutContent content;
    if (!bytes)
        return content;
    switch (format) {
    case ShortcutFormat::InternetShortcut: {
        InternetShortcut shortcut = readInternetShortcut(*bytes);
        content.address = std::move(shortcut.address);
        content.modifiedAt = shortcut.modifiedAt;
        break;
    }
    case ShortcutFormat::Webloc:
        content.address = weblocAddress(*bytes);
        break;
    case ShortcutFormat::DesktopLink:
        if (const std::optional<DesktopLink> link = readDesktopLink(*bytes)) {
            content.address = link->address;
            content.title = link->name;
        } else {
            content.isLink = false;
        }
        break;
    }
    return content;
}

QString siteNameOf(QString fileName, ShortcutFormat format, const ShortcutContent &content)
{
    if (!content.title.isEmpty())
        return content.title;
    switch (format) {
    case ShortcutFormat::InternetShortcut:
        fileName.chop(urlExtension.size());
        break;
    case ShortcutFormat::Webloc:
        fileName.chop(weblocExtension.size());
        break;
    case ShortcutFormat::DesktopLink:
        fileName.chop(desktopExtension.size());
        break;
    }
    return fileName;
}

} // namespace quillon
