// The window's commands, driven on a Windows-like file system held in memory.

#include "app/drivelist.h"
#include "app/folderlist.h"
#include "app/mainwindow.h"
#include "favoritestree.h"
#include "grid/linkgrid.h"
#include "interruptingfilesystem.h"
#include "links/linktable.h"
#include "memoryfilesystem.h"
#include "scripteddialogs.h"
#include "testmain.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>

using namespace quillon;
using quillon::test::InterruptingFileSystem;
using quillon::test::MemoryFileSystem;
using quillon::test::readFileBytes;
using quillon::test::ScriptedDialogs;
using Message = ScriptedDialogs::Message;

namespace {

const QString TooBroad =
    QStringLiteral("This Selection Is Too Broad, Please Narrow Down Your Search");
const QString NothingFound = QStringLiteral("No Favorites Were Found In This Location");

QByteArray shortcut(const char *address)
{
    return quillon::test::FavoritesTree::shortcutBytes(QString::fromLatin1(address));
}

struct Fixture {
    MemoryFileSystem fs;
    ScriptedDialogs dialogs;
    QTemporaryDir settings;
    std::unique_ptr<MainWindow> window;

    Fixture()
    {
        fs.addFolder(QStringLiteral("C:\\Documents and Settings\\me\\Favorites"));
        fs.addFile(QStringLiteral("C:\\Documents and Settings\\me\\Favorites\\Top.url"),
                   shortcut("http://top/"));
        fs.addFile(QStringLiteral("C:\\Documents and Settings\\me\\Favorites\\News\\BBC.url"),
                   shortcut("http://bbc/"));
        fs.addFile(QStringLiteral("C:\\Documents and Settings\\me\\Favorites\\News\\CNN.url"),
                   shortcut("http://cnn/"));
        fs.addFolder(QStringLiteral("C:\\Windows"));
        fs.addFolder(QStringLiteral("C:\\Users\\me"));
        fs.addFile(QStringLiteral("D:\\Links\\d.url"), shortcut("http://d/"));
    }

    void open(const QString &initialFolder = QStringLiteral("C:\\Windows"),
              const FileSystem *using_ = nullptr)
    {
        WindowEnvironment env;
        env.fileSystem = using_ ? using_ : &fs;
        env.profile = PlatformProfile::windows();
        env.drives = {{QStringLiteral("C:"), QStringLiteral("C:")},
                      {QStringLiteral("D:"), QStringLiteral("D:")}};
        env.initialFolder = initialFolder;
        env.homeFolder = QStringLiteral("C:\\Users\\me");
        env.settingsFile = settings.filePath(QStringLiteral("Quillon.conf"));
        window.reset(); // what it remembers is written before the next one reads it
        window = std::make_unique<MainWindow>(dialogs, env);
    }

    FolderList *dir() const { return window->findChild<FolderList *>(QStringLiteral("Dir1")); }
    DriveList *drive() const { return window->findChild<DriveList *>(QStringLiteral("Drive1")); }
    LinkGrid *grid() const { return window->findChild<LinkGrid *>(QStringLiteral("UltraGrid")); }
    QTableView *view() const
    {
        return grid()->findChild<QTableView *>(QStringLiteral("gridTable"));
    }
    QString caption() const
    {
        return grid()->findChild<QLabel *>(QStringLiteral("gridCaption"))->text();
    }
    QPushButton *writeButton() const
    {
        return window->findChild<QPushButton *>(QStringLiteral("cmdWriteToFile"));
    }
    void openFolder(const QString &path) const { QVERIFY(dir()->setPath(path)); }

    // Generate, waited for until its walk has ended.
    void generate() const
    {
        window->generate();
        QTRY_VERIFY(!window->isWalking());
    }

    // The rows the grid shows, as "folder|site" ("-" for no folder).
    QStringList rows() const
    {
        QStringList out;
        const LinkTableModel *model = grid()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QVariant folder = model->index(row, LinkTableModel::FolderColumn).data();
            out << (folder.isValid() ? folder.toString() : QStringLiteral("-")) + u'|' +
                       model->index(row, LinkTableModel::SiteColumn).data().toString();
        }
        return out;
    }

