#include "scan/filesystem.h"

namespace quillon {

OpenFolder::OpenFolder(const FileSystem &fs, QString path, QList<DirEntry> entries)
    : m_fs(fs)
    , m_path(std::move(path))
    , m_entries(std::move(entries))
{
    if (!m_path.endsWith(m_fs.separator()))
        m_path += m_fs.separator();
}

std::optional<QByteArray> OpenFolder::readHead(QStringView name, qint64 maxBytes)
{
    m_filePath.truncate(0);
    m_filePath += m_path;
    m_filePath += name;
    return m_fs.readHead(m_filePath, maxBytes);
}

std::unique_ptr<OpenFolder> FileSystem::openFolder(const QString &folder) const
{
    auto entries = list(folder);
    if (!entries)
        return nullptr;
    return std::make_unique<OpenFolder>(*this, folder, std::move(*entries));
}

} // namespace quillon
