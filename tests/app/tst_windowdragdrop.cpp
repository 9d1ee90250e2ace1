// Folders and files dropped on the window from a file manager.

#include "app/folderlist.h"
#include "app/mainwindow.h"
#include "grid/linkgrid.h"
#include "interruptingfilesystem.h"
#include "links/linktable.h"
#include "memoryfilesystem.h"
#include "places/pathsyntax.h"
#include "scripteddialogs.h"
#include "testmain.h"

#include <QMimeData>
#include <QPushButton>
#include <QSemaphore>
#include <QUrl>

using namespace quillon;
using quillon::test::InterruptingFileSystem;
using quillon::test::MemoryFileSystem;
using quillon::test::ScriptedDialogs;

namespace {

// A tree with a favorites folder, written with either separator. Paths in the test are
// written with "/" and turned into the file system's own form.
struct Fixture {
    MemoryFileSystem fs;
    InterruptingFileSystem walking{fs};
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;
    QString root;

    explicit Fixture(QChar separator)
        : fs(separator)
        , root(separator == u'/' ? QStringLiteral("/") : QStringLiteral("C:/"))
    {
        fs.addFolder(native(QStringLiteral("fav/News")));
        fs.addFile(native(QStringLiteral("fav/Top.url")), "[DEFAULT]\r\nBASEURL=http://top/\r\n");
        fs.addFile(native(QStringLiteral("fav/News/BBC.url")), "URL=http://bbc/\r\n");
        fs.addFile(native(QStringLiteral("rootlink.url")), "URL=http://root/\r\n");
        fs.addFolder(native(QStringLiteral("locked")));
        fs.makeUnlistable(native(QStringLiteral("locked")));
        fs.addFolder(native(QStringLiteral("home")));

        WindowEnvironment env;
        env.fileSystem = &walking;
        env.profile = separator == u'/' ? PlatformProfile::host() : PlatformProfile::windows();
        const QString drive = separator == u'/' ? QStringLiteral("/") : QStringLiteral("C:");
        env.drives = {{drive, drive}};
        env.initialFolder = native(QStringLiteral("home"));
        env.homeFolder = native(QStringLiteral("home"));
        window = std::make_unique<MainWindow>(dialogs, env);
    }

    QString native(const QString &relative) const
    {
        QString path = root + relative;
        path.replace(u'/', fs.separator());
        return PathSyntax(fs.separator()).normalized(path);
    }
    QString folder() const
    {
        return window->findChild<FolderList *>(QStringLiteral("Dir1"))->path();
    }
    int rowCount() const
    {
        return window->findChild<LinkGrid *>(QStringLiteral("UltraGrid"))->model()->rowCount();
    }

    // Sends the events of one drag and drop; true when the window took the drop.
    bool drop(QMimeData &data,
              Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction)
    {
        const QPoint at(window->width() / 2, window->height() / 2);
        QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
        enter.setAccepted(false);
        QCoreApplication::sendEvent(window.get(), &enter);
        QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
        move.setAccepted(false);
        QCoreApplication::sendEvent(window.get(), &move);
        if (enter.isAccepted() != move.isAccepted())
            return false;
        if (!enter.isAccepted())
            return false;
        // The source is never asked to move what it dropped.
        if (enter.dropAction() == Qt::MoveAction || move.dropAction() == Qt::MoveAction)
            return false;
        QDropEvent dropped(QPointF(at), actions, &data, Qt::LeftButton, Qt::NoModifier);
        dropped.setAccepted(false);
        QCoreApplication::sendEvent(window.get(), &dropped);
        // The folder is listed on a worker; the test goes on once it is open.
        const auto *folders = window->findChild<FolderList *>(QStringLiteral("Dir1"));
        return QTest::qWaitFor([folders] { return !folders->isListing(); }) && dropped.isAccepted();
    }
};

QUrl localUrl(const Fixture &f, const QString &relative)
{
    return QUrl::fromLocalFile(f.root + relative);
}

} // namespace

class TestWindowDragDrop : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void droppedItemOpensItsFolder_data();
    void droppedItemOpensItsFolder();
    void dropResetsTheTableLikeOpeningTheFolder();
    void unopenableFolderIsReported();
    void dropDuringWalkIsRefused();
};

