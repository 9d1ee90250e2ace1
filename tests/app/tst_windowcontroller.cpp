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

#include <QFile>
#include <QPushButton>
#include <QRadioButton>
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

QByteArray shortcut(const QByteArray &address)
{
    return "[DEFAULT]\r\nBASEURL=" + address + "\r\n";
}

struct Fixture {
    MemoryFileSystem fs;
    ScriptedDialogs dialogs;
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
        env.drives = {QStringLiteral("C:"), QStringLiteral("D:")};
        env.initialFolder = initialFolder;
        env.homeFolder = QStringLiteral("C:\\Users\\me");
        window = std::make_unique<MainWindow>(dialogs, env);
    }

    FolderList *dir() const { return window->findChild<FolderList *>(QStringLiteral("Dir1")); }
    DriveList *drive() const { return window->findChild<DriveList *>(QStringLiteral("Drive1")); }
    LinkGrid *grid() const { return window->findChild<LinkGrid *>(QStringLiteral("UltraGrid")); }
    QPushButton *writeButton() const
    {
        return window->findChild<QPushButton *>(QStringLiteral("cmdWriteToFile"));
    }
    void openFolder(const QString &path) const { QVERIFY(dir()->setPath(path)); }

    QStringList sites() const
    {
        QStringList out;
        for (const LinkRecord &r : window->linkRecordset()->records())
            out << r.FolderName.value_or(QStringLiteral("-")) + u'|' + *r.SiteName;
        return out;
    }
};

} // namespace

class TestWindowController : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startUpIsFreshAndRefusesTheStartFolder();
    void startUpSurvivesAMissingStartFolder();
    void startUpWithoutAFolderChangeLeavesTheGridUnbound();
    void refusalIsAnExactComparison_data();
    void refusalIsAnExactComparison();
    void generateFillsTheBoundTableAndCanRepeat();
    void nothingFoundIsReportedAndWritesAnEmptyFile();
    void folderOrDriveChangeReturnsToFresh();
    void outputTypeChoosesKindAndFilter();
    void writeToFileInBothKinds();
    void writeToFileCancelAndFailure();
    void exitClosesTheTableAndEnds();
    void closingDuringAWalkStopsIt();
};

void TestWindowController::startUpIsFreshAndRefusesTheStartFolder()
{
    Fixture f;
    f.open();
    QCOMPARE(f.window->UserSelectedPath, QStringLiteral("C:\\Documents and Settings"));
    QCOMPARE(f.dir()->path(), QStringLiteral("C:\\Documents and Settings"));
    QCOMPARE(f.drive()->drive(), QStringLiteral("C:"));
    QCOMPARE(f.window->htmlOutput(), OutputKind::Dat);
    QCOMPARE(f.window->dialogFilter(), QStringLiteral("DAT (*.dat)|*.dat"));
    QVERIFY(!f.writeButton()->isEnabled());
    QCOMPARE(f.grid()->caption(), QStringLiteral("Deselect What You Do Not Want"));
    // The grid shows the table bound by the folder change; the window holds a second one.
    QVERIFY(f.grid()->dataSource());
    QVERIFY(f.window->linkRecordset());
    QVERIFY(f.grid()->dataSource() != f.window->linkRecordset());
    QVERIFY(f.dialogs.messages.isEmpty());

    const auto shown = f.grid()->dataSource();
    const auto before = f.window->linkRecordset();
    f.window->cmdGenerate_Click();
    QCOMPARE(f.dialogs.messages,
             QList<Message>({{TooBroad, QStringLiteral("Quillon"), Dialogs::Icon::None}}));
    QVERIFY(f.window->linkRecordset() != before);
    QCOMPARE(f.window->linkRecordset()->recordCount(), 0);
    QCOMPARE(f.grid()->dataSource(), shown);
    QVERIFY(!f.writeButton()->isEnabled());
    QCOMPARE(f.window->UserSelectedPath, QStringLiteral("C:\\Documents and Settings"));
}

