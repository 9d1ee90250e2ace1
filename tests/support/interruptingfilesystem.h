#pragma once

#include "scan/filesystem.h"

#include <functional>

namespace quillon::test {

// A file system that runs a step each time the walk lists a folder, as a user's click or drop
// would arrive in the middle of a walk.
class InterruptingFileSystem final : public FileSystem {
public:
    explicit InterruptingFileSystem(const FileSystem &inner)
        : m_inner(inner)
    {}
    std::function<void()> onList;
    QChar separator() const override { return m_inner.separator(); }
    std::optional<QList<DirEntry>> list(const QString &folder) const override
    {
        if (onList)
            onList();
        return m_inner.list(folder);
    }
    std::optional<FileHead> readFile(const QString &path, qint64 maxBytes) const override
    {
        return m_inner.readFile(path, maxBytes);
    }
    bool isFolder(const QString &path) const override { return m_inner.isFolder(path); }

private:
    const FileSystem &m_inner;
};

} // namespace quillon::test
