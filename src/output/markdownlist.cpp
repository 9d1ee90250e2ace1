#include "output/markdownlist.h"

#include "links/foldergroups.h"
#include "links/linktable.h"
#include "output/htmlescape.h"
#include "output/listsink.h"
#include "output/textlines.h"
#include "output/writtenlisterrors.h"

namespace quillon {

namespace {

constexpr QByteArrayView headingStart = "## ";
constexpr QByteArrayView linkStart = "- [";
constexpr QByteArrayView textEnd = "](";
constexpr char linkEnd = ')';

bool isAsciiPunctuation(char16_t c)
{
    return (c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
           (c >= 0x7B && c <= 0x7E);
}

bool isControl(char16_t c)
{
    return c < 0x20 || c == 0x7F;
}

QByteArray reference(char16_t c)
{
    return "&#" + QByteArray::number(uint(c)) + ';';
}

QByteArray backslashed(char16_t c)
{
    return QByteArray("\\") + char(c);
}

// Appends text as UTF-8, offering each ASCII character to escape first: what it answers is
// written instead, unless that is empty.
template <typename Escape> void appendEscaped(QByteArray &out, QStringView text, Escape escape)
{
    qsizetype plainFrom = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80)
            continue;
        const QByteArray escaped = escape(i, c);
        if (escaped.isEmpty())
            continue;
        out += text.sliced(plainFrom, i - plainFrom).toUtf8();
        out += escaped;
        plainFrom = i + 1;
    }
    out += text.sliced(plainFrom).toUtf8();
}

// What would end the text or start inline markup: emphasis, code, links, images, raw HTML,
// entities, escapes, and the heading's closing "#" run. "~" is strikethrough in the widespread
// GitHub dialect.
bool needsBackslash(char16_t c)
{
    return QByteArrayView("\\`*_[]<>&!#~").contains(char(c));
}

// Where the characters end that would open a block at a line's start: a bullet, a quote, a
// setext underline, or the "1." / "1)" of an ordered list.
qsizetype blockMarkerEnd(QStringView text)
{
    if (text.startsWith(u'+') || text.startsWith(u'-') || text.startsWith(u'=') ||
        text.startsWith(u'>'))
        return 1;
    qsizetype digits = 0;
    while (digits < text.size() && digits < 10 && text[digits] >= u'0' && text[digits] <= u'9')
        ++digits;
    if (digits > 0 && digits < text.size() && (text[digits] == u'.' || text[digits] == u')'))
        return digits + 1;
    return 0;
}

// Link text or heading text. A renderer drops blanks at a heading's ends, so there they are
// written as references.
void appendText(QByteArray &out, QStringView text, bool heading)
{
    const qsizetype markerEnd = blockMarkerEnd(text);
    qsizetype keepFrom = 0;
    qsizetype keepTo = text.size();
    if (heading) {
        while (keepFrom < text.size() && text[keepFrom] == u' ')
            ++keepFrom;
        while (keepTo > keepFrom && text[keepTo - 1] == u' ')
            --keepTo;
    }
    appendEscaped(out, text, [&](qsizetype i, char16_t c) {
        if (isControl(c) || (c == u' ' && (i < keepFrom || i >= keepTo)))
            return reference(c);
        if (needsBackslash(c) || i == markerEnd - 1)
            return backslashed(c);
        return QByteArray();
    });
}

// A destination with blanks, parentheses or angle brackets goes between "<" and ">", else
// as it is. Backslashes and angle brackets get a backslash. Controls, and blanks at the ends
// (which a renderer trims), are written as references, which a renderer decodes before it
// percent-encodes the address. An ampersand is written as "&amp;", since renderers differ on
// whether "\&" still starts an entity there (cmark decodes it). So every address survives.
void appendDestination(QByteArray &out, QStringView address)
{
    const bool angled = std::any_of(address.begin(), address.end(), [](QChar c) {
        return c == u' ' || c == u'(' || c == u')' || c == u'<' || c == u'>' ||
               isControl(c.unicode());
    });
    if (angled)
        out += '<';
    appendEscaped(out, address, [&](qsizetype i, char16_t c) {
        if (isControl(c) || (c == u' ' && (i == 0 || i == address.size() - 1)))
            return reference(c);
        if (c == u'&')
            return QByteArray("&amp;");
        if (c == u'\\' || c == u'<' || c == u'>')
            return backslashed(c);
        return QByteArray();
    });
    if (angled)
        out += '>';
}

// Undoes appendText and appendDestination: a backslash before ASCII punctuation, "&amp;" and a
// character reference each stand for one character.
QString unescaped(QByteArrayView utf8)
{
    const QString text = decodedUtf8(utf8);
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\' && i + 1 < text.size() && isAsciiPunctuation(text[i + 1].unicode())) {
            out += text[++i];
        } else if (QStringView(text).sliced(i).startsWith(u"&amp;")) {
            out += u'&';
            i += 4;
        } else if (c == u'&') {
            const auto numeric = characterReferenceAt(QStringView(text).sliced(i));
            if (!numeric) {
                out += c;
                continue;
            }
            appendCodePoint(out, numeric->code);
            i += numeric->length - 1;
        } else {
            out += c;
        }
    }
    return out;
}

// Where the text of a link line ends: the first "](" not escaped.
qsizetype textEndIn(QByteArrayView line)
{
    for (qsizetype i = linkStart.size(); i + 1 < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == ']')
            return line.sliced(i).startsWith(textEnd) ? i : -1;
    }
    return -1;
}

} // namespace

void writeMarkdownList(ListSink &out, const LinkTable &table)
{
    bool first = true;
    for (const FolderGroup &group : folderGroups(table)) {
        bool headed = false;
        for (int row = group.firstRow; row < group.endRow; ++row) {
            const LinkRecord &record = table.record(row);
            if (!record.ticked)
                continue;
            if (!headed) {
                if (!first)
                    out += '\n';
                if (!group.folderName.isEmpty()) {
                    out += headingStart;
                    appendText(out.pending(), listedSiteName(group.folderName), true);
                    out += '\n';
                }
                headed = true;
                first = false;
            }
            out += linkStart;
            appendText(out.pending(), listedSiteName(record.siteName), false);
            out += textEnd;
            appendDestination(out.pending(), listedAddress(record.address));
            out += linkEnd;
            out += '\n';
            out.endItem();
        }
    }
}

bool startsMarkdownList(QByteArrayView line)
{
    return line.startsWith(headingStart) || line.startsWith(linkStart);
}

std::optional<std::vector<ListedLink>> readMarkdownList(QByteArrayView text, QString &error)
{
    std::vector<ListedLink> links;
    TextLines lines(text);
    while (lines.next()) {
        const QByteArrayView line = lines.line();
        if (line.isEmpty() || line.startsWith(headingStart))
            continue;
        const qsizetype textAt = textEndIn(line);
        if (!line.startsWith(linkStart) || textAt < 0 || !line.endsWith(linkEnd)) {
            error = writtenListErrors::notALink(lines.number());
            return std::nullopt;
        }
        const qsizetype addressAt = textAt + textEnd.size();
        QByteArrayView address = line.sliced(addressAt, line.size() - 1 - addressAt);
        if (address.startsWith('<') && address.endsWith('>') && address.size() >= 2)
            address = address.sliced(1, address.size() - 2);
        links.push_back({unescaped(address),
                         unescaped(line.sliced(linkStart.size(), textAt - linkStart.size()))});
    }
    return links;
}

} // namespace quillon
