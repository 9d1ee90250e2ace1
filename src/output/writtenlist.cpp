#include "output/writtenlist.h"

#include "output/bookmarksfile.h"
#include "output/csvlist.h"
#include "output/jsonlist.h"
#include "output/markdownlist.h"
#include "output/pagelist.h"
#include "output/textlines.h"

#include <QFile>
#include <QFileInfo>

namespace quillon {

namespace {

// Every list Quillon writes starts on its first line; a few blank lines put in front by hand
// are forgiven, but no more than this many bytes of them, so that what is no list is refused
// after a glance at its start, however big it is.
constexpr qsizetype HeadSearchLimit = 64 * 1024;

using ListReader = std::optional<std::vector<ListedLink>> (*)(QByteArrayView, QString &);

struct ListStart {
    ListReader read = nullptr;
    qsizetype headAt = 0; // where the list's first line starts
};

QByteArrayView withoutByteOrderMark(QByteArrayView bytes)
{
    return bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
}

// The reader for the kind of list whose start bytes holds; none when it is no list at all.
std::optional<ListStart> listStart(QByteArrayView bytes)
{
    TextLines lines(bytes.first(std::min(bytes.size(), HeadSearchLimit)));
    lines.next();
    const QByteArrayView head = lines.line();
    // The page reader looks for its list from the file's first line on.
    if (startsPageList(head))
        return ListStart{readPageList, 0};
    using Starts = bool (*)(QByteArrayView);
    static constexpr std::pair<Starts, ListReader> kinds[] = {
        {startsBookmarksFile, readBookmarksFile},
        {startsCsvList, readCsvList},
        {startsJsonList, readJsonList},
        {startsMarkdownList, readMarkdownList}};
    for (const auto &[starts, read] : kinds) {
        if (starts(head))
            return ListStart{read, lines.lineStart()};
    }
    return std::nullopt;
}

QString notAList()
{
    return QStringLiteral("it is not a link list that Quillon wrote (a DAT list, a web page, a "
                          "bookmarks file, Markdown, JSON or CSV)");
}

} // namespace

std::optional<std::vector<ListedLink>> readWrittenList(QByteArrayView bytes, QString *errorText)
{
    bytes = withoutByteOrderMark(bytes);
    // An empty folder is written as an empty list, with no bytes in the kinds without a header.
    if (bytes.isEmpty())
        return std::vector<ListedLink>();
    QString error = notAList();
    std::optional<std::vector<ListedLink>> links;
    if (const std::optional<ListStart> start = listStart(bytes))
        links = start->read(bytes.sliced(start->headAt), error);
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
    // What is no list is refused on its start alone, before the rest is read.
    QByteArray bytes = file.read(HeadSearchLimit);
    if (const QByteArrayView start = withoutByteOrderMark(bytes);
        !start.isEmpty() && !listStart(start))
        return fail(notAList());
    // The rest in chunks into room for the whole file, so no copy of it is ever made.
    bytes.reserve(qsizetype(std::min(file.size(), WrittenListSizeLimit) + 1));
    while (!file.atEnd() && bytes.size() <= WrittenListSizeLimit &&
           file.error() == QFileDevice::NoError)
        bytes += file.read(1024 * 1024);
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
