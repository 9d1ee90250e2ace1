#include "scan/filesystem.h"

namespace quillon {

namespace {

// A folder named by its path: every entry is reached through the file system's whole-path calls.
class PathFolder final : public OpenFolder {
public:
    PathFolder(const FileSystem &fs, QString path)
        : m_fs(fs)
        , m_path(std::move(path))
    {
        if (!m_path.endsWith(m_fs.separator()))
            m_path += m_fs.separator();
    }

    std::optional<QList<DirEntry>> list() const override { return m_fs.list(m_path); }

    std::unique_ptr<OpenFolder> openFolder(QStringView name) const override
    {
        return std::make_unique<PathFolder>(m_fs, m_path + name.toString());
    }

    std::optional<FileHead> readFile(const DirEntry &entry, qint64 maxBytes,
                                     QByteArray &) const override
    {
        return m_fs.readFile(m_path + entry.name, maxBytes);
    }

private:
    const FileSystem &m_fs;
    QString m_path; // ends in the separator
};

} // namespace

std::unique_ptr<OpenFolder> FileSystem::openFolder(const QString &folder) const
{
    return std::make_unique<PathFolder>(*this, folder);
}

} // namespace quillon