void TestWindowController::startUpSurvivesAMissingStartFolder()
{
    MemoryFileSystem fs;
    fs.addFolder(QStringLiteral("C:\\Users\\me"));
    ScriptedDialogs dialogs;
    WindowEnvironment env{&fs,
                          PlatformProfile::windows(),
                          {QStringLiteral("C:")},
                          QStringLiteral("C:\\Gone"),
                          QStringLiteral("C:\\Users\\me")};
    MainWindow window(dialogs, env);
    QCOMPARE(window.UserSelectedPath, QStringLiteral("C:\\Users\\me"));
    QCOMPARE(window.htmlOutput(), OutputKind::Dat);
    QCOMPARE(window.dialogFilter(), QStringLiteral("DAT (*.dat)|*.dat"));
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("cmdWriteToFile"))->isEnabled());
    QVERIFY(dialogs.messages.isEmpty());

    // Without a home folder either, the root is opened.
    MemoryFileSystem bare;
    bare.addFolder(QStringLiteral("C:\\"));
    env.fileSystem = &bare;
    MainWindow rootWindow(dialogs, env);
    QCOMPARE(rootWindow.UserSelectedPath, QStringLiteral("C:\\"));
}

void TestWindowController::startUpWithoutAFolderChangeLeavesTheGridUnbound()
{
    Fixture f;
    f.open(QStringLiteral("C:\\Documents and Settings\\"));
    QVERIFY(!f.grid()->dataSource());
    QCOMPARE(f.grid()->caption(), QString());
    QCOMPARE(f.window->UserSelectedPath, QStringLiteral("C:\\Documents and Settings"));
    QCOMPARE(f.window->htmlOutput(), OutputKind::Dat);
}

void TestWindowController::refusalIsAnExactComparison_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("handedOn");
    QTest::addColumn<QStringList>("records");
    QTest::newRow("the root") << "C:\\" << true << "" << QStringList();
    QTest::newRow("the start folder")
        << "C:\\Documents and Settings" << true << "" << QStringList();
    QTest::newRow("lower-case root, two backslashes")
        << "c:\\" << false << "c:\\\\"
        << QStringList({"Documents and Settings\\me\\Favorites|Top",
                        "Documents and Settings\\me\\Favorites\\News|BBC", "-|CNN"});
    QTest::newRow("another drive's root")
        << "D:\\" << false << "D:\\\\" << QStringList({"Links|d"});
    QTest::newRow("a folder below") << "C:\\Documents and Settings\\me\\Favorites" << false
                                    << "C:\\Documents and Settings\\me\\Favorites\\"
                                    << QStringList({"-|Top", "News|BBC", "-|CNN"});
}

void TestWindowController::refusalIsAnExactComparison()
{
    QFETCH(QString, folder);
    QFETCH(bool, refused);
    QFETCH(QString, handedOn);
    QFETCH(QStringList, records);
    Fixture f;
    f.open();
    f.openFolder(folder);
    QCOMPARE(f.window->UserSelectedPath, folder);
    f.window->cmdGenerate_Click();
    QCOMPARE(f.dialogs.messageTexts(), refused ? QStringList{TooBroad} : QStringList{});
    QCOMPARE(f.writeButton()->isEnabled(), !refused);
    if (!refused) {
        QCOMPARE(f.window->UserSelectedPath, handedOn);
        QCOMPARE(f.sites(), records);
        QCOMPARE(f.grid()->dataSource(), f.window->linkRecordset());
    }
}

void TestWindowController::generateFillsTheBoundTableAndCanRepeat()
{
    Fixture f;
    f.open();
    f.openFolder(QStringLiteral("C:\\Documents and Settings\\me\\Favorites"));
    f.window->cmdGenerate_Click();
    const QString first = f.window->UserSelectedPath;
    const QStringList firstSites = f.sites();
    QCOMPARE(f.grid()->model()->rowCount(), 3);
    QCOMPARE(f.grid()->view()->currentIndex(), f.grid()->model()->index(0, 0));

    const int listedBefore =
        f.fs.listCount(QStringLiteral("C:\\Documents and Settings\\me\\Favorites\\News"));
    f.window->cmdGenerate_Click();
    QCOMPARE(f.window->UserSelectedPath, first);
    QCOMPARE(f.sites(), firstSites);
    QCOMPARE(f.fs.listCount(QStringLiteral("C:\\Documents and Settings\\me\\Favorites\\News")),
             listedBefore + 1);
    QVERIFY(f.dialogs.messages.isEmpty());
}