void TestWindowDragDrop::droppedItemOpensItsFolder_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QStringList>("urls"); // "local:" paths below the root, or whole URLs
    QTest::addColumn<QString>("text");
    QTest::addColumn<Qt::DropActions>("actions");
    QTest::addColumn<QString>("opened"); // below the root; empty: the drop is refused

    const Qt::DropActions any = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    for (const QChar separator : {QChar(u'\\'), QChar(u'/')}) {
        const QString os =
            separator == u'/' ? QStringLiteral("posix: ") : QStringLiteral("windows: ");
        const auto row = [&](const char *name) {
            return &(QTest::newRow(qPrintable(os + QLatin1String(name))) << separator);
        };
        *row("folder") << QStringList{"local:fav/News"} << QString() << any << "fav/News";
        *row("folder with a trailing separator")
            << QStringList{"local:fav/"} << QString() << any << "fav";
        *row("file opens its folder")
            << QStringList{"local:fav/News/BBC.url"} << QString() << any << "fav/News";
        *row("file at the root") << QStringList{"local:rootlink.url"} << QString() << any << "";
        *row("copy only") << QStringList{"local:fav"} << QString()
                          << Qt::DropActions(Qt::CopyAction) << "fav";
        *row("move only is refused")
            << QStringList{"local:fav"} << QString() << Qt::DropActions(Qt::MoveAction) << "-";
        *row("web address is refused")
            << QStringList{"https://example.com/fav"} << QString() << any << "-";
        *row("plain text is refused") << QStringList{} << "fav/News" << any << "-";
        *row("missing folder is refused")
            << QStringList{"local:gone/away.url"} << QString() << any << "-";
        *row("first local item of several")
            << QStringList{"https://example.com/", "local:fav/News", "local:fav"} << QString()
            << any << "fav/News";
    }
}

void TestWindowDragDrop::droppedItemOpensItsFolder()
{
    QFETCH(QChar, separator);
    QFETCH(QStringList, urls);
    QFETCH(QString, text);
    QFETCH(Qt::DropActions, actions);
    QFETCH(QString, opened);
    Fixture f(separator);
    const QString before = f.folder();
    QCOMPARE(before, f.native(QStringLiteral("home")));

    QMimeData data;
    QList<QUrl> list;
    for (const QString &url : urls)
        list << (url.startsWith(u"local:") ? localUrl(f, url.mid(6)) : QUrl(url));
    if (!list.isEmpty())
        data.setUrls(list);
    if (!text.isEmpty())
        data.setText(text);

    const bool taken = f.drop(data, actions);
    QCOMPARE(taken, opened != u"-");
    QCOMPARE(f.folder(), taken ? f.native(opened) : before);
    QVERIFY(f.dialogs.takeMessages().isEmpty());
}

void TestWindowDragDrop::dropResetsTheTableLikeOpeningTheFolder()
{
    Fixture f(u'\\');
    QVERIFY(f.window->findChild<FolderList *>(QStringLiteral("Dir1"))
                ->setPath(f.native(QStringLiteral("fav"))));
    f.window->generate();
    QTRY_COMPARE(f.rowCount(), 2);
    auto *write = f.window->findChild<QPushButton *>(QStringLiteral("cmdWriteToFile"));
    QVERIFY(write->isEnabled());

    QMimeData data;
    data.setUrls({localUrl(f, QStringLiteral("fav/News/BBC.url"))});
    QVERIFY(f.drop(data));
    QCOMPARE(f.folder(), f.native(QStringLiteral("fav/News")));
    QCOMPARE(f.rowCount(), 0);
    QVERIFY(!write->isEnabled());
}

void TestWindowDragDrop::unopenableFolderIsReported()
{
    Fixture f(u'/');
    QMimeData data;
    data.setUrls({localUrl(f, QStringLiteral("locked"))});
    f.drop(data);
    QCOMPARE(f.folder(), f.native(QStringLiteral("home")));
    const QList<ScriptedDialogs::Message> messages = f.dialogs.takeMessages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().icon, Dialogs::Icon::Critical);
    QVERIFY(messages.first().text.contains(f.native(QStringLiteral("locked"))));
}

void TestWindowDragDrop::dropDuringWalkIsRefused()
{
    Fixture f(u'/');
    QVERIFY(f.window->findChild<FolderList *>(QStringLiteral("Dir1"))
                ->setPath(f.native(QStringLiteral("fav"))));
    // The walk is held at its first listing while the drop arrives.
    QSemaphore reached, go;
    std::atomic_bool held = false;
    f.walking.onList = [&] {
        if (!held.exchange(true)) {
            reached.release();
            go.acquire();
        }
    };
    f.window->generate();
    QVERIFY(reached.tryAcquire(1, 5000));
    QMimeData data;
    data.setUrls({localUrl(f, QStringLiteral("fav/News"))});
    const bool taken = f.drop(data);
    go.release();
    QVERIFY(!taken);
    QTRY_VERIFY(!f.window->isWalking());
    QCOMPARE(f.folder(), f.native(QStringLiteral("fav")));
    QCOMPARE(f.rowCount(), 2);
}

QUILLON_TEST_MAIN(TestWindowDragDrop)
#include "tst_windowdragdrop.moc"
