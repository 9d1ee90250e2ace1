#include "output/writtenlist.h"

#include "output/bookmarksfile.h"

#include <QFile>
#include <QFileInfo>

namespace quillon {

namespace {

// Undoes the escapes of both writers: the five named or numeric references and any decimal
// or hexadecimal character reference. Anything else stays as it stands.
QString unescaped(QStringView text)
{
    static constexpr std::pair<QStringView, char16_t> named[] = {
        {u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&quot;", u'"'}};
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            out += text[i];
            continue;
        }
        const QStringView rest = text.sliced(i);
        bool done = false;
        for (const auto &[reference, character] : named) {
            if (rest.startsWith(reference)) {
                out += QChar(character);
                i += reference.size() - 1;
                done = true;
                break;
            }
        }
        // A character reference is short: the search for its end stops soon.
        const qsizetype end = rest.first(std::min<qsizetype>(rest.size(), 12)).indexOf(u';');
        if (!done && rest.startsWith(u"&#") && end > 2 && end < 12) {
            const bool hex = rest[2] == u'x' || rest[2] == u'X';
            bool ok = false;
            const uint code =
                rest.sliced(hex ? 3 : 2, end - (hex ? 3 : 2)).toUInt(&ok, hex ? 16 : 10);
            if (ok && code <= 0x10FFFF) {
                out += QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
                i += end;
                done = true;
            }
        }
        if (!done)
            out += text[i];
    }
    return out;
}

// The lines of a text, each without its line end and the blanks around it.
QList<QStringView> linesOf(QStringView text)
{
    QList<QStringView> lines;
    for (QStringView line : text.tokenize(u'\n'))
        lines.append(line.trimmed());
    return lines;
}

QString notALink(qsizetype lineIndex)
{
    return QStringLiteral("line %1 is not a link as Quillon writes it").arg(lineIndex + 1);
}

constexpr QStringView cutOff = u"it ends before its list does";

// The DAT list and the page: one "<LI><A HREF='…' target='_blank'>…</A><BR>" line per link.
std::optional<std::vector<ListedLink>> readHtmlList(const QList<QStringView> &lines, qsizetype from,
                                                    QString &error)
{
    static constexpr QStringView linkStart = u"<LI><A HREF='";
    static constexpr QStringView hrefEnd = u"' target='_blank'>";
    static constexpr QStringView linkEnd = u"</A><BR>";
    std::vector<ListedLink> links;
    for (qsizetype i = from; i < lines.size(); ++i) {
        const QStringView line = lines[i];
        if (line == u"</UL>")
            return links;
        if (!line.startsWith(linkStart))
            continue;
        const QStringView rest = line.sliced(linkStart.size());
        const qsizetype split = rest.indexOf(hrefEnd);
        if (split < 0 || !rest.endsWith(linkEnd)) {
            error = notALink(i);
            return std::nullopt;
        }
        const qsizetype titleAt = split + hrefEnd.size();
        links.push_back({unescaped(rest.first(split)),
                         unescaped(rest.sliced(titleAt, rest.size() - linkEnd.size() - titleAt))});
    }
    error = cutOff.toString();
    return std::nullopt;
}

// The bookmarks file: "<DT><A HREF="…" …>…</A>" lines inside balanced "<DL><p>" lists.
std::optional<std::vector<ListedLink>> readBookmarks(const QList<QStringView> &lines,
                                                     QString &error)
{
    static constexpr QStringView linkStart = u"<DT><A ";
    static constexpr QStringView href = u"HREF=\"";
    static constexpr QStringView linkEnd = u"</A>";
    std::vector<ListedLink> links;
    int depth = 0;
    bool opened = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringView line = lines[i];
        if (line.startsWith(u"<DL>")) {
            ++depth;
            opened = true;
        } else if (line.startsWith(u"</DL>")) {
            if (--depth < 0)
                break;
        } else if (line.startsWith(linkStart)) {
            const qsizetype tagEnd = line.indexOf(u'>', linkStart.size());
            const qsizetype hrefAt = line.first(std::max<qsizetype>(tagEnd, 0)).indexOf(href);
            const qsizetype hrefEnd = hrefAt < 0 ? -1 : line.indexOf(u'"', hrefAt + href.size());
            if (tagEnd < 0 || hrefAt < 0 || hrefEnd < 0 || hrefEnd > tagEnd ||
                !line.endsWith(linkEnd)) {
                error = notALink(i);
                return std::nullopt;
            }
            const qsizetype valueAt = hrefAt + href.size();
            links.push_back(
                {addressOfBookmarkHref(unescaped(line.sliced(valueAt, hrefEnd - valueAt))),
                 unescaped(line.sliced(tagEnd + 1, line.size() - linkEnd.size() - tagEnd - 1))});
        }
    }
    if (!opened || depth != 0) {
        error = depth < 0 ? QStringLiteral("its folders do not nest") : cutOff.toString();
        return std::nullopt;
    }
    return links;
}

} // namespace

std::optional<std::vector<ListedLink>> readWrittenList(QByteArrayView bytes, QString *errorText)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(u'\xFEFF'))
        text.remove(0, 1);
    const QList<QStringView> lines = linesOf(text);
    qsizetype first = 0;
    while (first < lines.size() && lines[first].isEmpty())
        ++first;
    const QStringView head = first < lines.size() ? lines[first] : QStringView();

    QString error;
    std::optional<std::vector<ListedLink>> links;
    if (head == u"<!DOCTYPE NETSCAPE-Bookmark-file-1>") {
        links = readBookmarks(lines.sliced(first), error);
    } else if (head == u"<UL>" || head == u"<HTML>") {
        qsizetype list = first;
        while (list < lines.size() && lines[list] != u"<UL>")
            ++list;
        links = list < lines.size() ? readHtmlList(lines, list + 1, error) : std::nullopt;
        if (list == lines.size())
            error = cutOff.toString();
    } else {
        error = QStringLiteral("it is not a link list that Quillon wrote (a DAT list, a web page "
                               "or a bookmarks file)");
    }
    if (!links && errorText)
        *errorText = error;
    return links;
}

std::optional<std::vector<ListedLink>> loadWrittenList(const QString &path, QString *errorText)
{
    const auto fail = [&](const QString &why) {
        if (errorText)
            *errorText = QStringLiteral("Cannot read the list \"%1\": %2").arg(path, why);
        return std::nullopt;
    };
    const QFileInfo info(path);
    if (info.isDir())
        return fail(QStringLiteral("it is a folder"));
    if (info.exists() && !info.isFile())
        return fail(QStringLiteral("it is not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    const QByteArray bytes = file.read(WrittenListSizeLimit + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    if (bytes.size() > WrittenListSizeLimit)
        return fail(QStringLiteral("it is bigger than any list Quillon writes"));
    QString why;
    auto links = readWrittenList(bytes, &why);
    if (!links)
        return fail(why);
    return links;
}

} // namespace quillon
