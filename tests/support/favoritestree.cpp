#include "favoritestree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace quillon::test {

FavoritesTree::FavoritesTree() = default;

QString FavoritesTree::path(const QString &relative) const
{
    return m_dir.filePath(relative);
}

void FavoritesTree::addFolder(const QString &relative) const
{
    QVERIFY2(QDir().mkpath(path(relative)), qPrintable(relative));
}

void FavoritesTree::addFile(const QString &relative, const QByteArray &content) const
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).path());
    QFile file(full);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.errorString()));
    QCOMPARE(file.write(content), content.size());
}

QByteArray FavoritesTree::shortcutBytes(const QString &address)
{
    const QByteArray url = address.toUtf8();
    return "[DEFAULT]\r\nBASEURL=" + url + "\r\n[InternetShortcut]\r\nURL=" + url +
           "\r\nModified=D0B6A8C0B2E2C601AF\r\n";
}

void FavoritesTree::addShortcut(const QString &relative, const QString &address) const
{
    addFile(relative, shortcutBytes(address));
}

QByteArray readFileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace quillon::test
