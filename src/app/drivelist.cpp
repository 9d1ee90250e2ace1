#include "app/drivelist.h"

#include <QDir>

#include <QSignalBlocker>
#include <QStorageInfo>
#include <algorithm>

namespace quillon {

DriveList::DriveList(const QStringList &drives, PathSyntax syntax, QWidget *parent)
    : QComboBox(parent)
    , m_syntax(syntax)
{
    addItems(drives);
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::driveChanged);
}

void DriveList::showDriveOf(const QString &path)
{
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = m_syntax.normalized(itemText(i));
        if (m_syntax.contains(root, path) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    const QSignalBlocker quiet(this);
    setCurrentIndex(best);
}

QStringList DriveList::hostDrives()
{
    QStringList drives;
#ifdef Q_OS_WIN
    for (const QFileInfo &drive : QDir::drives())
        drives << QDir::toNativeSeparators(drive.absoluteFilePath()).left(2);
#else
    drives << QStringLiteral("/");
    const QStringList systemAreas = {QStringLiteral("/proc"), QStringLiteral("/sys"),
                                     QStringLiteral("/dev"), QStringLiteral("/run")};
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!volume.isValid() || !volume.isReady() || root == u"/" || drives.contains(root))
            continue;
        const bool isSystemArea =
            std::any_of(systemAreas.begin(), systemAreas.end(), [&](const QString &area) {
                return root == area || root.startsWith(area + u'/');
            });
        // Real volumes sit on a block device; pseudo and memory file systems do not.
        if (!isSystemArea && volume.device().startsWith("/dev/"))
            drives << root;
    }
    std::sort(drives.begin() + 1, drives.end());
#endif
    return drives;
}

} // namespace quillon
