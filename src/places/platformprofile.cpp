#include "places/platformprofile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace quillon {

namespace {

// Two paths name the same folder on disk. The resolved paths catch links; device and inode
// also catch a bind mount, whose resolved path is its own.
bool isSameFolder(const QString &a, const QString &b)
{
    const QString resolvedA = QFileInfo(a).canonicalFilePath();
    if (resolvedA.isEmpty())
        return false;
    if (resolvedA == QFileInfo(b).canonicalFilePath())
        return true;
#ifdef Q_OS_UNIX
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 && S_ISDIR(first.st_mode) &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
#else
    return false;
#endif
}

// The mount of a Windows drive at exactly this folder, if any; the top one of a mount point
// mounted over.
bool isWindowsDrive(const QString &folder, const QList<MountEntry> &mounts)
{
    const auto top = std::find_if(mounts.rbegin(), mounts.rend(), [&](const MountEntry &entry) {
        return entry.mountPoint == folder;
    });
    return top != mounts.rend() && folder != u"/" && mayHoldWindowsDrive(*top) &&
           holdsWindowsProfiles(folder);
}

bool isWinePrefix(const QString &folder)
{
    return QFileInfo(folder + QStringLiteral("/drive_c")).isDir();
}

// Windows drives, their profiles folders, Wine prefixes, their drive and its profiles folder.
// The folder is taken as it resolves, so a link to one of them (Wine's own dosdevices/c:
// among them) counts as well.
bool isWindowsArea(const QString &folder, const QList<MountEntry> &mounts)
{
    const QString resolved = QFileInfo(folder).canonicalFilePath();
    if (resolved.isEmpty())
        return false;
    const QString name = resolved.section(u'/', -1);
    const QString parent = resolved.section(u'/', 0, -2);
    const QString parentName = parent.section(u'/', -1);
    if (isWinePrefix(resolved) || name == u"drive_c" ||
        (name == u"users" && parentName == u"drive_c"))
        return true;
    if (isWindowsDrive(resolved, mounts))
        return true;
    return (name == u"Users" || name == u"Documents and Settings") &&
           isWindowsDrive(parent.isEmpty() ? QStringLiteral("/") : parent, mounts);
}

} // namespace

bool PlatformProfile::isTooBroad(const QString &folder) const
{
    if (refusedFolders.contains(folder))
        return true;
    if (std::any_of(refusedFolders.begin(), refusedFolders.end(),
                    [&](const QString &refused) { return isSameFolder(folder, refused); }))
        return true;
#ifdef Q_OS_WIN
    return false;
#else
    return isWindowsArea(folder, mounts);
#endif
}

PlatformProfile PlatformProfile::windows()
{
    return {QStringLiteral("C:\\Documents and Settings\\"),
            {QStringLiteral("C:\\"), QStringLiteral("C:\\Documents and Settings")},
            {}};
}

PlatformProfile PlatformProfile::unix(const QList<MountEntry> &mounts)
{
    // The root, and the folder that holds every user's profile.
    return {QStringLiteral("/home/"), {QStringLiteral("/"), QStringLiteral("/home")}, mounts};
}

PlatformProfile PlatformProfile::host()
{
#ifdef Q_OS_WIN
    return windows();
#else
    return unix(hostMountTable());
#endif
}

} // namespace quillon
