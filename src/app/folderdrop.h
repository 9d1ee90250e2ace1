#pragma once

#include <QString>

#include <optional>

class QDropEvent;
class QMimeData;

namespace quillon {

class FileSystem;

// The folder a drop from a file manager opens: a dropped folder itself, or the folder that holds
// a dropped file. Only the first local file counts.
std::optional<QString> folderOfDrop(const QMimeData *data, const FileSystem &fs);

// Accepts a drag or drop event that carries a folder to open, as a link or a copy only, so that
// the file manager never removes what was dropped; ignores any other.
std::optional<QString> takeFolderDrop(QDropEvent *event, const FileSystem &fs);

} // namespace quillon