    // The filter the save dialog offers, asked for and cancelled.
    QString saveFilter()
    {
        dialogs.saveAnswers = {std::nullopt};
        window->writeToFile();
        return dialogs.saveRequests.isEmpty() ? QString() : dialogs.saveRequests.last().filter;
    }
};

} // namespace

class TestWindowController : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startUpFolder_data();
    void startUpFolder();
    void rememberedAcrossRuns();
    void refusalIsAnExactComparison_data();
    void refusalIsAnExactComparison();
    void generateFillsTheGridAndCanRepeat();
    void nothingFoundIsReportedAndWritesAnEmptyFile();
    void folderOrDriveChangeReturnsToFresh();
    void outputKindChoosesWhatIsWrittenAndTheFilter();
    void saveAsAddsTheExtensionAndRemembersPerOption();
    void writeToFileCancelAndFailure();
    void stoppingAWalk_data();
    void stoppingAWalk();
    void handTicksAreNotThrownAwayUnasked();
    void tickAsInAWrittenListAndUntickDuplicates();
};

void TestWindowController::startUpFolder_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<bool>("favoritesOnDrive");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<bool>("reported");
    const QString favorites = QStringLiteral("C:\\Documents and Settings\\me\\Favorites");
    QTest::newRow("asked folder") << favorites << true << favorites << false;
    QTest::newRow("asked file: its folder")
        << favorites + QStringLiteral("\\Top.url") << false << favorites << false;
    QTest::newRow("first run: Favorites on a Windows drive")
        << QString() << true << "C:\\Users\\me\\Favorites" << false;
    QTest::newRow("first run without one: home") << QString() << false << "C:\\Users\\me" << false;
    QTest::newRow("asked folder gone: said, then home")
        << "C:\\Gone" << false << "C:\\Users\\me" << true;
}

void TestWindowController::startUpFolder()
{
    QFETCH(QString, asked);
    QFETCH(bool, favoritesOnDrive);
    Fixture f;
    if (favoritesOnDrive)
        f.fs.addFolder(QStringLiteral("C:\\Users\\me\\Favorites"));
    WindowEnvironment env{&f.fs,
                          PlatformProfile::windows(),
                          {{QStringLiteral("C:"), QStringLiteral("C:"), Drive::Kind::Windows}},
                          asked,
                          QStringLiteral("C:\\Users\\me"),
                          QString(),
                          {}};
    MainWindow window(f.dialogs, env);
    QTEST(window.findChild<FolderList *>(QStringLiteral("Dir1"))->path(), "opened");
    QTEST(f.dialogs.takeMessages().size() == 1, "reported");
    // Nothing is bound before a folder change or Generate; Write To File waits for Generate.
    QVERIFY(!window.findChild<LinkGrid *>(QStringLiteral("UltraGrid"))->model()->table());
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("cmdWriteToFile"))->isEnabled());

    // Without a home folder either, the root is opened, and Generate refuses it.
    MemoryFileSystem bare;
    bare.addFolder(QStringLiteral("C:\\"));
    env.fileSystem = &bare;
    env.initialFolder.clear();
    MainWindow rootWindow(f.dialogs, env);
    QCOMPARE(rootWindow.findChild<FolderList *>(QStringLiteral("Dir1"))->path(),
             QStringLiteral("C:\\"));
    rootWindow.generate();
    QCOMPARE(f.dialogs.takeMessageTexts(), QStringList{TooBroad});
}

