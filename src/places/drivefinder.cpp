#include "places/drivefinder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace quillon {

namespace {

const QStringList SystemAreas = {QStringLiteral("/proc"), QStringLiteral("/sys"),
                                 QStringLiteral("/dev"), QStringLiteral("/run")};
// WSL mounts the Windows drives with these; they have no device under /dev.
const QStringList WslTypes = {QStringLiteral("drvfs"), QStringLiteral("9p")};

bool isFolder(const QString &path)
{
    return QFileInfo(path).isDir();
}

QString joined(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

bool isInSystemArea(const QString &mountPoint)
{
    return std::any_of(SystemAreas.begin(), SystemAreas.end(), [&](const QString &area) {
        return mountPoint == area || mountPoint.startsWith(area + u'/');
    });
}

// WSL names its mounts after the drive letter (/mnt/c); a dual-boot partition is almost always
// the system drive.
QString windowsDriveLetter(const QString &mountPoint)
{
    const QString name = mountPoint.section(u'/', -1);
    if (name.size() == 1 && name[0].isLetter() && name[0].unicode() < 0x80)
        return name.toUpper() + u':';
    return QStringLiteral("C:");
}

QString shortened(const QString &path, const QString &home)
{
    if (home.isEmpty() || home == u"/")
        return path;
    if (path == home)
        return QStringLiteral("~");
    if (path.startsWith(home + u'/'))
        return u'~' + path.mid(home.size());
    return path;
}

bool isLocalVolume(const MountEntry &entry)
{
    // Snap packages are squashfs images, not volumes a person would pick.
    return entry.device.startsWith(u"/dev/") && entry.type != u"squashfs";
}

QList<Drive> mountedVolumes(const QList<MountEntry> &mounts, const DriveSources &sources)
{
    // A mount point mounted over keeps only its top mount, the last in the table.
    QList<MountEntry> top;
    for (const MountEntry &entry : mounts) {
        top.removeIf([&](const MountEntry &e) { return e.mountPoint == entry.mountPoint; });
        top.append(entry);
    }
    QList<Drive> drives;
    for (const MountEntry &entry : top) {
        if (entry.mountPoint == u"/" || isInSystemArea(entry.mountPoint) ||
            !mayHoldWindowsDrive(entry) || !sources.mayLookAt(entry.mountPoint))
            continue;
        if (holdsWindowsProfiles(entry.mountPoint)) {
            drives.append({entry.mountPoint,
                           QStringLiteral("%1 (Windows, %2)")
                               .arg(windowsDriveLetter(entry.mountPoint), entry.mountPoint),
                           Drive::Kind::Windows});
        } else if (isLocalVolume(entry)) {
            drives.append({entry.mountPoint, entry.mountPoint, Drive::Kind::Volume});
        }
    }
    std::sort(drives.begin(), drives.end(),
              [](const Drive &a, const Drive &b) { return a.path < b.path; });
    return drives;
}

// The folders that may hold a Wine prefix, in the order they are offered.
QStringList winePrefixCandidates(const DriveSources &sources)
{
    const QString home = sources.homeFolder;
    QStringList prefixes;
    const QString fromEnvironment = sources.environment.value(QStringLiteral("WINEPREFIX"));
    if (QDir::isAbsolutePath(fromEnvironment))
        prefixes << QDir::cleanPath(fromEnvironment);
    prefixes << joined(home, QStringLiteral(".wine"));

    // The XDG rule: an unset or relative XDG_DATA_HOME means ~/.local/share.
    QString dataHome = sources.environment.value(QStringLiteral("XDG_DATA_HOME"));
    if (!QDir::isAbsolutePath(dataHome))
        dataHome = joined(home, QStringLiteral(".local/share"));
    // Where winetricks, Bottles (packaged and Flatpak), PlayOnLinux and CrossOver keep one
    // prefix per folder.
    const QStringList holders = {
        joined(dataHome, QStringLiteral("wineprefixes")),
        joined(dataHome, QStringLiteral("bottles/bottles")),
        joined(home, QStringLiteral(".var/app/com.usebottles.bottles/data/bottles/bottles")),
        joined(home, QStringLiteral(".PlayOnLinux/wineprefix")),
        joined(home, QStringLiteral(".cxoffice")),
    };
    for (const QString &holder : holders) {
        if (!sources.mayLookAt(holder))
            continue;
        const QStringList names =
            QDir(holder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
        for (const QString &name : names)
            prefixes << joined(holder, name);
    }
    return prefixes;
}

QList<Drive> wineDrives(const DriveSources &sources)
{
    QList<Drive> drives;
    QStringList seen;
    for (const QString &prefix : winePrefixCandidates(sources)) {
        const QString driveC = joined(prefix, QStringLiteral("drive_c"));
        if (!sources.mayLookAt(driveC))
            continue;
        const QString identity = QFileInfo(driveC).canonicalFilePath();
        if (identity.isEmpty() || !isFolder(driveC) || seen.contains(identity))
            continue;
        seen << identity;
        drives.append({driveC,
                       QStringLiteral("C: (Wine, %1)").arg(shortened(prefix, sources.homeFolder)),
                       Drive::Kind::Wine});
    }
    return drives;
}

// Undoes the mount table's escapes: space, tab, newline and backslash as \ooo.
QString unescaped(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const auto isOctal = [&](qsizetype at) {
            return at < field.size() && field[at] >= '0' && field[at] <= '7';
        };
        if (field[i] == '\\' && isOctal(i + 1) && isOctal(i + 2) && isOctal(i + 3)) {
            out.append(char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                            (field[i + 3] - '0')));
            i += 3;
        } else {
            out.append(field[i]);
        }
    }
    return QFile::decodeName(out);
}

} // namespace