void TestWindowController::nothingFoundIsReportedAndWritesAnEmptyFile()
{
    Fixture f;
    f.open();
    f.openFolder(QStringLiteral("C:\\Windows"));
    f.window->cmdGenerate_Click();
    QCOMPARE(f.dialogs.messages,
             QList<Message>({{NothingFound, QStringLiteral("Quillon"), Dialogs::Icon::None}}));
    QVERIFY(f.writeButton()->isEnabled());
    QCOMPARE(f.grid()->caption(), QStringLiteral("Deselect What You Do Not Want"));

    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("empty.dat"));
    f.dialogs.saveAnswers = {target};
    f.window->cmdWriteToFile_Click();
    QVERIFY(QFileInfo::exists(target));
    QCOMPARE(QFileInfo(target).size(), 0);
    QCOMPARE(f.dialogs.messages.last(),
             (Message{QString(), QStringLiteral("Success"), Dialogs::Icon::None}));
}

void TestWindowController::folderOrDriveChangeReturnsToFresh()
{
    Fixture f;
    f.open();
    f.openFolder(QStringLiteral("C:\\Documents and Settings\\me\\Favorites"));
    f.window->cmdGenerate_Click();
    QVERIFY(f.writeButton()->isEnabled());

    f.drive()->setCurrentIndex(1); // the user picks D:
    QCOMPARE(f.dir()->path(), QStringLiteral("D:\\"));
    QCOMPARE(f.window->UserSelectedPath, QStringLiteral("D:\\"));
    QVERIFY(!f.writeButton()->isEnabled());
    QCOMPARE(f.window->linkRecordset()->recordCount(), 0);
    QCOMPARE(f.grid()->dataSource(), f.window->linkRecordset());
    QCOMPARE(f.grid()->model()->rowCount(), 0);

    // Opening the folder that is already open changes nothing: the stored path keeps its "\".
    f.window->cmdGenerate_Click();
    QCOMPARE(f.window->UserSelectedPath, QStringLiteral("D:\\\\"));
    f.openFolder(QStringLiteral("D:\\"));
    QCOMPARE(f.window->UserSelectedPath, QStringLiteral("D:\\\\"));
    QVERIFY(f.writeButton()->isEnabled());

    // A folder that cannot be opened is reported, and the window stays as it was.
    QVERIFY(!f.dir()->setPath(QStringLiteral("E:\\")));
    f.drive()->addItem(QStringLiteral("E:"));
    f.drive()->setCurrentIndex(2);
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages.first().icon, Dialogs::Icon::Critical);
    QVERIFY(f.dialogs.messages.first().text.contains(QStringLiteral("E:\\")));
    QCOMPARE(f.dir()->path(), QStringLiteral("D:\\"));
    QCOMPARE(f.drive()->drive(), QStringLiteral("D:"));
}

void TestWindowController::outputTypeChoosesKindAndFilter()
{
    Fixture f;
    f.open();
    f.window->findChild<QRadioButton *>(QStringLiteral("optOutPutType_1"))->setChecked(true);
    QCOMPARE(f.window->htmlOutput(), OutputKind::Html);
    QCOMPARE(f.window->dialogFilter(), QStringLiteral("HTML (*.html)|*.html"));
    f.window->optOutPutType_Click(2);
    f.window->optOutPutType_Click(-1);
    QCOMPARE(f.window->htmlOutput(), OutputKind::Html);
    QCOMPARE(f.window->dialogFilter(), QStringLiteral("HTML (*.html)|*.html"));
    f.window->findChild<QRadioButton *>(QStringLiteral("optOutPutType_0"))->setChecked(true);
    QCOMPARE(f.window->htmlOutput(), OutputKind::Dat);
    QCOMPARE(f.window->dialogFilter(), QStringLiteral("DAT (*.dat)|*.dat"));
}

