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

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

bool isAscii(QByteArrayView bytes)
{
    uchar any = 0; // a loop without an early exit, which the compiler turns into wide steps
    for (const char c : bytes)
        any |= uchar(c);
    return any < 0x80;
}

// The end of the line that holds position at: the next CR or LF, or the end of the text.
qsizetype asciiLineEnd(QByteArrayView text, qsizetype at)
{
    qsizetype end = text.indexOf('\n', at);
    if (end < 0)
        end = text.size();
    const qsizetype cr = text.sliced(at, end - at).indexOf('\r');
    return cr < 0 ? end : at + cr;
}

// The start of the first match of key (any ASCII letter case) at or after from, or -1. The
// search goes from one '=' to the next, and so finds only keys that end in '='.
qsizetype indexOfAsciiKey(QByteArrayView text, QLatin1StringView key, qsizetype from)
{
    const qsizetype length = key.size();
    for (qsizetype end = text.indexOf('=', from + length - 1); end >= 0;
         end = text.indexOf('=', end + 1)) {
        const qsizetype start = end + 1 - length;
        qsizetype i = 0;
        while (i < length && asciiLower(text[start + i]) == asciiLower(key[i].toLatin1()))
            ++i;
        if (i == length)
            return start;
    }
    return -1;
}

// findValue for pure ASCII bytes and ASCII keys that end in '='. Such bytes decode to the same
// characters in every encoding the reader understands (none of their byte-order marks is
// ASCII), and for them ignoring case means ignoring ASCII case, so the value is found in the
// bytes and only it is turned into text. Nearly every shortcut is pure ASCII.
QString findAsciiValue(QByteArrayView text, QLatin1StringView keyword,
                       QLatin1StringView fallbackKey)
{
    const auto valueAfter = [&text](qsizetype start) {
        return QString::fromLatin1(text.sliced(start, asciiLineEnd(text, start) - start));
    };
    if (const qsizetype at = indexOfAsciiKey(text, keyword, 0); at >= 0)
        return valueAfter(at + keyword.size());
    // The first fallback key with nothing but blanks before it on its line.
    for (qsizetype at = indexOfAsciiKey(text, fallbackKey, 0); at >= 0;
         at = indexOfAsciiKey(text, fallbackKey, at + 1)) {
        qsizetype before = at;
        while (before > 0 && (text[before - 1] == ' ' || text[before - 1] == '\t'))
            --before;
        if (before == 0 || text[before - 1] == '\r' || text[before - 1] == '\n')
            return valueAfter(at + fallbackKey.size());
    }
    return {};
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
    if (isAscii(bytes))
        return findAsciiValue(bytes, QLatin1StringView("BASEURL="), QLatin1StringView("URL="));
    return findValue(decodeShortcutText(bytes), u"BASEURL=", u"URL=");
}

QString readShortcutAddress(OpenFolder &folder, QStringView name)
{
    const auto bytes = folder.readHead(name, ShortcutReadLimit);
    return bytes ? shortcutAddress(*bytes) : QString();
}

} // namespace quillon
