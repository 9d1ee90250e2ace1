#pragma once

#include <QString>
#include <QStringList>

namespace quillon {

// Where the folder list starts and which folders are too broad to walk. The refusal compares
// exactly, letter case and trailing separator included.
struct PlatformProfile {
    QString startFolder;
    QStringList refusedFolders;

    bool isTooBroad(const QString &folder) const { return refusedFolders.contains(folder); }

    static PlatformProfile windows();
    static PlatformProfile unix();
    // The profile of the system the program runs on.
    static PlatformProfile host();
};

} // namespace quillon
