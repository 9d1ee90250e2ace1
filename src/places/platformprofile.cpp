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

} // namespace

bool PlatformProfile::isTooBroad(const QString &folder) const
{
    if (refusedFolders.contains(folder))
        return true;
    return std::any_of(refusedFolders.begin(), refusedFolders.end(),
                       [&](const QString &refused) { return isSameFolder(folder, refused); });
}

void PlatformProfile::refuseWindowsDrives(const QList<Drive> &drives)
{
    for (const Drive &drive : drives) {
        QStringList names;
        if (drive.kind == Drive::Kind::Windows)
            names = {QStringLiteral("Users"), QStringLiteral("Documents and Settings")};
        else if (drive.kind == Drive::Kind::Wine)
            names = {QStringLiteral("users")};
        else
            continue;
        refusedFolders << drive.path;
        for (const QString &name : names)
            refusedFolders << drive.path + u'/' + name;
        // The Wine prefix holds its C: drive and nothing a person keeps favorites in.
        if (drive.kind == Drive::Kind::Wine)
            refusedFolders << drive.path.section(u'/', 0, -2);
    }
}

PlatformProfile PlatformProfile::windows()
{
    return {QStringLiteral("C:\\Documents and Settings\\"),
            {QStringLiteral("C:\\"), QStringLiteral("C:\\Documents and Settings")}};
}

PlatformProfile PlatformProfile::unix()
{
    // The root, and the folder that holds every user's profile.
    return {QStringLiteral("/home/"), {QStringLiteral("/"), QStringLiteral("/home")}};
}

PlatformProfile PlatformProfile::host(const QList<Drive> &drives)
{
#ifdef Q_OS_WIN
    Q_UNUSED(drives);
    return windows();
#else
    PlatformProfile profile = unix();
    profile.refuseWindowsDrives(drives);
    return profile;
#endif
}

PlatformProfile PlatformProfile::host()
{
    return host(hostDrives());
}

} // namespace quillon
