#include "memoryfilesystem.h"

namespace quillon::test {

QString MemoryFileSystem::normalized(const QString &path) const
{
    // Repeated separators count as one, as Windows reads "C:\\A" like "C:\A".
    const QChar separator = m_syntax.separator();
    QString out;
    out.reserve(path.size());
    for (const QChar c : path) {
        if (c == separator && out.endsWith(separator))
            continue;
        out += c;
    }
    return m_syntax.normalized(out);
}

MemoryFileSystem::Node &MemoryFileSystem::addNode(const QString &path, unsigned attributes)
{
    const QString norm = normalized(path);
    const QString k = norm.toUpper();
    const QString parent = m_syntax.parentOf(norm);
    if (!parent.isEmpty() && !m_nodes.contains(parent.toUpper()))
        addFolder(parent);
    if (!m_nodes.contains(k)) {
        if (!parent.isEmpty())
            m_nodes[parent.toUpper()].children.append(k);
        Node node;
        node.name =
            parent.isEmpty() ? norm : norm.sliced(norm.lastIndexOf(m_syntax.separator()) + 1);
        m_nodes.insert(k, node);
    }
    Node &node = m_nodes[k];
    node.attributes = attributes;
    return node;
}

void MemoryFileSystem::addFolder(const QString &path, unsigned attributes)
{
    addNode(path, attributes | Directory);
}

void MemoryFileSystem::addFile(const QString &path, std::optional<QByteArray> content,
                               unsigned attributes)
{
    addNode(path, attributes & ~unsigned(Directory)).content = std::move(content);
}

void MemoryFileSystem::addSpecial(const QString &path)
{
    addNode(path, 0).special = true;
}

void MemoryFileSystem::makeUnlistable(const QString &path)
{
    m_nodes[key(path)].unlistable = true;
}

void MemoryFileSystem::removeContent(const QString &path)
{
    m_nodes[key(path)].content.reset();
}

void MemoryFileSystem::setModifiedAt(const QString &path, qint64 seconds)
{
    m_nodes[key(path)].modifiedAt = seconds;
}

int MemoryFileSystem::listCount(const QString &path) const
{
    const std::lock_guard lock(m_countMutex);
    return m_listCounts.value(key(path));
}

int MemoryFileSystem::readCount(const QString &path) const
{
    const std::lock_guard lock(m_countMutex);
    return m_readCounts.value(key(path));
}

int MemoryFileSystem::totalReads() const
{
    const std::lock_guard lock(m_countMutex);
    int total = 0;
    for (const int n : m_readCounts)
        total += n;
    return total;
}

std::optional<QList<DirEntry>> MemoryFileSystem::list(const QString &folder) const
{
    const QString k = key(folder);
    {
        const std::lock_guard lock(m_countMutex);
        ++m_listCounts[k];
    }
    const auto it = m_nodes.constFind(k);
    if (it == m_nodes.cend() || !(it->attributes & Directory) || it->unlistable)
        return std::nullopt;

    QList<DirEntry> entries;
    if (!m_syntax.isRoot(normalized(folder)))
        entries = {{QStringLiteral("."), EntryKind::Folder},
                   {QStringLiteral(".."), EntryKind::Folder}};
    for (const QString &childKey : it->children) {
        const Node &child = m_nodes[childKey];
        if (child.attributes & (Hidden | System))
            continue;
        EntryKind kind = EntryKind::File;
        if (child.special)
            kind = EntryKind::Other;
        else if (child.attributes & Directory)
            kind = (child.attributes & ReparsePoint) ? EntryKind::FolderLink : EntryKind::Folder;
        entries.append({child.name, kind});
    }
    return entries;
}

std::optional<FileHead> MemoryFileSystem::readFile(const QString &path, qint64 maxBytes) const
{
    const QString k = key(path);
    {
        const std::lock_guard lock(m_countMutex);
        ++m_readCounts[k];
    }
    const auto it = m_nodes.constFind(k);
    if (it == m_nodes.cend() || it->special || (it->attributes & Directory) || !it->content)
        return std::nullopt;
    return FileHead{it->content->left(qsizetype(maxBytes)), it->modifiedAt};
}

bool MemoryFileSystem::isFolder(const QString &path) const
{
    const auto it = m_nodes.constFind(key(path));
    return it != m_nodes.cend() && (it->attributes & Directory);
}

} // namespace quillon::test
