#include "shortcuts/shortcutencodings.h"

#include <array>

namespace quillon {

QString decodeWindows1252(QByteArrayView bytes)
{
    // Hand-written: Qt decodes this page only when built with ICU. Debian's Qt is, and gives
    // exactly this table on all 256 bytes; a Qt built without ICU knows only the UTF forms and
    // Latin-1, and favorites would read differently there.
    // Only 0x80 to 0x9F differ from Latin-1.
    static constexpr std::array<char16_t, 32> high = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *to = text.data();
    for (const char c : bytes) {
        const auto byte = uchar(c);
        *to++ = QChar(byte >= 0x80 && byte < 0xA0 ? high[byte - 0x80] : char16_t(byte));
    }
    return text;
}

namespace {

int base64Value(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return c - u'A';
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 26;
    if (c >= u'0' && c <= u'9')
        return c - u'0' + 52;
    if (c == u'+')
        return 62;
    if (c == u'/')
        return 63;
    return -1;
}

} // namespace

// Hand-written: Qt's UTF-7 decoder (with ICU) takes a lone half of a surrogate pair as text
// ("+2D0-" gives U+D83D and no error), which would then stand in an address as a broken
// character; this one refuses such text.
std::optional<QString> decodeUtf7(QStringView text)
{
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const char16_t c = text[i++].unicode();
        if (c >= 0x80)
            return std::nullopt; // UTF-7 is seven-bit text
        if (c != u'+') {
            out += QChar(c);
            continue;
        }
        if (i < text.size() && text[i] == u'-') {
            out += u'+';
            ++i;
            continue;
        }
        // A shifted run: base64 digits carrying UTF-16 units, ended by any other character,
        // of which a '-' is absorbed.
        const qsizetype start = i;
        quint32 bits = 0;
        int bitCount = 0;
        for (int value; i < text.size() && (value = base64Value(text[i].unicode())) >= 0; ++i) {
            bits = (bits << 6) | quint32(value);
            bitCount += 6;
            if (bitCount >= 16) {
                bitCount -= 16;
                out += QChar(char16_t(bits >> bitCount));
                bits &= (1u << bitCount) - 1;
            }
        }
        // An empty run, or one whose last digit carries more than the pad bits of a unit.
        if (i == start || bitCount >= 6 || bits != 0)
            return std::nullopt;
        if (i < text.size() && text[i] == u'-')
            ++i;
    }
    if (!QStringView(out).isValidUtf16())
        return std::nullopt;
    return out;
}

} // namespace quillon
