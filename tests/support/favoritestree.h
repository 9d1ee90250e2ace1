#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace quillon::test {

// A favorites tree on the real disk, in a temporary folder removed with the object.
class FavoritesTree {
public:
    FavoritesTree();

    bool isValid() const { return m_dir.isValid(); }
    // The tree's root, without a trailing separator.
    QString root() const { return m_dir.path(); }
    // The absolute path of a path relative to the root ("/" separated).
    QString path(const QString &relative) const;

    void addFolder(const QString &relative) const;
    // Writes a file, making the folders above it.
    void addFile(const QString &relative, const QByteArray &content) const;
    // An old-style shortcut: [DEFAULT] BASEURL= then [InternetShortcut] URL=, CR LF line ends.
    void addShortcut(const QString &relative, const QString &address) const;

    static QByteArray shortcutBytes(const QString &address);

private:
    QTemporaryDir m_dir;
};

// A file's bytes, or "<missing>" when it cannot be read.
QByteArray readFileBytes(const QString &path);

} // namespace quillon::test
