#pragma once

#include "scan/pathsyntax.h"

#include <QComboBox>

namespace quillon {

// The drives (mounted volumes) a user would pick. driveChanged is emitted when the user picks
// another one, not when the list follows the folder list.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    DriveList(const QStringList &drives, PathSyntax syntax, QWidget *parent = nullptr);

    // The chosen drive, in a form that FolderList::setPath accepts.
    QString drive() const { return currentText(); }

    // Shows the drive that holds path (the longest drive root it starts with).
    void showDriveOf(const QString &path);

    // The volumes of this machine: the root and real mounted file systems, not /proc, /sys,
    // /dev or /run.
    static QStringList hostDrives();

Q_SIGNALS:
    void driveChanged();

private:
    PathSyntax m_syntax;
};

} // namespace quillon
