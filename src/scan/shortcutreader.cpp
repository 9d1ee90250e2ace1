#include "scan/shortcutreader.h"

#include "scan/filesystem.h"

#include <QStringDecoder>
#include <QStringMatcher>

namespace quillon {

QString decodeShortcutText(QByteArrayView bytes)
{
    const auto startsWith = [&bytes](std::initializer_list<unsigned char> mark) {
        if (bytes.size() < qsizetype(mark.size()))
            return false;
        qsizetype i = 0;
        for (unsigned char c : mark)
            if (static_cast<unsigned char>(bytes[i++]) != c)
                return false;
        return true;
    };
    if (startsWith({0xEF, 0xBB, 0xBF}))
        return QString::fromUtf8(bytes.sliced(3));
    if (startsWith({0xFF, 0xFE}) || startsWith({0xFE, 0xFF})) {
        // The decoder reads the byte-order mark itself and drops it.
        QStringDecoder decoder(QStringConverter::Utf16);
        return decoder(bytes);
    }
    QStringDecoder decoder(QStringConverter::System);
    return decoder(bytes);
}

namespace {

// Calls visit(line) for each line until it returns false. CR LF, CR and LF end a line.
template <typename Visit> void forEachLine(QStringView text, Visit visit)
{
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        if (!visit(text.sliced(start, end - start)))
            return;
        if (end < size && text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
}

} // namespace

namespace {

QStringView withoutLeadingBlanks(QStringView line)
{
    qsizetype i = 0;
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t'))
        ++i;
    return line.sliced(i);
}

// The end of the line that holds position at: the next CR or LF, or the end of the text.
qsizetype lineEnd(QStringView text, qsizetype at)
{
    while (at < text.size() && text[at] != u'\r' && text[at] != u'\n')
        ++at;
    return at;
}

// The text after keyword on the first line that contains it. When no line does and a
// fallbackKey is given, the text after the first line that starts (blanks aside) with it.
// A keyword without line ends has its first match in the whole text on the first line that
// contains it, so one search over the text does what a search per line would; a keyword with
// a line end never fits on one line.
QString findValue(QStringView text, QStringView keyword, QStringView fallbackKey)
{
    const bool fitsOnALine = !keyword.contains(u'\r') && !keyword.contains(u'\n');
    const QStringMatcher matcher(keyword, Qt::CaseInsensitive);
    if (const qsizetype at = fitsOnALine ? matcher.indexIn(text) : -1; at >= 0) {
        const qsizetype start = at + keyword.size();
        return text.sliced(start, lineEnd(text, start) - start).toString();
    }
    if (fallbackKey.isEmpty())
        return {};
    std::optional<QString> fallback;
    forEachLine(text, [&](QStringView line) {
        const QStringView rest = withoutLeadingBlanks(line);
        if (rest.startsWith(fallbackKey, Qt::CaseInsensitive)) {
            fallback = rest.sliced(fallbackKey.size()).toString();
            return false;
        }
        return true;
    });
    return fallback.value_or(QString());
}

} // namespace

QString Parser(QStringView Keyword, QStringView text)
{
    if (Keyword.isEmpty())
        return {};
    return findValue(text, Keyword, {});
}

QString shortcutAddress(QByteArrayView bytes)
{
    return findValue(decodeShortcutText(bytes), u"BASEURL=", u"URL=");
}

QString readShortcutAddress(const FileSystem &fs, const QString &path)
{
    const auto bytes = fs.readHead(path, ShortcutReadLimit);
    return bytes ? shortcutAddress(*bytes) : QString();
}

} // namespace quillon
