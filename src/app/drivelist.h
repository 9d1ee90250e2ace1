#pragma once

#include "places/drivefinder.h"
#include "places/pathsyntax.h"

#include <QComboBox>

namespace quillon {

// The drives a user would pick, each shown by its label. driveChanged is emitted when the user
// picks another one, not when the list follows the folder list.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    DriveList(const QList<Drive> &drives, PathSyntax syntax, QWidget *parent = nullptr);

    // The chosen drive's path, in a form that FolderList::setPath accepts.
    QString drive() const { return currentData().toString(); }

    // Shows the drive that holds path (the longest drive path it starts with).
    void showDriveOf(const QString &path);

Q_SIGNALS:
    void driveChanged();

private:
    PathSyntax m_syntax;
};

} // namespace quillon