bool DriveSources::mayLookAt(const QString &place) const
{
    return !beforeLooking || beforeLooking(place);
}

bool mayHoldWindowsDrive(const MountEntry &entry)
{
    // Network mounts are left out: they may be slow to answer.
    return isLocalVolume(entry) || WslTypes.contains(entry.type);
}

bool holdsWindowsProfiles(const QString &root)
{
    return isFolder(joined(root, QStringLiteral("Users"))) ||
           isFolder(joined(root, QStringLiteral("Documents and Settings")));
}

QList<MountEntry> hostMountTable()
{
    // Read as text rather than through QStorageInfo::mountedVolumes(), which asks every
    // volume for its size and so waits on any network mount that is slow to answer.
    QFile table(QStringLiteral("/proc/self/mounts"));
    return table.open(QIODevice::ReadOnly) ? parseMountTable(table.readAll()) : QList<MountEntry>();
}

DriveSources DriveSources::host()
{
    DriveSources sources;
    sources.homeFolder = QDir::homePath();
    for (const char *name : {"WINEPREFIX", "XDG_DATA_HOME"}) {
        if (qEnvironmentVariableIsSet(name))
            sources.environment.insert(QString::fromLatin1(name), qEnvironmentVariable(name));
    }
    sources.mounts = hostMountTable();
    return sources;
}

QList<MountEntry> parseMountTable(const QByteArray &table)
{
    QList<MountEntry> entries;
    for (const QByteArray &line : table.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3)
            continue;
        entries.append({unescaped(fields[0]), unescaped(fields[1]), unescaped(fields[2])});
    }
    return entries;
}

QList<Drive> findDrives(const DriveSources &sources)
{
    QList<Drive> drives = {{QStringLiteral("/"), QStringLiteral("/"), Drive::Kind::Volume}};
    drives << mountedVolumes(sources.mounts, sources) << wineDrives(sources);
    return drives;
}

QList<Drive> hostDrives()
{
#ifdef Q_OS_WIN
    QList<Drive> drives;
    for (const QFileInfo &drive : QDir::drives()) {
        const QString letter = QDir::toNativeSeparators(drive.absoluteFilePath()).left(2);
        drives.append({letter, letter, Drive::Kind::Volume});
    }
    return drives;
#else
    return findDrives(DriveSources::host());
#endif
}

QString formatDriveList(const QList<Drive> &drives)
{
    QString out;
    for (const Drive &drive : drives)
        out += drive.path + u'\t' + drive.label + u'\n';
    return out;
}

} // namespace quillon
