#include "scan/shortcutfile.h"

#include "scan/shortcutreader.h"

namespace quillon {

namespace {
constexpr QStringView urlExtension = u".url";
}

std::optional<ShortcutFormat> shortcutFormatOf(QStringView fileName)
{
    if (fileName.endsWith(urlExtension))
        return ShortcutFormat::InternetShortcut;
    return std::nullopt;
}

ShortcutContent readShortcutContent(ShortcutFormat format, const std::optional<QByteArray> &bytes)
{
    ShortcutContent content;
    if (!bytes)
        return content;
    switch (format) {
    case ShortcutFormat::InternetShortcut:
        content.address = shortcutAddress(*bytes);
        content.modifiedAt = shortcutModifiedAt(*bytes);
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
    }
    return fileName;
}

} // namespace quillon