void TestWindowController::rememberedAcrossRuns()
{
    Fixture f;
    f.open();
    f.openFolder(QStringLiteral("D:\\Links"));
    f.window->findChild<QRadioButton *>(QStringLiteral("optOutPutType_1"))->setChecked(true);
    f.window->show();
    f.window->resize(900, 600);
    f.window->close();

    f.open(QString());
    QCOMPARE(f.dir()->path(), QStringLiteral("D:\\Links"));
    QVERIFY(f.window->findChild<QRadioButton *>(QStringLiteral("optOutPutType_1"))->isChecked());
    f.window->show();
    QCOMPARE(f.window->size(), QSize(900, 600));

    // A remembered folder that is gone is passed over quietly.
    MemoryFileSystem without;
    without.addFolder(QStringLiteral("C:\\Users\\me"));
    f.open(QString(), &without);
    QCOMPARE(f.dir()->path(), QStringLiteral("C:\\Users\\me"));
}

// The records' folder names show the path handed to the walk: its length is cut from each.
void TestWindowController::refusalIsAnExactComparison_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("the root") << "C:\\" << true << QStringList();
    QTest::newRow("the start folder") << "C:\\Documents and Settings" << true << QStringList();
    QTest::newRow("lower-case root, two backslashes")
        << "c:\\" << false
        << QStringList({"Documents and Settings\\me\\Favorites|Top",
                        "Documents and Settings\\me\\Favorites\\News|BBC", "-|CNN"});
    QTest::newRow("another drive's root") << "D:\\" << false << QStringList({"Links|d"});
    QTest::newRow("a folder below") << "C:\\Documents and Settings\\me\\Favorites" << false
                                    << QStringList({"-|Top", "News|BBC", "-|CNN"});
}

void TestWindowController::refusalIsAnExactComparison()
{
    QFETCH(QString, folder);
    QFETCH(bool, refused);
    QFETCH(QStringList, rows);
    Fixture f;
    f.open();
    f.openFolder(folder);
    f.generate();
    QCOMPARE(f.dialogs.takeMessageTexts(), refused ? QStringList{TooBroad} : QStringList{});
    QCOMPARE(f.writeButton()->isEnabled(), !refused);
    QCOMPARE(f.rows(), rows);
}

void TestWindowController::generateFillsTheGridAndCanRepeat()
{
    Fixture f;
    f.open();
    f.openFolder(QStringLiteral("C:\\Documents and Settings\\me\\Favorites"));
    f.generate();
    const QStringList first = f.rows();
    QCOMPARE(first, QStringList({"-|Top", "News|BBC", "-|CNN"}));
    QCOMPARE(f.view()->currentIndex(), f.grid()->model()->index(0, 0));

    const int listedBefore =
        f.fs.listCount(QStringLiteral("C:\\Documents and Settings\\me\\Favorites\\News"));
    f.generate();
    QCOMPARE(f.rows(), first);
    QCOMPARE(f.fs.listCount(QStringLiteral("C:\\Documents and Settings\\me\\Favorites\\News")),
             listedBefore + 1);
}

void TestWindowController::nothingFoundIsReportedAndWritesAnEmptyFile()
{
    Fixture f;
    f.open();
    f.openFolder(QStringLiteral("C:\\Windows"));
    f.generate();
    QCOMPARE(f.dialogs.takeMessages(),
             QList<Message>({{NothingFound, QStringLiteral("Quillon"), Dialogs::Icon::None}}));
    QVERIFY(f.writeButton()->isEnabled());
    QCOMPARE(f.caption(), QStringLiteral("Deselect What You Do Not Want"));

    // With nothing ticked Write To File asks first; No writes nothing, Yes an empty file.
    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("empty.dat"));
    f.dialogs.questionAnswers = {false, true};
    f.window->writeToFile();
    QVERIFY(f.dialogs.saveRequests.isEmpty());
    f.dialogs.saveAnswers = {target};
    f.window->writeToFile();
    QCOMPARE(f.dialogs.questions.size(), 2);
    QVERIFY(f.dialogs.questions.first().startsWith(QStringLiteral("No link is ticked")));
    QVERIFY(QFileInfo::exists(target));
    QCOMPARE(QFileInfo(target).size(), 0);
    QCOMPARE(f.dialogs.takeMessages(),
             QList<Message>({{QStringLiteral("0 links written to %1.").arg(target),
                              QStringLiteral("Success"), Dialogs::Icon::None}}));
}

