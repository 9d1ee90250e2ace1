#include "cli/exclusions.h"

#include "links/foldergroups.h"
#include "links/linktable.h"
#include "scan/filenamecodec.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace quillon {

std::optional<QStringList> readPatternFile(const QString &path, QString *errorText)
{
    const auto fail = [&](const QString &why) {
        if (errorText)
            *errorText = QStringLiteral("cannot read the pattern file \"%1\": %2").arg(path, why);
        return std::nullopt;
    };
    if (!qtOpensExactly(path))
        return fail(QStringLiteral("its name is not UTF-8"));
    // Only a regular file, so that a FIFO without a writer cannot block the run and a device
    // cannot feed it without end.
    const QFileInfo info(path);
    if (info.isDir())
        return fail(QStringLiteral("it is a folder"));
    if (info.exists() && !info.isFile())
        return fail(QStringLiteral("it is not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    const QByteArray bytes = file.read(PatternFileSizeLimit + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    if (bytes.size() > PatternFileSizeLimit)
        return fail(QStringLiteral("it is bigger than %1 MiB").arg(PatternFileSizeLimit >> 20));
    QStringList patterns;
    // Decoded as file names are, so a byte that is not UTF-8 matches only itself.
    for (QString line : decodeFileName(bytes).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        patterns.append(line);
    }
    return patterns;
}

int untickMatching(LinkTable &table, const QStringList &patterns, QChar separator)
{
    if (patterns.isEmpty())
        return 0;
    std::vector<WildcardPattern> compiled;
    compiled.reserve(size_t(patterns.size()));
    for (const QString &pattern : patterns)
        compiled.emplace_back(pattern);
    int unticked = 0;
    for (const FolderGroup &group : folderGroups(table)) {
        const QString folder =
            group.folderName.isEmpty() ? QString() : group.folderName + separator;
        for (int row = group.firstRow; row < group.endRow; ++row) {
            if (!table.record(row).ticked)
                continue;
            const QString path = folder + table.record(row).siteName;
            if (std::any_of(compiled.begin(), compiled.end(),
                            [&](const WildcardPattern &p) { return p.matches(path); })) {
                table.setTicked(row, false);
                ++unticked;
            }
        }
    }
    return unticked;
}

} // namespace quillon
