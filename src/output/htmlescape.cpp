#include "output/htmlescape.h"

#include "output/textlines.h"

#include <algorithm>
#include <array>

namespace quillon {

namespace {

// Printable ASCII without a meaning in HTML: written as it is.
bool isPlain(char16_t c)
{
    return c >= 0x20 && c < 0x7F && c != u'&' && c != u'<' && c != u'>' && c != u'"' && c != u'\'';
}

bool isC1Control(char32_t code)
{
    return code >= 0x80 && code <= 0x9F;
}

void appendUtf8(QByteArray &out, char32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

} // namespace

void appendHtmlEscaped(QByteArray &out, QStringView value, HtmlCharset charset)
{
    for (auto it = value.begin(); it != value.end(); ++it) {
        // Runs of plain characters, most of every value, are copied in one go.
        if (isPlain(it->unicode())) {
            auto end = it + 1;
            while (end != value.end() && isPlain(end->unicode()))
                ++end;
            const qsizetype at = out.size();
            out.resize(at + (end - it));
            char *to = out.data() + at;
            for (; it != end; ++it)
                *to++ = char(it->unicode());
            if (it == value.end())
                break;
        }
        char32_t code = it->unicode();
        if (QChar::isHighSurrogate(code) && it + 1 != value.end() && (it + 1)->isLowSurrogate()) {
            code = QChar::surrogateToUcs4(*it, *(it + 1));
            ++it;
        } else if (QChar::isSurrogate(code) || isC1Control(code)) {
            code = QChar::ReplacementCharacter;
        }
        switch (code) {
        case U'&':
            out += "&amp;";
            break;
        case U'<':
            out += "&lt;";
            break;
        case U'>':
            out += "&gt;";
            break;
        case U'"':
            out += "&quot;";
            break;
        case U'\'':
            out += "&#39;";
            break;
        default:
            if (code >= 0x20 && code < 0x7F) {
                out += char(code);
            } else if (charset == HtmlCharset::Utf8) {
                appendUtf8(out, code);
            } else {
                out += "&#";
                out += QByteArray::number(uint(code));
                out += ';';
            }
        }
    }
}

std::optional<CharacterReference> characterReferenceAt(QStringView text)
{
    // A character reference is short: the search for its end stops soon.
    const qsizetype end = text.first(std::min<qsizetype>(text.size(), 12)).indexOf(u';');
    if (!text.startsWith(u"&#") || end <= 2)
        return std::nullopt;
    const bool hex = text[2] == u'x' || text[2] == u'X';
    const qsizetype digitsAt = hex ? 3 : 2;
    bool ok = false;
    const uint code = text.sliced(digitsAt, end - digitsAt).toUInt(&ok, hex ? 16 : 10);
    if (!ok || code > 0x10FFFF)
        return std::nullopt;
    return CharacterReference{char32_t(code), end + 1};
}

void appendCodePoint(QString &out, char32_t code)
{
    if (code > 0xFFFF) {
        out += QChar(QChar::highSurrogate(code));
        out += QChar(QChar::lowSurrogate(code));
    } else {
        out += QChar(char16_t(code));
    }
}

QString htmlUnescaped(QByteArrayView utf8)
{
    static constexpr std::array<std::pair<QStringView, char16_t>, 4> named = {
        {{u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&quot;", u'"'}}};
    const QString text = decodedUtf8(utf8);
    if (!text.contains(u'&'))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            out += text[i];
            continue;
        }
        const QStringView rest = QStringView(text).sliced(i);
        const auto reference = std::find_if(
            named.begin(), named.end(), [&](const auto &r) { return rest.startsWith(r.first); });
        if (reference != named.end()) {
            out += QChar(reference->second);
            i += reference->first.size() - 1;
        } else if (const auto numeric = characterReferenceAt(rest)) {
            appendCodePoint(out, numeric->code);
            i += numeric->length - 1;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace quillon