void TestWindowController::folderOrDriveChangeReturnsToFresh()
{
    Fixture f;
    f.open();
    f.openFolder(QStringLiteral("C:\\Documents and Settings\\me\\Favorites"));
    f.generate();
    QVERIFY(f.writeButton()->isEnabled());

    f.drive()->setCurrentIndex(1); // the user picks D:, listed on a worker
    QVERIFY(f.dir()->isListing());
    QTRY_COMPARE(f.dir()->path(), QStringLiteral("D:\\"));
    QVERIFY(!f.writeButton()->isEnabled());
    QCOMPARE(f.grid()->model()->rowCount(), 0);

    // Opening the folder that is already open changes nothing: Write To File stays enabled.
    f.generate();
    QCOMPARE(f.rows(), QStringList({"Links|d"}));
    f.openFolder(QStringLiteral("D:\\"));
    QVERIFY(f.writeButton()->isEnabled());
    QCOMPARE(f.rows(), QStringList({"Links|d"}));

    // A folder that cannot be opened is reported, and the window stays as it was.
    QVERIFY(!f.dir()->setPath(QStringLiteral("E:\\")));
    f.drive()->addItem(QStringLiteral("E:"), QStringLiteral("E:"));
    f.drive()->setCurrentIndex(2);
    QTRY_VERIFY(!f.dir()->isListing());
    const QList<Message> messages = f.dialogs.takeMessages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().icon, Dialogs::Icon::Critical);
    QVERIFY(messages.first().text.contains(QStringLiteral("E:\\")));
    QCOMPARE(f.dir()->path(), QStringLiteral("D:\\"));
    QCOMPARE(f.drive()->drive(), QStringLiteral("D:"));
}

void TestWindowController::outputKindChoosesWhatIsWrittenAndTheFilter()
{
    Fixture f;
    f.open();
    f.openFolder(QStringLiteral("C:\\Documents and Settings\\me\\Favorites"));
    f.generate();
    // Unticking the group's first row moves its heading to the group's next ticked row.
    LinkTableModel *model = f.grid()->model();
    QVERIFY(model->setData(model->index(1, 0), Qt::Unchecked, Qt::CheckStateRole));

    QTemporaryDir out;
    const QString dat = out.filePath(QStringLiteral("links.dat"));
    f.dialogs.saveAnswers = {dat};
    f.window->writeToFile();
    QCOMPARE(readFileBytes(dat),
             QByteArray("<UL> \r\n"
                        "<LI><A HREF='http://top/' target='_blank'>Top</A><BR>\r\n"
                        "<BR>\r\n<FONT SIZE='+1'><U><B>News</B></U></FONT>\r\n<BR>\r\n"
                        "<LI><A HREF='http://cnn/' target='_blank'>CNN</A><BR>\r\n"
                        "</UL> \r\n"));
    QCOMPARE(f.dialogs.saveRequests.last().title, QStringLiteral("Save As"));
    QCOMPARE(f.dialogs.saveRequests.last().filter, QStringLiteral("DAT (*.dat)|*.dat"));
    QCOMPARE(f.dialogs.saveRequests.last().proposedName, QString());

    f.window->findChild<QRadioButton *>(QStringLiteral("optOutPutType_1"))->setChecked(true);
    const QString html = out.filePath(QStringLiteral("links.html"));
    f.dialogs.saveAnswers = {html};
    f.window->writeToFile();
    QCOMPARE(f.dialogs.saveRequests.last().proposedName, QString()); // none yet for .HTML
    QCOMPARE(f.dialogs.saveRequests.last().filter,
             QStringLiteral("Web page (*.html)|*.html|Bookmarks for browsers (*.html)|*.html|"
                            "Markdown (*.md)|*.md|JSON (*.json)|*.json|"
                            "CSV for spreadsheets (*.csv)|*.csv"));
    const QByteArray page = readFileBytes(html);
    QVERIFY(page.startsWith(
        "<HTML>\r\n<HEAD>\r\n<TITLE>Links</TITLE>\r\n</HEAD>\r\n<BODY>\r\n<UL> \r\n"));
    QVERIFY(page.endsWith("</UL> \r\n</BODY>\r\n</HTML>\r\n"));
    QVERIFY(!page.contains("BBC"));

    // The second type the dialog offers for .HTML writes a bookmarks file instead.
    const QString bookmarks = out.filePath(QStringLiteral("bookmarks.html"));
    f.dialogs.saveAnswers = {bookmarks};
    f.dialogs.saveTypeAnswers = {1};
    f.window->writeToFile();
    QVERIFY(readFileBytes(bookmarks).startsWith("<!DOCTYPE NETSCAPE-Bookmark-file-1>"));
    // The last one, CSV.
    const QString csv = out.filePath(QStringLiteral("links.csv"));
    f.dialogs.saveAnswers = {csv};
    f.dialogs.saveTypeAnswers = {4};
    f.window->writeToFile();
    QVERIFY(readFileBytes(csv).startsWith("\xEF\xBB\xBF"
                                          "folder,site,address,date\r\n"));
    QCOMPARE(f.dialogs.takeMessageTexts(),
             QStringList({QStringLiteral("2 links written to %1.").arg(dat),
                          QStringLiteral("2 links written to %1.").arg(html),
                          QStringLiteral("2 links written to %1.").arg(bookmarks),
                          QStringLiteral("2 links written to %1.").arg(csv)}));

    f.window->chooseOutputKind(OutputKind::Dat);
    QCOMPARE(f.saveFilter(), QStringLiteral("DAT (*.dat)|*.dat"));
}

