#include "app/folderdrop.h"

#include "places/pathsyntax.h"
#include "scan/filesystem.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

namespace quillon {

std::optional<QString> folderOfDrop(const QMimeData *data, const FileSystem &fs)
{
    if (!data || !data->hasUrls())
        return std::nullopt;
    const QList<QUrl> urls = data->urls();
    const auto local =
        std::find_if(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); });
    if (local == urls.end())
        return std::nullopt;
    const PathSyntax syntax(fs.separator());
    const QString path = syntax.normalized(syntax.fromLocalFile(local->toLocalFile()));
    if (fs.isFolder(path))
        return path;
    const QString holder = syntax.parentOf(path);
    if (holder.isEmpty() || !fs.isFolder(holder))
        return std::nullopt;
    return holder;
}

std::optional<QString> takeFolderDrop(QDropEvent *event, const FileSystem &fs)
{
    const Qt::DropActions possible = event->possibleActions();
    const Qt::DropAction action = possible & Qt::LinkAction   ? Qt::LinkAction
                                  : possible & Qt::CopyAction ? Qt::CopyAction
                                                              : Qt::IgnoreAction;
    std::optional<QString> folder;
    if (action != Qt::IgnoreAction)
        folder = folderOfDrop(event->mimeData(), fs);
    if (!folder) {
        event->ignore();
        return std::nullopt;
    }
    event->setDropAction(action);
    event->accept();
    return folder;
}

} // namespace quillon
