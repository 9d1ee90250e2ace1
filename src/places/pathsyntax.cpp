#include "places/pathsyntax.h"

namespace quillon {

QString PathSyntax::driveOf(const QString &path) const
{
    if (hasDrives() && path.size() >= 2 && path[1] == u':' && path[0].isLetter() &&
        (path.size() == 2 || path[2] == m_separator))
        return path.left(2);
    return {};
}

bool PathSyntax::isRoot(const QString &path) const
{
    return path == QString(m_separator) || (path.size() == 3 && !driveOf(path).isEmpty());
}

QString PathSyntax::fallbackRoot() const
{
    return hasDrives() ? QStringLiteral("C:") + m_separator : QString(m_separator);
}

QString PathSyntax::normalized(const QString &path) const
{
    QString out = path;
    if (out.size() == 2 && !driveOf(out).isEmpty())
        out += m_separator;
    while (out.size() > 1 && out.endsWith(m_separator) && !isRoot(out))
        out.chop(1);
    return out;
}

QString PathSyntax::joined(const QString &folder, const QString &name) const
{
    return folder.endsWith(m_separator) ? folder + name : folder + m_separator + name;
}

QString PathSyntax::parentOf(const QString &path) const
{
    const qsizetype cut = path.lastIndexOf(m_separator);
    if (cut < 0 || isRoot(path))
        return {};
    return normalized(path.left(cut + 1));
}

bool PathSyntax::contains(const QString &folder, const QString &path) const
{
    const QString root = normalized(folder);
    const Qt::CaseSensitivity cs = hasDrives() ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (!path.startsWith(root, cs))
        return false;
    return path.size() == root.size() || root.endsWith(m_separator) ||
           path[root.size()] == m_separator;
}

QString PathSyntax::fromLocalFile(const QString &localFile) const
{
    if (m_separator == u'/')
        return localFile;
    QString path = localFile;
    // A drive path arrives as "/C:/..." where the host does not know drive letters.
    if (path.size() >= 3 && path[0] == u'/' && path[2] == u':')
        path.remove(0, 1);
    path.replace(u'/', m_separator);
    return path;
}

} // namespace quillon