void TestWindowController::saveAsAddsTheExtensionAndRemembersPerOption()
{
    Fixture f;
    f.open();
    f.openFolder(QStringLiteral("C:\\Documents and Settings\\me\\Favorites"));
    f.generate();
    QTemporaryDir out;
    const auto save = [&](const QString &name, int type) {
        f.dialogs.saveAnswers = {out.filePath(name)};
        f.dialogs.saveTypeAnswers = {type};
        f.window->writeToFile();
        return f.dialogs.saveRequests.last();
    };
    f.window->chooseOutputKind(OutputKind::Html);
    save(QStringLiteral("bookmarks"), 1);
    QVERIFY(readFileBytes(out.filePath(QStringLiteral("bookmarks.html")))
                .startsWith("<!DOCTYPE NETSCAPE-Bookmark-file-1>"));
    f.window->chooseOutputKind(OutputKind::Dat);
    save(QStringLiteral("list"), 0);
    QVERIFY(QFileInfo::exists(out.filePath(QStringLiteral("list.dat"))));

    // Each option offers its own last name and type again.
    f.window->chooseOutputKind(OutputKind::Html);
    f.dialogs.saveAnswers = {std::nullopt};
    f.window->writeToFile();
    QCOMPARE(f.dialogs.saveRequests.last().proposedName,
             out.filePath(QStringLiteral("bookmarks.html")));
    QCOMPARE(f.dialogs.saveRequests.last().offeredType, 1);

    // The name with its extension added replaces a file only when the user says so.
    f.dialogs.questionAnswers = {false};
    save(QStringLiteral("bookmarks"), 0);
    QVERIFY(readFileBytes(out.filePath(QStringLiteral("bookmarks.html")))
                .startsWith("<!DOCTYPE NETSCAPE-Bookmark-file-1>"));
    QCOMPARE(f.dialogs.questions.size(), 1);
    QCOMPARE(f.dialogs.takeMessageTexts(),
             QStringList({QStringLiteral("3 links written to %1.")
                              .arg(out.filePath(QStringLiteral("bookmarks.html"))),
                          QStringLiteral("3 links written to %1.")
                              .arg(out.filePath(QStringLiteral("list.dat")))}));
}

