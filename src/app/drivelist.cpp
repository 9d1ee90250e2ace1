#include "app/drivelist.h"

#include <QSignalBlocker>

namespace quillon {

DriveList::DriveList(const QList<Drive> &drives, PathSyntax syntax, QWidget *parent)
    : QComboBox(parent)
    , m_syntax(syntax)
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
        const QString root = m_syntax.normalized(itemData(i).toString());
        if (m_syntax.contains(root, path) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    const QSignalBlocker quiet(this);
    setCurrentIndex(best);
}

} // namespace quillon
