#include "app/drivelist.h"

#include <QSignalBlocker>

namespace quillon {

DriveList::DriveList(const QList<Drive> &drives, QWidget *parent)
    : QComboBox(parent)
{
    for (const Drive &drive : drives) {
        addItem(drive.label, drive.path);
        setItemData(count() - 1, drive.path, Qt::ToolTipRole);
    }
    connect(this, &QComboBox::currentIndexChanged, this, &DriveList::driveChanged);
}

void DriveList::showDriveOf(const QString &path)
{
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        QString root = itemData(i).toString();
        if (root.size() == 2 && root[1] == u':')
            root += u'\\';
        const bool contains = path.startsWith(root, Qt::CaseInsensitive) &&
                              (path.size() == root.size() || root.endsWith(u'/') ||
                               root.endsWith(u'\\') || path[root.size()] == u'/');
        if (contains && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    const QSignalBlocker quiet(this);
    setCurrentIndex(best);
}

} // namespace quillon