void TestWindowController::writeToFileCancelAndFailure()
{
    Fixture f;
    f.open();
    f.openFolder(QStringLiteral("C:\\Documents and Settings\\me\\Favorites"));
    f.generate();
    QTemporaryDir out;
    const QString existing = out.filePath(QStringLiteral("keep.dat"));
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("precious");
    file.close();

    f.dialogs.saveAnswers = {std::nullopt, QString()}; // cancel, then an empty name
    f.window->writeToFile();
    f.window->writeToFile();
    QVERIFY(f.dialogs.takeMessages().isEmpty());
    QCOMPARE(readFileBytes(existing), QByteArray("precious"));

    f.dialogs.saveAnswers = {out.filePath(QStringLiteral("missing/links.dat"))};
    f.window->writeToFile();
    const QList<Message> failed = f.dialogs.takeMessages();
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().title, QStringLiteral("Error"));
    QCOMPARE(failed.first().icon, Dialogs::Icon::Critical);
    QVERIFY(failed.first().text.contains(QStringLiteral("missing/links.dat")));

    f.dialogs.saveAnswers = {existing};
    f.window->writeToFile();
    QCOMPARE(f.dialogs.takeMessages().last().title, QStringLiteral("Success"));
    QVERIFY(readFileBytes(existing).startsWith("<UL> \r\n"));
}

void TestWindowController::stoppingAWalk_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Esc") << "esc";
    QTest::newRow("Stop") << "stop";
    QTest::newRow("closing the window") << "close";
    QTest::newRow("Exit") << "exit";
}

// The walk runs on a worker; it is held at a listing while the window is used.
void TestWindowController::stoppingAWalk()
{
    QFETCH(QString, how);
    Fixture f;
    for (int i = 0; i < 20; ++i)
        f.fs.addFile(QStringLiteral("C:\\Big\\F%1\\s.url").arg(i), shortcut("http://s/"));
    InterruptingFileSystem held(f.fs);
    f.open(QStringLiteral("C:\\Windows"), &held);
    f.window->show();
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.openFolder(QStringLiteral("C:\\Big"));
    QSemaphore reached, go;
    std::atomic_int listings = 0;
    held.onList = [&] {
        if (++listings == 5) {
            reached.release();
            go.acquire();
        }
    };
    QSignalSpy ended(f.window.get(), &MainWindow::programEnded);
    f.window->generate();
    QVERIFY(reached.tryAcquire(1, 5000));
    // The window answers meanwhile: the strip shows the Stop control.
    auto *stop = f.window->findChild<QPushButton *>(QStringLiteral("cmdStop"));
    QVERIFY(stop->isVisible());
    QVERIFY(f.grid()->geometry().bottom() < stop->mapTo(f.window.get(), QPoint()).y());
    // The first row reaches the grid at once, and the strip counts it.
    QTRY_VERIFY(f.grid()->model()->rowCount() > 0);
    QTRY_COMPARE(f.window->findChild<QLabel *>(QStringLiteral("jobSummary"))->text(),
                 QStringLiteral("Links found: %1").arg(f.grid()->model()->rowCount()));
    QVERIFY(!f.writeButton()->isEnabled());
    if (how == u"esc") {
        QTest::keyClick(f.window.get(), Qt::Key_Escape);
        QTRY_VERIFY(!stop->isEnabled()); // pressed the way a click does, a moment later
    } else if (how == u"stop")
        QTest::mouseClick(stop, Qt::LeftButton);
    else if (how == u"close")
        f.window->close();
    else
        QTest::mouseClick(f.window->findChild<QPushButton *>(QStringLiteral("cmdExit")),
                          Qt::LeftButton);
    go.release();
    QTRY_VERIFY(!f.window->isWalking());
    QVERIFY(listings < 20);
    const int kept = f.grid()->model()->rowCount();
    QVERIFY(kept < 20);
    QCOMPARE(ended.size(), how == u"exit" ? 1 : 0);
    if (how == u"close" || how == u"exit") {
        QVERIFY(!f.window->isVisible()); // at once, and nothing more is said
        return;
    }
    QVERIFY(!stop->isVisible());
    QCOMPARE(f.dialogs.takeMessageTexts(),
             QStringList({QStringLiteral("Generate Was Stopped: The List Is Incomplete, With The "
                                         "%1 Links Found So Far")
                              .arg(kept)}));
    QVERIFY(f.writeButton()->isEnabled());
}

