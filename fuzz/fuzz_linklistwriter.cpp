// Arbitrary records through the link list writer, its output read back by a tokenizer of its
// own: pure printable ASCII, every line ends in CR LF, each line is one of the fixed lines,
// every value comes back exactly from its references, and there is one link line per ticked
// record. Since a value can hold neither "<" nor "'", no value can leave its place in the markup.
//
// Input: records separated by 0x1E, fields by 0x1F: flags, folder name, site name, address.
// Flags bits 0-1: ticked null / false / true / true; bit 2: folder name null; bit 3: site
// name null; bit 4: address null; bit 5: the values are UTF-16 (so lone surrogates occur),
// otherwise UTF-8.

#include "links/linktable.h"
#include "output/linklistwriter.h"
#include "require.h"

#include <QBuffer>
#include <QList>

#include <cstdint>

using namespace quillon;
using quillon::fuzz::require;

namespace {

QString valueFrom(QByteArrayView bytes, bool utf16)
{
    if (!utf16)
        return QString::fromUtf8(bytes);
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8));
    return text;
}

LinkTable tableFrom(const QByteArray &input)
{
    LinkTable table;
    for (const QByteArray &record : input.split('\x1e')) {
        const QList<QByteArray> fields = record.split('\x1f');
        const unsigned flags = fields[0].isEmpty() ? 0 : uint8_t(fields[0][0]);
        const bool utf16 = flags & 32;
        const auto field = [&](int index, unsigned nullBit) {
            if (flags & nullBit)
                return QString();
            return valueFrom(
                index < fields.size() ? QByteArrayView(fields[index]) : QByteArrayView(), utf16);
        };
        LinkRecord r;
        if ((flags & 3) != 0)
            r.ticked = (flags & 3) != 1;
        r.folderName = field(1, 4);
        r.siteName = field(2, 8);
        r.address = field(3, 16);
        table.append(std::move(r));
    }
    return table;
}

// The code points of a value as the page must show it: a lone surrogate or a C1 control
// becomes U+FFFD.
QList<char32_t> codePoints(const QString &text)
{
    QList<char32_t> points;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            points.append(QChar::surrogateToUcs4(unit, text[i + 1].unicode()));
            ++i;
        } else {
            const bool c1Control = unit >= 0x80 && unit <= 0x9F;
            points.append(QChar::isSurrogate(unit) || c1Control ? char32_t(0xFFFD)
                                                                : char32_t(unit));
        }
    }
    return points;
}

// Reads a value back from its references; fails on any character a value may not hold.
QList<char32_t> decodeValue(QByteArrayView text)
{
    QList<char32_t> points;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        require(c != '<' && c != '>' && c != '\'' && c != '"', "markup character in a value");
        if (c != '&') {
            points.append(char32_t(c));
            continue;
        }
        const qsizetype end = text.indexOf(';', i);
        require(end > i, "unterminated reference");
        const QByteArrayView name = text.sliced(i + 1, end - i - 1);
        if (name == "amp") {
            points.append(U'&');
        } else if (name == "lt") {
            points.append(U'<');
        } else if (name == "gt") {
            points.append(U'>');
        } else if (name == "quot") {
            points.append(U'"');
        } else {
            require(name.size() > 1 && name[0] == '#', "unknown reference");
            bool ok = false;
            const uint code = name.sliced(1).toByteArray().toUInt(&ok, 10);
            require(ok && code <= 0x10FFFF && !QChar::isSurrogate(code), "bad numeric reference");
            require(code < 0x20 || code >= 0x7F || code == '\'', "needless reference");
            points.append(char32_t(code));
        }
        i = end;
    }
    return points;
}

// Splits the output into lines, requiring CR LF after each and printable ASCII within.
QList<QByteArrayView> linesOf(const QByteArray &out)
{
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const auto c = uint8_t(out[i]);
        if (c == '\r') {
            require(i + 1 < out.size() && out[i + 1] == '\n', "CR without LF");
            lines.append(QByteArrayView(out).sliced(start, i - start));
            start = ++i + 1;
            continue;
        }
        require(c >= 0x20 && c < 0x7F, "byte outside printable ASCII");
    }
    require(start == out.size(), "last line without CR LF");
    return lines;
}

// Reads lines in order, each either a given fixed line or one with values between fixed parts.
class Reader {
public:
    explicit Reader(QList<QByteArrayView> lines)
        : m_lines(std::move(lines))
    {}

    bool atEnd() const { return m_next == m_lines.size(); }

    void expect(QByteArrayView fixed)
    {
        require(!atEnd() && m_lines[m_next] == fixed, "fixed line missing");
        ++m_next;
    }

    // A line of the shape parts[0] value parts[1] value ... parts[n]; values end at the next
    // "'" or "<", which a value can never hold.
    QList<QList<char32_t>> expectValues(const QList<QByteArrayView> &parts)
    {
        require(!atEnd(), "line missing");
        QByteArrayView line = m_lines[m_next++];
        QList<QList<char32_t>> values;
        for (qsizetype p = 0; p < parts.size(); ++p) {
            require(line.startsWith(parts[p]), "fixed part missing");
            line = line.sliced(parts[p].size());
            if (p + 1 == parts.size())
                break;
            qsizetype end = 0;
            while (end < line.size() && line[end] != '\'' && line[end] != '<')
                ++end;
            values.append(decodeValue(line.first(end)));
            line = line.sliced(end);
        }
        require(line.isEmpty(), "text after the last fixed part");
        return values;
    }

private:
    QList<QByteArrayView> m_lines;
    qsizetype m_next = 0;
};

void checkOutput(const LinkTable &table, OutputKind kind, const QByteArray &out)
{
    if (table.recordCount() == 0) {
        require(out.isEmpty(), "output for an empty table");
        return;
    }
    Reader reader(linesOf(out));
    const bool html = kind == OutputKind::Html;
    if (html) {
        for (const char *line : {"<HTML>", "<HEAD>", "<TITLE>Links</TITLE>", "</HEAD>", "<BODY>"})
            reader.expect(line);
    }
    reader.expect("<UL> ");
    // A folder's name waits for the folder's first ticked record.
    std::optional<QString> pendingHeading;
    for (const LinkRecord &record : table.records()) {
        if (record.opensFolderGroup())
            pendingHeading = record.folderName;
        if (!record.ticked)
            continue;
        if (pendingHeading) {
            reader.expect("<BR>");
            const auto heading = reader.expectValues({"<FONT SIZE='+1'><U><B>", "</B></U></FONT>"});
            require(heading[0] == codePoints(*pendingHeading), "folder name changed");
            reader.expect("<BR>");
            pendingHeading.reset();
        }
        const auto link = reader.expectValues({"<LI><A HREF='", "' target='_blank'>", "</A><BR>"});
        require(link[0] == codePoints(record.address), "address changed");
        require(link[1] == codePoints(record.siteName), "site name changed");
    }
    reader.expect("</UL> ");
    if (html) {
        reader.expect("</BODY>");
        reader.expect("</HTML>");
    }
    require(reader.atEnd(), "lines after the end");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const LinkTable table = input.isEmpty() ? LinkTable() : tableFrom(input);
    for (const OutputKind kind : {OutputKind::Dat, OutputKind::Html}) {
        const QByteArray out = linkListBytes(table, kind);
        checkOutput(table, kind, out);

        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        require(writeLinkList(buffer, table, kind), "writing to memory failed");
        require(buffer.data() == out, "written bytes differ");
    }
    return 0;
}
