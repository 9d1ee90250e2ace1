#pragma once

#include "places/pathsyntax.h"

#include <QListWidget>

namespace quillon {

class FileSystem;

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

Q_SIGNALS:
    void pathChanged();
    // The user asked to open a folder that cannot be opened.
    void openFailed(const QString &description);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void openItem(QListWidgetItem *item);
    void fill(const QStringList &subfolders);

    const FileSystem &m_fs;
    PathSyntax m_syntax;
    QString m_path;
};

} // namespace quillon
