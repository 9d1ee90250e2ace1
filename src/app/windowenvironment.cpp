#include "app/windowenvironment.h"

#include "app/windowsettings.h"

#include "places/pathsyntax.h"
#include "scan/filesystem.h"

#include <QDir>

#include <algorithm>

namespace quillon {

namespace {

// The sub-folders of folder named name without regard to ASCII case, in listing order.
QStringList subfoldersNamed(const FileSystem &fs, const QString &folder, const QString &name)
{
    QStringList found;
    const PathSyntax syntax(fs.separator());
    for (const DirEntry &entry : fs.list(folder).value_or(QList<DirEntry>())) {
        if (entry.kind == EntryKind::Folder &&
            (name.isEmpty() || entry.name.compare(name, Qt::CaseInsensitive) == 0))
            found << syntax.joined(folder, entry.name);
    }
    return found;
}

QString firstFavoritesFolder(const FileSystem &fs, const QList<Drive> &drives)
{
    for (const Drive &drive : drives) {
        if (drive.kind == Drive::Kind::Volume)
            continue;
        for (const QString &users : subfoldersNamed(fs, drive.path, QStringLiteral("users"))) {
            QStringList people = subfoldersNamed(fs, users, QString());
            people.sort(Qt::CaseInsensitive);
            for (const QString &person : std::as_const(people)) {
                const QStringList favorites =
                    subfoldersNamed(fs, person, QStringLiteral("Favorites"));
                if (!favorites.isEmpty())
                    return favorites.first();
            }
        }
    }
    return {};
}

} // namespace

WindowEnvironment WindowEnvironment::host(const FileSystem &fs, QList<Drive> drives)
{
    WindowEnvironment env;
    env.fileSystem = &fs;
    env.drives = std::move(drives);
    env.profile = PlatformProfile::host();
    env.homeFolder = QDir::toNativeSeparators(QDir::homePath());
    env.settingsFile = WindowSettings::userFile();
    return env;
}

QStringList WindowEnvironment::startFolders(const QString &lastOpen) const
{
    const PathSyntax syntax(fileSystem->separator());
    QString asked = syntax.normalized(initialFolder);
    if (!asked.isEmpty() && !fileSystem->isFolder(asked) && fileSystem->readFile(asked, 0))
        asked = syntax.parentOf(asked);
    QStringList folders = {asked, lastOpen};
    folders.removeAll(QString());
    // The drives are looked at only on a first run, or when the folder of last time is gone.
    if (std::none_of(folders.begin(), folders.end(),
                     [this](const QString &folder) { return fileSystem->isFolder(folder); }))
        folders << firstFavoritesFolder(*fileSystem, drives);
    folders << homeFolder << syntax.fallbackRoot();
    folders.removeAll(QString());
    return folders;
}

} // namespace quillon