void TestWindowController::handTicksAreNotThrownAwayUnasked()
{
    Fixture f;
    f.open();
    f.openFolder(QStringLiteral("C:\\Documents and Settings\\me\\Favorites"));
    f.generate();
    f.generate(); // nothing changed by hand: nothing to ask
    LinkTableModel *model = f.grid()->model();
    QVERIFY(model->setData(model->index(0, 0), Qt::Unchecked, Qt::CheckStateRole));

    f.dialogs.questionAnswers = {false, false, true};
    f.generate();
    f.drive()->setCurrentIndex(1);
    QCOMPARE(f.drive()->drive(), QStringLiteral("C:")); // kept, and the list shows it
    QCOMPARE(model->index(0, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    f.generate();
    QCOMPARE(model->index(0, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(f.dialogs.questions.size(), 3);
    QVERIFY(f.dialogs.questions.first().contains(QStringLiteral("will be lost")));
}

void TestWindowController::tickAsInAWrittenListAndUntickDuplicates()
{
    Fixture f;
    f.fs.addFile(QStringLiteral("C:\\Documents and Settings\\me\\Favorites\\News\\Again.url"),
                 shortcut("http://bbc/"));
    f.open();
    f.openFolder(QStringLiteral("C:\\Documents and Settings\\me\\Favorites"));
    f.generate();
    LinkTableModel *model = f.grid()->model();
    const auto ticks = [model] {
        QString out;
        for (int row = 0; row < model->rowCount(); ++row)
            out +=
                model->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked ? u'x' : u'-';
        return out;
    };
    const auto menuAction = [&f](const char *name) {
        return f.view()->findChild<QAction *>(QString::fromLatin1(name));
    };
    QCOMPARE(ticks(), QStringLiteral("xxxx")); // Top, BBC, CNN, Again (http://bbc/ again)
    menuAction("untickDuplicatesAction")->trigger();
    QCOMPARE(ticks(), QStringLiteral("xxx-"));

    QTemporaryDir out;
    const QString written = out.filePath(QStringLiteral("picked.html"));
    QVERIFY(model->setData(model->index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
    f.window->chooseOutputKind(OutputKind::Html);
    f.dialogs.saveAnswers = {written};
    f.window->writeToFile();
    f.dialogs.takeMessages();

    model->tickRange(0, model->rowCount());
    f.dialogs.openAnswers = {written};
    menuAction("tickAsInListAction")->trigger();
    QCOMPARE(ticks(), QStringLiteral("x-x-"));
    QCOMPARE(f.dialogs.takeMessageTexts(),
             QStringList({QStringLiteral("2 of 4 rows ticked; 0 of the 2 links in the list were "
                                         "not found.")}));

    // A file that is no written list is reported, and the ticks stay.
    const QString other = out.filePath(QStringLiteral("notes.txt"));
    QFile notes(other);
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("just some notes\n");
    notes.close();
    model->tickRange(0, model->rowCount());
    f.dialogs.openAnswers = {other};
    menuAction("tickAsInListAction")->trigger();
    QCOMPARE(ticks(), QStringLiteral("xxxx"));
    const QList<Message> shown = f.dialogs.takeMessages();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().title, QStringLiteral("Error"));
    QVERIFY(shown.first().text.contains(QStringLiteral("notes.txt")));
}

QUILLON_TEST_MAIN(TestWindowController)
#include "tst_windowcontroller.moc"