void TestWindowController::writeToFileInBothKinds()
{
    Fixture f;
    f.open();
    f.openFolder(QStringLiteral("C:\\Documents and Settings\\me\\Favorites"));
    f.window->cmdGenerate_Click();
    // Unticking the group's first row moves its heading to the group's next ticked row.
    LinkTableModel *model = f.grid()->model();
    QVERIFY(model->setData(model->index(1, 0), Qt::Unchecked, Qt::CheckStateRole));

    QTemporaryDir out;
    const QString dat = out.filePath(QStringLiteral("links"));
    f.dialogs.saveAnswers = {dat};
    f.window->cmdWriteToFile_Click();
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
    f.window->cmdWriteToFile_Click();
    QCOMPARE(f.dialogs.saveRequests.last().proposedName, dat); // the last confirmed name
    QCOMPARE(f.dialogs.saveRequests.last().filter, QStringLiteral("HTML (*.html)|*.html"));
    const QByteArray page = readFileBytes(html);
    QVERIFY(page.startsWith(
        "<HTML>\r\n<HEAD>\r\n<TITLE>Links</TITLE>\r\n</HEAD>\r\n<BODY>\r\n<UL> \r\n"));
    QVERIFY(page.endsWith("</UL> \r\n</BODY>\r\n</HTML>\r\n"));
    QVERIFY(!page.contains("BBC"));
    QCOMPARE(f.dialogs.messages.size(), 2);
    QCOMPARE(f.dialogs.unexpectedDialogs, 0);
}

void TestWindowController::writeToFileCancelAndFailure()
{
    Fixture f;
    f.open();
    f.openFolder(QStringLiteral("C:\\Documents and Settings\\me\\Favorites"));
    f.window->cmdGenerate_Click();
    QTemporaryDir out;
    const QString existing = out.filePath(QStringLiteral("keep.dat"));
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("precious");
    file.close();

    f.dialogs.saveAnswers = {std::nullopt, QString()}; // cancel, then an empty name
    f.window->cmdWriteToFile_Click();
    f.window->cmdWriteToFile_Click();
    QVERIFY(f.dialogs.messages.isEmpty());
    QCOMPARE(readFileBytes(existing), QByteArray("precious"));

    f.dialogs.saveAnswers = {out.filePath(QStringLiteral("missing/links.dat"))};
    f.window->cmdWriteToFile_Click();
    QCOMPARE(f.dialogs.messages.size(), 1);
    QCOMPARE(f.dialogs.messages.first().title, QStringLiteral("Error"));
    QCOMPARE(f.dialogs.messages.first().icon, Dialogs::Icon::Critical);
    QVERIFY(f.dialogs.messages.first().text.contains(QStringLiteral("missing/links.dat")));

    f.dialogs.saveAnswers = {existing};
    f.window->cmdWriteToFile_Click();
    QCOMPARE(f.dialogs.messages.last().title, QStringLiteral("Success"));
    QVERIFY(readFileBytes(existing).startsWith("<UL> \r\n"));
    QCOMPARE(f.dialogs.unexpectedDialogs, 0);
}

void TestWindowController::exitClosesTheTableAndEnds()
{
    Fixture f;
    f.open();
    const std::weak_ptr<LinkTable> table = f.window->linkRecordset();
    QSignalSpy ended(f.window.get(), &MainWindow::programEnded);
    f.window->cmdExit_Click();
    QCOMPARE(ended.size(), 1);
    QVERIFY(!f.window->linkRecordset());
    QVERIFY(table.expired());
}

void TestWindowController::closingDuringAWalkStopsIt()
{
    Fixture f;
    for (int i = 0; i < 20; ++i)
        f.fs.addFile(QStringLiteral("C:\\Big\\F%1\\s.url").arg(i), shortcut("http://s/"));
    InterruptingFileSystem slow(f.fs);
    f.open(QStringLiteral("C:\\Windows"), &slow);
    f.window->show();
    f.openFolder(QStringLiteral("C:\\Big"));
    int listings = 0;
    slow.onList = [&] {
        if (++listings == 3)
            f.window->close(); // as the window system's close button would, mid-walk
    };
    f.window->cmdGenerate_Click();
    QVERIFY(!f.window->isVisible());
    QVERIFY(!f.window->isWalking());
    QVERIFY(f.window->linkRecordset()->recordCount() < 20);
    QVERIFY(f.dialogs.messages.isEmpty());
}

QUILLON_TEST_MAIN(TestWindowController)
#include "tst_windowcontroller.moc"
