#include "output/pagelist.h"

#include "links/foldergroups.h"
#include "links/linktable.h"
#include "output/htmlescape.h"
#include "output/listsink.h"
#include "output/textlines.h"
#include "output/writtenlisterrors.h"

namespace quillon {

namespace {

// The lines as written, without their CR LF; the reader matches them without the blanks
// around them.
constexpr QByteArrayView pageStart[] = {"<HTML>", "<HEAD>", "<TITLE>Links</TITLE>", "</HEAD>",
                                        "<BODY>"};
constexpr QByteArrayView pageEnd[] = {"</BODY>", "</HTML>"};
constexpr QByteArrayView listStart = "<UL> ";
constexpr QByteArrayView listEnd = "</UL> ";
constexpr QByteArrayView headingStart = "<BR>\r\n<FONT SIZE='+1'><U><B>";
constexpr QByteArrayView headingEnd = "</B></U></FONT>\r\n<BR>";
constexpr QByteArrayView linkStart = "<LI><A HREF='";
constexpr QByteArrayView hrefEnd = "' target='_blank'>";
constexpr QByteArrayView linkEnd = "</A><BR>";
constexpr QByteArrayView lineEnd = "\r\n";

void appendEscaped(ListSink &out, QStringView value)
{
    appendHtmlEscaped(out.pending(), value, HtmlCharset::Ascii);
}

} // namespace

void writePageList(ListSink &out, const LinkTable &table, bool wholePage)
{
    if (table.recordCount() == 0)
        return;
    if (wholePage)
        for (const QByteArrayView line : pageStart)
            out += line, out += lineEnd;
    out += listStart, out += lineEnd;
    for (const FolderGroup &group : folderGroups(table)) {
        // The heading goes with the group's first ticked record, not with the record that
        // carries the name: unticking that one must not move its folder's links under the
        // previous heading. A group with nothing ticked gets no heading.
        bool headed = group.folderName.isEmpty();
        for (int row = group.firstRow; row < group.endRow; ++row) {
            const LinkRecord &record = table.record(row);
            if (!record.ticked)
                continue;
            if (!headed) {
                out += headingStart;
                appendEscaped(out, group.folderName);
                out += headingEnd, out += lineEnd;
                headed = true;
            }
            out += linkStart;
            appendEscaped(out, record.address);
            out += hrefEnd;
            appendEscaped(out, record.siteName);
            out += linkEnd, out += lineEnd;
            out.endItem();
        }
    }
    out += listEnd, out += lineEnd;
    if (wholePage)
        for (const QByteArrayView line : pageEnd)
            out += line, out += lineEnd;
}

bool startsPageList(QByteArrayView line)
{
    return line == listStart.trimmed() || line == pageStart[0];
}

std::optional<std::vector<ListedLink>> readPageList(QByteArrayView text, QString &error)
{
    TextLines lines(text);
    bool inList = false;
    std::vector<ListedLink> links;
    while (lines.next()) {
        const QByteArrayView line = lines.line();
        if (!inList) {
            inList = line == listStart.trimmed();
            continue;
        }
        if (line == listEnd.trimmed())
            return links;
        if (!line.startsWith(linkStart))
            continue;
        const QByteArrayView rest = line.sliced(linkStart.size());
        const qsizetype split = rest.indexOf(hrefEnd);
        if (split < 0 || !rest.endsWith(linkEnd)) {
            error = writtenListErrors::notALink(lines.number());
            return std::nullopt;
        }
        const qsizetype titleAt = split + hrefEnd.size();
        links.push_back(
            {htmlUnescaped(rest.first(split)),
             htmlUnescaped(rest.sliced(titleAt, rest.size() - linkEnd.size() - titleAt))});
    }
    error = writtenListErrors::cutOff();
    return std::nullopt;
}

} // namespace quillon
