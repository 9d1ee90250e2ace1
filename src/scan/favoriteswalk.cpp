#include "scan/favoriteswalk.h"

#include "links/linktable.h"
#include "links/scriptaddress.h"
#include "scan/filesystem.h"
#include "scan/shortcutfile.h"
#include "scan/shortcutreader.h"

#include <deque>

namespace quillon {

namespace {
constexpr int ShortcutsBetweenReports = 256;
}

WalkResult walkFavorites(const FileSystem &fs, const QString &startFolder, qsizetype prefixLength,
                         LinkTable &table, const WalkProgressCallback &progress)
{
    const QChar separator = fs.separator();

    WalkResult result;
    WalkProgress &counts = result.progress;
    const auto report = [&]() {
        if (progress && !progress(counts))
            result.stopped = true;
        return !result.stopped;
    };

    QString start = startFolder;
    if (!start.endsWith(separator))
        start += separator;

    std::deque<QString> pending{start};
    QString lastFolderName;
    while (!pending.empty()) {
        const QString current = std::move(pending.front());
        pending.pop_front();

        const std::unique_ptr<OpenFolder> folder = fs.openFolder(current);
        if (!folder) {
            ++counts.foldersSkipped;
            if (!report())
                return result;
            continue;
        }
        ++counts.foldersListed;

        // Every record of this folder shares the one folder name; only the first carries it.
        const QString folderName =
            current.size() > prefixLength ? current.sliced(prefixLength).chopped(1) : QString();

        for (DirEntry &entry : folder->entries()) {
            if (entry.name == u"." || entry.name == u"..")
                continue;
            if (entry.kind == EntryKind::Folder) {
                pending.push_back(current + entry.name + separator);
                continue;
            }
            if (entry.kind == EntryKind::FolderLink)
                continue;
            const std::optional<ShortcutFormat> format = shortcutFormatOf(entry.name);
            if (!format)
                continue;
            const ShortcutContent content =
                readShortcutContent(*format, entry.kind == EntryKind::File
                                                 ? folder->readHead(entry.name, ShortcutReadLimit)
                                                 : std::nullopt);
            if (!content.isLink)
                continue;

            LinkRecord record;
            if (!folderName.isEmpty() && folderName != lastFolderName) {
                record.FolderName = folderName;
                lastFolderName = folderName;
            }
            // Script links are never published by accident: they start unticked.
            record.Selected = !isScriptAddress(content.address);
            record.URL = content.address;
            record.modifiedAt = content.modifiedAt;
            record.SiteName = siteNameOf(std::move(entry.name), *format, content);
            table.append(std::move(record));

            if (++counts.shortcutsFound % ShortcutsBetweenReports == 0 && !report())
                return result;
        }
        if (!report())
            return result;
    }
    return result;
}

} // namespace quillon
