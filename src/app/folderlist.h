#pragma once

#include "places/pathsyntax.h"

#include <QListWidget>

#include <functional>
#include <optional>

namespace quillon {

class FileSystem;
class FolderListing;

// A classic folder list: the open folder's ancestors from the root down, then its
// sub-folders. A double-click or Enter opens the highlighted folder; a single click only
// highlights it.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    FolderList(const FileSystem &fs, QWidget *parent = nullptr);

    // The open folder: absolute, no trailing separator except at a root ("C:\", "/").
    QString path() const { return m_path; }

    // Opens a folder (with or without a trailing separator, or a drive root). When the open
    // folder changes, pathChanged is emitted before this returns. Returns false with a
    // description when the folder cannot be opened; the list then stays as it was.
    bool setPath(const QString &path, QString *error = nullptr);

    // Opens a folder as setPath does, but lists it on a worker thread, so that a slow share
    // never holds up the window; the list says that it is listing meanwhile. A folder asked
    // for while another is listed is listed next. openFailed reports a folder that cannot be
    // opened.
    void open(const QString &path);
    bool isListing() const;

    // Asked before a folder the user picks in the list replaces the open one; false keeps it.
    void setLeaveCheck(std::function<bool()> mayLeave) { m_mayLeave = std::move(mayLeave); }

Q_SIGNALS:
    void pathChanged();
    // The user asked to open a folder that cannot be opened.
    void openFailed(const QString &description);
    // open() began listing, or the last folder it was asked for was opened or could not be.
    void listingChanged(bool listing);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void openItem(QListWidgetItem *item);
    void fill(const QStringList &subfolders);
    bool show(const QString &target, const std::optional<QStringList> &subfolders, QString *error);
    void listNext();

    const FileSystem &m_fs;
    PathSyntax m_syntax;
    QString m_path;
    FolderListing *m_listing;
    QStringList m_lastSubfolders;
    std::optional<QString> m_wanted;
    std::function<bool()> m_mayLeave; // asked for while another folder was being listed
};

} // namespace quillon
