#include "app/folderdrop.h"

#include "app/folderlist.h"
#include "scan/filesystem.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

namespace quillon {

std::optional<QString> folderOfDrop(const QMimeData *data, const FileSystem &fs,
                                    const FolderList &folders)
{
    if (!data || !data->hasUrls())
        return std::nullopt;
    const QList<QUrl> urls = data->urls();
    const auto local =
        std::find_if(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); });
    if (local == urls.end())
        return std::nullopt;
    const QChar separator = fs.separator();
    QString path = local->toLocalFile();
    if (separator != u'/') {
        // A drive path arrives as "/C:/..." where the host does not know drive letters.
        if (path.size() >= 3 && path[0] == u'/' && path[2] == u':')
            path.remove(0, 1);
        path.replace(u'/', separator);
    }
    path = folders.normalized(path);
    if (fs.isFolder(path))
        return path;
    const qsizetype cut = path.lastIndexOf(separator);
    if (cut < 0)
        return std::nullopt;
    const QString holder = folders.normalized(cut == 0 ? QString(separator) : path.left(cut));
    if (!fs.isFolder(holder))
        return std::nullopt;
    return holder;
}

std::optional<QString> takeFolderDrop(QDropEvent *event, const FileSystem &fs,
                                      const FolderList &folders)
{
    const Qt::DropActions possible = event->possibleActions();
    const Qt::DropAction action = possible & Qt::LinkAction   ? Qt::LinkAction
                                  : possible & Qt::CopyAction ? Qt::CopyAction
                                                              : Qt::IgnoreAction;
    std::optional<QString> folder;
    if (action != Qt::IgnoreAction)
        folder = folderOfDrop(event->mimeData(), fs, folders);
    if (!folder) {
        event->ignore();
        return std::nullopt;
    }
    event->setDropAction(action);
    event->accept();
    return folder;
}

} // namespace quillon
