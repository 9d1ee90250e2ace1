#include "shortcuts/shortcutreader.h"

#include "shortcuts/shortcutencodings.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <string_view>

namespace quillon {

namespace {

bool startsWith(QByteArrayView bytes, QByteArrayView mark)
{
    return bytes.size() >= mark.size() && bytes.first(mark.size()) == mark;
}

QString decodeAnsi(QByteArrayView bytes)
{
#ifdef Q_OS_WIN
    QStringDecoder decoder(QStringConverter::System); // the ANSI code page
    return decoder(bytes);
#else
    return decodeWindows1252(bytes);
#endif
}

} // namespace

QString decodeShortcutText(QByteArrayView bytes)
{
    if (startsWith(bytes, "\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.sliced(3));
    if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF")) {
        // The decoder reads the byte-order mark itself and drops it.
        QStringDecoder decoder(QStringConverter::Utf16);
        return decoder(bytes);
    }
    // Stateless, so a sequence cut off by the end of the file counts as invalid too.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(bytes);
    return utf8.hasError() ? decodeAnsi(bytes) : text;
}

namespace {

// Every rule below is written once for two views of a shortcut: its bytes when they are pure
// ASCII (nearly every shortcut, and then the same characters in every encoding the reader
// knows, none of whose byte-order marks is ASCII), else its decoded text.
char16_t unitAt(QByteArrayView text, qsizetype at)
{
    return uchar(text[at]);
}
char16_t unitAt(QStringView text, qsizetype at)
{
    return text[at].unicode();
}
qsizetype indexOfEquals(QByteArrayView text, qsizetype from)
{
    return text.indexOf('=', from);
}
qsizetype indexOfEquals(QStringView text, qsizetype from)
{
    return text.indexOf(u'=', from);
}
QString toText(QByteArrayView text)
{
    return QString::fromLatin1(text);
}
QString toText(QStringView text)
{
    return text.toString();
}

char16_t asciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

bool isLineEnd(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

// Whether key stands at position at, ignoring ASCII letter case only: a look-alike such as
// the long s of "BA\u017FEURL=" is another character, as it is for Windows.
template <typename View> bool hasKeyAt(View text, qsizetype at, std::string_view key)
{
    if (at < 0 || text.size() - at < qsizetype(key.size()))
        return false;
    for (size_t i = 0; i < key.size(); ++i)
        if (asciiLower(unitAt(text, at + qsizetype(i))) != asciiLower(char16_t(key[i])))
            return false;
    return true;
}

// The start of the first key anywhere in the text, or -1. Keys end in '=', so the search
// goes from one '=' to the next.
template <typename View> qsizetype indexOfKey(View text, std::string_view key)
{
    const auto length = qsizetype(key.size());
    for (qsizetype end = indexOfEquals(text, length - 1); end >= 0;
         end = indexOfEquals(text, end + 1))
        if (hasKeyAt(text, end + 1 - length, key))
            return end + 1 - length;
    return -1;
}

// Bytes are searched with memchr: most of a shortcut is its long address lines. The search
// goes block by block, so a file without an LF is not searched to its end for every line.
qsizetype lineEnd(QByteArrayView text, qsizetype at)
{
    constexpr qsizetype Block = 256;
    for (; at < text.size(); at += Block) {
        const char *from = text.data() + at;
        const auto length = size_t(std::min(Block, text.size() - at));
        const auto *lf = static_cast<const char *>(std::memchr(from, '\n', length));
        const size_t bound = lf ? size_t(lf - from) : length;
        const auto *cr = static_cast<const char *>(std::memchr(from, '\r', bound));
        if (cr || lf)
            return at + qsizetype(cr ? size_t(cr - from) : bound);
    }
    return text.size();
}

template <typename View> qsizetype lineEnd(View text, qsizetype at)
{
    while (at < text.size() && !isLineEnd(unitAt(text, at)))
        ++at;
    return at;
}

// The rest of the line from position at.
template <typename View> View restOfLine(View text, qsizetype at)
{
    return text.sliced(at, lineEnd(text, at) - at);
}

// Calls visit(first, end) for each line, first being its position after leading blanks,
// until visit returns false.
template <typename View, typename Visit> void forEachLine(View text, Visit visit)
{
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype end = lineEnd(text, start);
        qsizetype first = start;
        while (first < end && isBlank(unitAt(text, first)))
            ++first;
        if (!visit(first, end))
            return;
        start = end + 1;
    }
}

// Where the values of the first "URL=" line, of the first one in an [InternetShortcut.W]
// section and of the first "Modified=" line start; -1 for none. One pass finds all three.
struct KeyLines {
    qsizetype plain = -1;
    qsizetype unicode = -1;
    qsizetype modified = -1;
    qsizetype modifiedEnd = -1;
};

constexpr std::string_view modifiedKey = "Modified=";

template <typename View> KeyLines findKeyLines(View text)
{
    constexpr std::string_view urlKey = "URL=";
    constexpr std::string_view unicodeSection = "[InternetShortcut.W]";
    KeyLines found;
    bool inUnicodeSection = false;
    forEachLine(text, [&](qsizetype first, qsizetype end) {
        if (first < end && unitAt(text, first) == u'[') {
            while (end > first && isBlank(unitAt(text, end - 1)))
                --end;
            inUnicodeSection = end - first == qsizetype(unicodeSection.size()) &&
                               hasKeyAt(text, first, unicodeSection);
        } else if (hasKeyAt(text, first, urlKey)) {
            const qsizetype value = first + qsizetype(urlKey.size());
            if (found.plain < 0)
                found.plain = value;
            if (inUnicodeSection && found.unicode < 0)
                found.unicode = value;
        } else if (found.modified < 0 && hasKeyAt(text, first, modifiedKey)) {
            found.modified = first + qsizetype(modifiedKey.size());
            found.modifiedEnd = end;
        }
        return found.unicode < 0 || found.modified < 0;
    });
    return found;
}

template <typename View> QString addressIn(View text, const KeyLines &lines)
{
    constexpr std::string_view baseKey = "BASEURL=";
    if (const qsizetype at = indexOfKey(text, baseKey); at >= 0)
        return toText(restOfLine(text, at + qsizetype(baseKey.size())));
    if (lines.unicode >= 0) {
        const std::optional<QString> decoded = decodeUtf7(toText(restOfLine(text, lines.unicode)));
        // A line end inside the shifted run would make the address two lines.
        if (decoded && !decoded->isEmpty() && !decoded->contains(u'\r') &&
            !decoded->contains(u'\n'))
            return *decoded;
    }
    return lines.plain >= 0 ? toText(restOfLine(text, lines.plain)) : QString();
}

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    c = asciiLower(c);
    return c >= u'a' && c <= u'f' ? c - u'a' + 10 : -1;
}

// The Modified= value: FILETIME counts 100 ns steps since 1601-01-01 UTC.
template <typename View>
std::optional<qint64> modifiedAtIn(View text, qsizetype start, qsizetype end)
{
    if (start < 0)
        return std::nullopt;
    while (end > start && isBlank(unitAt(text, end - 1)))
        --end;
    if (end - start != 16 && end - start != 18)
        return std::nullopt;
    quint64 fileTime = 0;
    for (int byte = 0; byte < 8; ++byte) {
        const int high = hexValue(unitAt(text, start + 2 * byte));
        const int low = hexValue(unitAt(text, start + 2 * byte + 1));
        if (high < 0 || low < 0)
            return std::nullopt;
        fileTime |= quint64(high * 16 + low) << (8 * byte);
    }
    for (qsizetype at = start + 16; at < end; ++at)
        if (hexValue(unitAt(text, at)) < 0)
            return std::nullopt;
    constexpr qint64 secondsFrom1601To1970 = 11'644'473'600;
    if (fileTime == 0)
        return std::nullopt;
    return qint64(fileTime / 10'000'000) - secondsFrom1601To1970;
}

template <typename View> InternetShortcut internetShortcutIn(View text)
{
    const KeyLines lines = findKeyLines(text);
    return {addressIn(text, lines), modifiedAtIn(text, lines.modified, lines.modifiedEnd)};
}

bool isAscii(QByteArrayView bytes)
{
    uchar any = 0; // a loop without an early exit, which the compiler turns into wide steps
    for (const char c : bytes)
        any |= uchar(c);
    return any < 0x80;
}

} // namespace

InternetShortcut readInternetShortcut(QByteArrayView bytes)
{
    if (isAscii(bytes))
        return internetShortcutIn(bytes);
    const QString text = decodeShortcutText(bytes);
    return internetShortcutIn(QStringView(text));
}

} // namespace quillon
