#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>

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
    // Called with each place before it is looked at; false leaves the place out.
    std::function<bool(const QString &place)> beforeLooking;

    bool mayLookAt(const QString &place) const;
    static DriveSources host();
};

// The mount table of the machine, read as text: no mount is asked anything.
QList<MountEntry> hostMountTable();

// The mount table's text (/proc/self/mounts), with its octal escapes undone.
QList<MountEntry> parseMountTable(const QByteArray &table);

// Whether a mount may be a Windows drive: a local volume, or one of WSL's drive mounts.
bool mayHoldWindowsDrive(const MountEntry &entry);

// Whether the folder holds the profiles folder of a Windows installation.
bool holdsWindowsProfiles(const QString &root);

// The root, the mounted volumes (Windows ones labelled as such) and the C: drive of every Wine
// prefix in the usual places. Only a few fixed paths are looked at, and no network mount; a
// local place that hangs still holds it up, so the program runs it in another process
// (see drivesearch.h).
QList<Drive> findDrives(const DriveSources &sources);

// The drives of the machine the program runs on, looked at in this process.
QList<Drive> hostDrives();

// The drive list for scripts: path, TAB, label, one drive a line.
QString formatDriveList(const QList<Drive> &drives);

} // namespace quillon
