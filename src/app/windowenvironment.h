#pragma once

#include "check/checkrequest.h"
#include "places/drivefinder.h"
#include "places/platformprofile.h"

#include <QStringList>

namespace quillon {

class FileSystem;

// What the window needs of the machine it runs on; tests hand in a file system of their own.
struct WindowEnvironment {
    const FileSystem *fileSystem = nullptr;
    PlatformProfile profile;
    QList<Drive> drives;
    // The folder asked for on the command line; a file there opens the folder that holds it.
    // When empty or unopenable: the folder open last time, else the first Favorites folder on
    // a Wine or Windows drive, else homeFolder, else the root.
    QString initialFolder;
    QString homeFolder;
    // Where the window keeps what it remembers; empty: it remembers for this run only.
    QString settingsFile;
    // How links are checked: limits, proxies (from the environment) and the archive's service.
    LinkCheckSettings linkCheck;

    // This machine, with the drives given; without, the drives are looked at directly, which
    // waits for ever on a hung mount (the program looks at them through a helper instead).
    static WindowEnvironment host(const FileSystem &fs, QList<Drive> drives);
    static WindowEnvironment host(const FileSystem &fs) { return host(fs, hostDrives()); }

    // The folders to try at start-up, in order, given the one open last time. The folder asked
    // for comes first (the folder that holds it, for a file); then the one of last time; then
    // the first Favorites folder of a Wine or Windows drive (users/*/Favorites, letter case
    // ignored as Windows does); then home; then the root.
    QStringList startFolders(const QString &lastOpen) const;
};

} // namespace quillon
