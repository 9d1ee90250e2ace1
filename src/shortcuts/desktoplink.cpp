#include "shortcuts/desktoplink.h"

#include <utility>

namespace quillon {

namespace {

// The escapes a desktop-entry value may hold: the letter after the backslash, and its meaning.
constexpr std::pair<char16_t, char16_t> escapes[] = {
    {u's', u' '}, {u'n', u'\n'}, {u't', u'\t'}, {u'r', u'\r'}, {u'\\', u'\\'}};

// Decodes a value's escapes. Any other backslash stays as it stands.
QString unescaped(QStringView value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        out += value[i];
        if (value[i] != u'\\' || i + 1 == value.size())
            continue;
        for (const auto &[letter, meaning] : escapes) {
            if (value[i + 1] == letter) {
                out.back() = meaning;
                ++i;
                break;
            }
        }
    }
    return out;
}

} // namespace

std::optional<DesktopLink> readDesktopLink(QByteArrayView bytes)
{
    const QString decoded = QString::fromUtf8(bytes);
    QStringView text = decoded;
    if (text.startsWith(u'\xFEFF'))
        text = text.sliced(1);

    DesktopLink link;
    bool inEntryGroup = false;
    bool isLink = false;
    for (QStringView line : text.tokenize(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inEntryGroup = line == u"[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inEntryGroup || equals < 0)
            continue;
        // Blanks around the equals sign do not count; keys and values match exactly.
        const QStringView key = line.first(equals).trimmed();
        const QStringView value = line.sliced(equals + 1).trimmed();
        if (key == u"Type")
            isLink = value == u"Link";
        else if (key == u"URL" || key == u"URL[$e]")
            link.address = unescaped(value);
        else if (key == u"Name")
            link.name = unescaped(value);
    }
    if (!isLink)
        return std::nullopt;
    return link;
}

} // namespace quillon
