#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

namespace quillon {

// A place the drive list offers: where it is, and how a person recognises it.
struct Drive {
    enum class Kind { Volume, Windows, Wine };

    QString path;
    QString label;
    Kind kind = Kind::Volume;

    bool operator==(const Drive &) const = default;
};

// One line of the mount table.
struct MountEntry {
    QString device;
    QString mountPoint;
    QString type;
};

// What drive finding reads from the machine, so tests can hand in a home and mounts of their
// own.
struct DriveSources {
    QString homeFolder;
    QHash<QString, QString> environment; // only WINEPREFIX and XDG_DATA_HOME are read
    QList<MountEntry> mounts;

    static DriveSources host();
};

// The mount table's text (/proc/self/mounts), with its octal escapes undone.
QList<MountEntry> parseMountTable(const QByteArray &table);

// The root, the mounted volumes (Windows ones labelled as such) and the C: drive of every Wine
// prefix in the usual places. Only a few fixed paths are looked at, so a slow network mount
// cannot hold it up.
QList<Drive> findDrives(const DriveSources &sources);

// The drives of the machine the program runs on.
QList<Drive> hostDrives();

// The drive list for scripts: path, TAB, label, one drive a line.
QString formatDriveList(const QList<Drive> &drives);

} // namespace quillon
