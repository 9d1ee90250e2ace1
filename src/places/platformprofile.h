#pragma once

#include "places/drivefinder.h"

#include <QString>
#include <QStringList>

namespace quillon {

// Where the folder list starts and which folders are too broad to walk.
struct PlatformProfile {
    QString startFolder;
    QStringList refusedFolders;
    // Unix: the mount table, to tell a Windows drive from any other folder.
    QList<MountEntry> mounts;

    // True when the folder's text equals a refused folder exactly (letter case and trailing
    // separator included), or when it resolves to one on disk: through a link, or as a bind
    // mount of it. On Unix also for the root and the profiles folder of a Windows drive and
    // of a Wine prefix, which are as broad as "C:\" and "C:\Documents and Settings", and for
    // the prefix itself. Only the folder and the folders above it are looked at, never other
    // drives: one that hangs cannot hold up a walk elsewhere.
    bool isTooBroad(const QString &folder) const;

    static PlatformProfile windows();
    static PlatformProfile unix(const QList<MountEntry> &mounts = {});
    // The profile of the system the program runs on.
    static PlatformProfile host();
};

} // namespace quillon
