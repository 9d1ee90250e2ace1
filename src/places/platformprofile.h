#pragma once

#include "places/drivefinder.h"

#include <QString>
#include <QStringList>

namespace quillon {

// Where the folder list starts and which folders are too broad to walk.
struct PlatformProfile {
    QString startFolder;
    QStringList refusedFolders;

    // True when the folder's text equals a refused folder exactly (letter case and trailing
    // separator included), or when it resolves to one on disk: through a link, or as a bind
    // mount of it.
    bool isTooBroad(const QString &folder) const;

    // Refuses the root and the profiles folder of every Windows drive and Wine prefix, which
    // are as broad as "C:\" and "C:\Documents and Settings".
    void refuseWindowsDrives(const QList<Drive> &drives);

    static PlatformProfile windows();
    static PlatformProfile unix();
    // The profile of the system the program runs on, with these drives (by default, the
    // drives found on it).
    static PlatformProfile host(const QList<Drive> &drives);
    static PlatformProfile host();
};

} // namespace quillon
