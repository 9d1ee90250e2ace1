// The window as a person sees and uses it, on the real disk.

#include "app/folderlist.h"
#include "app/mainwindow.h"
#include "favoritestree.h"
#include "grid/linkgrid.h"
#include "places/drivefinder.h"
#include "scan/hostfilesystem.h"
#include "scripteddialogs.h"
#include "testmain.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>

using namespace quillon;
using quillon::test::FavoritesTree;
using quillon::test::readFileBytes;
using quillon::test::ScriptedDialogs;

namespace {

struct Window {
    HostFileSystem fs;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;

    Window()
    {
        WindowEnvironment env = WindowEnvironment::host(fs);
        env.initialFolder = QDir::tempPath();
        window = std::make_unique<MainWindow>(dialogs, env);
    }

    template <typename T = QWidget> T *child(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    LinkGrid *grid() const { return child<LinkGrid>("UltraGrid"); }
    QTableView *view() const
    {
        return grid()->findChild<QTableView *>(QStringLiteral("gridTable"));
    }
    QString caption() const
    {
        return grid()->findChild<QLabel *>(QStringLiteral("gridCaption"))->text();
    }

    void generate(const QString &folder)
    {
        QVERIFY(child<FolderList>("Dir1")->setPath(folder));
        window->generate();
        QTRY_VERIFY(!window->isWalking());
    }
};

// Presses a key as a person does: through the X server when the tests run on one and xdotool
// is at hand, else into the focused widget.
void pressKey(Qt::Key key)
{
    static const bool throughX =
        QGuiApplication::platformName() == u"xcb" &&
        !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
    if (throughX) {
        const QHash<Qt::Key, QString> names = {
            {Qt::Key_Tab, QStringLiteral("Tab")},       {Qt::Key_Up, QStringLiteral("Up")},
            {Qt::Key_Down, QStringLiteral("Down")},     {Qt::Key_Right, QStringLiteral("Right")},
            {Qt::Key_Escape, QStringLiteral("Escape")}, {Qt::Key_Space, QStringLiteral("space")},
            {Qt::Key_Return, QStringLiteral("Return")}};
        QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), names.value(key)});
        QTest::qWait(50);
    } else {
        QTest::keyClick(QApplication::focusWidget(), key);
    }
}

// The window's control that holds the keyboard focus (an option, not its frame).
QString focusedControl(const QWidget *window)
{
    const QWidget *control = QApplication::focusWidget();
    while (control && control->parentWidget() != window &&
           !qobject_cast<const QGroupBox *>(control->parentWidget()))
        control = control->parentWidget();
    return control ? control->objectName() : QStringLiteral("(none)");
}

QString examples()
{
    return QStringLiteral(QUILLON_EXAMPLES_DIR "/favorites");
}

} // namespace

class TestWindowWidgets : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controlsDoNotOverlapAndFitTheWindow_data();
    void controlsDoNotOverlapAndFitTheWindow();
    void captionsAndStartState();
    void tabOrderAndAccessKeys();
    void generateShowsShadedGroupsAndSizedColumns();
    void tickingWithMouseAndSpaceChangesTheOutput();
    void keysTickTheCurrentRowAndAskBeforeLosingTicks();
    void folderListOpensOnDoubleClickOrEnterOnly();
    void driveListOffersWineAndWindowsDrives();
};

void TestWindowWidgets::controlsDoNotOverlapAndFitTheWindow_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("classic") << QSize(688, 398);
    QTest::newRow("large") << QSize(1500, 1000);
    QTest::newRow("smallest") << QSize(1, 1);
}

void TestWindowWidgets::controlsDoNotOverlapAndFitTheWindow()
{
    QFETCH(QSize, size);
    Window w;
    QCOMPARE(w.window->logicalDpiX(), 96);
    QCOMPARE(w.window->size(), QSize(688, 398)); // the classic size, by default
    // At the classic size every control is where the classic window had it, in twips.
    QCOMPARE(w.child("cmdGenerate")->geometry(), QRect(600, 8, 81, 33));
    QCOMPARE(w.child("UltraGrid")->geometry(), QRect(8, 192, 673, 201));
    w.window->show();
    w.window->resize(size);
    QTRY_COMPARE(w.window->size(), size.expandedTo(w.window->minimumSize()));
    QVERIFY(w.window->minimumSize().width() < 640 && w.window->minimumSize().height() < 400);
    // The grid takes the extra room; the commands keep their distance from the right edge.
    const QSize extra = w.window->size() - QSize(688, 398);
    QCOMPARE(w.child("UltraGrid")->size(), QSize(673, 201) + extra);
    QCOMPARE(w.child("cmdGenerate")->pos(), QPoint(600 + extra.width(), 8));

    const QStringList names = {"Label1",  "Drive1",         "Dir1",      "cmdGenerate",
                               "cmdExit", "cmdWriteToFile", "UltraGrid", "frmOutPutOptions"};
    QList<QRect> places;
    for (const QString &name : names) {
        const QWidget *widget = w.window->findChild<QWidget *>(name);
        QVERIFY2(widget, qPrintable(name));
        QVERIFY2(w.window->rect().contains(widget->geometry()), qPrintable(name));
        QVERIFY2(widget->width() > 0 && widget->height() > 0, qPrintable(name));
        places << widget->geometry();
    }
    for (qsizetype i = 0; i < places.size(); ++i) {
        for (qsizetype j = i + 1; j < places.size(); ++j)
            QVERIFY2(!places[i].intersects(places[j]), qPrintable(names[i] + u' ' + names[j]));
    }

    // The two output types sit inside their frame, below its title, one above the other.
    auto *frameBox = w.child<QGroupBox>("frmOutPutOptions");
    const QRect frame = frameBox->geometry();
    const QRect dat = w.child("optOutPutType_0")->geometry();
    const QRect html = w.child("optOutPutType_1")->geometry();
    QVERIFY(frameBox->contentsRect().contains(dat) && frameBox->contentsRect().contains(html));
    QVERIFY(dat.bottom() < html.top());
    // The buttons and the frame form one column.
    for (const char *name : {"cmdGenerate", "cmdWriteToFile", "cmdExit"}) {
        QCOMPARE(w.child(name)->x(), frame.x());
        QCOMPARE(w.child(name)->width(), frame.width());
    }
}

void TestWindowWidgets::captionsAndStartState()
{
    Window w;
    QCOMPARE(w.window->windowTitle(), QStringLiteral("Quillon"));
    QCOMPARE(w.child<QPushButton>("cmdGenerate")->text(), QStringLiteral("&Generate"));
    QCOMPARE(w.child<QPushButton>("cmdWriteToFile")->text(), QStringLiteral("&Write To File"));
    QCOMPARE(w.child<QPushButton>("cmdExit")->text(), QStringLiteral("E&xit"));
    QCOMPARE(w.child<QGroupBox>("frmOutPutOptions")->title(), QStringLiteral("OutPut Options"));
    QCOMPARE(w.child<QLabel>("Label1")->text(), QStringLiteral("Browse to your Favorites folder"));
    QVERIFY(w.child<QLabel>("Label1")->font().bold());
    QCOMPARE(w.child<QLabel>("Label1")->font().pointSizeF(), 9.75);
    QCOMPARE(w.child<QPushButton>("cmdGenerate")->font().pointSizeF(), 8.25);
    QCOMPARE(w.window->font().pointSizeF(), 9.75);
    QVERIFY(w.child<QRadioButton>("optOutPutType_0")->isChecked());
    QVERIFY(!w.child<QRadioButton>("optOutPutType_1")->isChecked());
    QVERIFY(!w.child<QPushButton>("cmdWriteToFile")->isEnabled());
}

void TestWindowWidgets::tabOrderAndAccessKeys()
{
    Window w;
    w.window->show();
    // Without a window manager (as under Xvfb) nothing activates a new window but the program.
    w.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
    QVERIFY(w.child<FolderList>("Dir1")->setPath(examples()));

    // Tab visits each control once, the chosen output option only, and leaves the grid.
    const auto tabPath = [&] {
        w.child("Drive1")->setFocus();
        QStringList path;
        for (int i = 0; i < 7; ++i) {
            pressKey(Qt::Key_Tab);
            path << focusedControl(w.window.get());
        }
        return path;
    };
    QCOMPARE(tabPath(), QStringList({"Dir1", "cmdGenerate", "optOutPutType_0", "cmdExit",
                                     "UltraGrid", "Drive1", "Dir1"}));
    w.child<QRadioButton>("optOutPutType_1")->click();
    w.child<QPushButton>("cmdWriteToFile")->setEnabled(true);
    QCOMPARE(tabPath(), QStringList({"Dir1", "cmdGenerate", "cmdWriteToFile", "optOutPutType_1",
                                     "cmdExit", "UltraGrid", "Drive1"}));
    // The arrows move between the options and choose as they go.
    pressKey(Qt::Key_Tab);
    pressKey(Qt::Key_Tab);
    pressKey(Qt::Key_Tab);
    pressKey(Qt::Key_Tab);
    QCOMPARE(focusedControl(w.window.get()), QStringLiteral("optOutPutType_1"));
    pressKey(Qt::Key_Up);
    QCOMPARE(focusedControl(w.window.get()), QStringLiteral("optOutPutType_0"));
    QVERIFY(w.child<QRadioButton>("optOutPutType_0")->isChecked());
    w.child<QPushButton>("cmdWriteToFile")->setEnabled(false);
    // An access key presses its button the way a click does, a moment later.
    QTest::keyClick(w.window.get(), Qt::Key_W, Qt::AltModifier); // disabled: nothing happens
    QTest::qWait(300);
    QCOMPARE(w.dialogs.saveRequests.size(), 0);
    QTest::keyClick(w.window.get(), Qt::Key_G, Qt::AltModifier);
    QTRY_COMPARE(w.grid()->model()->rowCount(), 12);
    w.dialogs.saveAnswers = {std::nullopt};
    QTest::keyClick(w.window.get(), Qt::Key_W, Qt::AltModifier);
    QTRY_COMPARE(w.dialogs.saveRequests.size(), 1);
    QSignalSpy ended(w.window.get(), &MainWindow::programEnded);
    QTest::keyClick(w.window.get(), Qt::Key_X, Qt::AltModifier);
    QTRY_COMPARE(ended.size(), 1);
}

void TestWindowWidgets::generateShowsShadedGroupsAndSizedColumns()
{
    Window w;
    w.window->show();
    w.generate(examples());
    LinkGrid *grid = w.grid();
    const LinkTableModel *model = grid->model();
    QCOMPARE(model->rowCount(), 12);
    QCOMPARE(w.caption(), QStringLiteral("Deselect What You Do Not Want"));
    QCOMPARE(w.view()->currentIndex(), model->index(0, 0));
    // Active without being selected, so the row's own shading shows.
    QVERIFY(!w.view()->selectionModel()->hasSelection());
    // No column is narrower than its name.
    for (int column = 1; column <= 3; ++column) {
        QVERIFY(w.view()->columnWidth(column) >=
                w.view()->horizontalHeader()->sectionSizeHint(column));
    }

    // Only the folder cell of a row that opens a group is grey.
    for (int row = 0; row < model->rowCount(); ++row) {
        const bool opens = model->index(row, 1).data().isValid();
        for (int column = 0; column < 4; ++column) {
            const QVariant background = model->index(row, column).data(Qt::BackgroundRole);
            const bool grey = background.value<QColor>() == QColor(0xC0, 0xC0, 0xC0);
            QCOMPARE(grey, opens && column == 1);
            QVERIFY(grey || !background.isValid());
        }
    }

    // Each column is as wide as its widest value in the window's font, plus 250 twips: 16.67
    // pixels at 96 DPI.
    const QFontMetricsF metrics(w.window->font());
    for (int column = 1; column <= 3; ++column) {
        double widest = 0;
        for (int row = 0; row < model->rowCount(); ++row)
            widest = std::max(
                widest, metrics.horizontalAdvance(model->index(row, column).data().toString()));
        const int width = w.view()->columnWidth(column);
        QVERIFY2(qAbs(width - (widest + 250.0 / 15)) <= 1.0,
                 qPrintable(QStringLiteral("column %1: %2 pixels for text %3 pixels wide")
                                .arg(column)
                                .arg(width)
                                .arg(widest)));
    }
    // The tick column fits a check box.
    const int indicator = w.view()->style()->pixelMetric(QStyle::PM_IndicatorWidth);
    QVERIFY(w.view()->columnWidth(0) >= indicator);
    QVERIFY(w.view()->columnWidth(0) <= indicator + 12);

    const QString shot = QStringLiteral(QT_TESTCASE_BUILDDIR "/quillon-window.png");
    QVERIFY(w.window->grab().save(shot));
    qInfo("Screenshot of the window after Generate: %s", qPrintable(shot));
    w.window->resize(1200, 720);
    QTRY_COMPARE(w.grid()->size(), QSize(673, 201) + QSize(1200 - 688, 720 - 398));
    const QString large = QStringLiteral(QT_TESTCASE_BUILDDIR "/quillon-window-large.png");
    QVERIFY(w.window->grab().save(large));
    qInfo("Screenshot of the window resized large: %s", qPrintable(large));
}

void TestWindowWidgets::tickingWithMouseAndSpaceChangesTheOutput()
{
    Window w;
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
    w.generate(examples());
    QTableView *view = w.view();
    const LinkTableModel *model = w.grid()->model();

    // A click on the tick box of row 1, then the space bar on row 3.
    const QRect cell = view->visualRect(model->index(1, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(model->index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    view->setFocus();
    view->setCurrentIndex(model->index(3, 0));
    QTest::keyClick(view, Qt::Key_Space);
    QCOMPARE(model->index(3, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));

    QTemporaryDir out;
    const QString target = out.filePath(QStringLiteral("links.html"));
    w.child<QRadioButton>("optOutPutType_1")->click();
    w.dialogs.saveAnswers = {target};
    QTest::mouseClick(w.child<QPushButton>("cmdWriteToFile"), Qt::LeftButton);
    const QByteArray written = readFileBytes(target);
    QVERIFY(written.startsWith("<HTML>\r\n"));
    // Row 1 (Qt Documentation) and row 3 (Hacker News) are left out.
    QStringList names;
    const QRegularExpression link(
        QStringLiteral("<LI><A HREF='[^']*' target='_blank'>([^<]*)</A>"));
    for (const QRegularExpressionMatch &m : link.globalMatch(QString::fromUtf8(written)))
        names << m.captured(1);
    QCOMPARE(names, QStringList({"Debian", "BBC News", "Le Monde", "cppreference", "Wikipedia",
                                 "CMake Reference", "Compiler Explorer", "Caf&#233; M&#252;ller",
                                 "Python", "Rust"}));
    QCOMPARE(w.dialogs.takeMessages().last().title, QStringLiteral("Success"));
}

void TestWindowWidgets::keysTickTheCurrentRowAndAskBeforeLosingTicks()
{
    Window w;
    w.window->show();
    w.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
    w.generate(examples());
    const LinkTableModel *model = w.grid()->model();
    const auto ticked = [model](int row) {
        return model->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
    };
    w.view()->setFocus();
    QTRY_COMPARE(focusedControl(w.window.get()), QStringLiteral("UltraGrid"));
    pressKey(Qt::Key_Down);
    pressKey(Qt::Key_Space);
    QCOMPARE(w.view()->currentIndex().row(), 1);
    QVERIFY(ticked(0));
    QVERIFY(!ticked(1));

    // Another folder, by Enter in the folder list: asked first, and No keeps all as it was.
    auto *dir = w.child<FolderList>("Dir1");
    dir->setFocus();
    QTRY_COMPARE(focusedControl(w.window.get()), QStringLiteral("Dir1"));
    dir->setCurrentItem(dir->findItems(QStringLiteral("News"), Qt::MatchExactly).first());
    w.dialogs.questionAnswers = {false, true};
    pressKey(Qt::Key_Return);
    QCOMPARE(w.dialogs.questions.size(), 1);
    QCOMPARE(dir->path(), QDir::toNativeSeparators(examples()));
    QVERIFY(!ticked(1));
    // Generate again, and Yes: the ticks start over.
    QTest::keyClick(w.window.get(), Qt::Key_G, Qt::AltModifier);
    QTRY_COMPARE(w.dialogs.questions.size(), 2);
    QTRY_VERIFY(!w.window->isWalking());
    QTRY_COMPARE(model->rowCount(), 12);
    QVERIFY(ticked(1));
}

void TestWindowWidgets::folderListOpensOnDoubleClickOrEnterOnly()
{
    Window w;
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
    auto *dir = w.child<FolderList>("Dir1");
    QVERIFY(dir->setPath(examples()));
    const auto itemNamed = [dir](const QString &text) {
        const auto items = dir->findItems(text, Qt::MatchExactly);
        return items.isEmpty() ? nullptr : items.first();
    };
    QListWidgetItem *news = itemNamed(QStringLiteral("News"));
    QVERIFY(news);
    const QPoint at = dir->visualItemRect(news).center();
    QTest::mouseClick(dir->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(dir->path(), QDir::toNativeSeparators(examples())); // highlighted only
    QTest::mouseDClick(dir->viewport(), Qt::LeftButton, {}, at);
    QVERIFY(dir->isListing());
    QVERIFY(!dir->findItems(QStringLiteral("Listing "), Qt::MatchStartsWith).isEmpty());
    QVERIFY(!w.child("cmdGenerate")->isEnabled());
    QTRY_COMPARE(dir->path(), QDir::toNativeSeparators(examples() + QStringLiteral("/News")));
    QVERIFY(w.child("cmdGenerate")->isEnabled());

    // Enter on the parent folder goes back up.
    dir->setFocus();
    dir->setCurrentItem(itemNamed(QStringLiteral("favorites")));
    QTest::keyClick(dir, Qt::Key_Return);
    QTRY_COMPARE(dir->path(), QDir::toNativeSeparators(examples()));
    QVERIFY(!itemNamed(QStringLiteral(".hidden")));
}

void TestWindowWidgets::driveListOffersWineAndWindowsDrives()
{
    FavoritesTree home;
    home.addShortcut(QStringLiteral(".wine/drive_c/users/me/Favorites/Wine HQ.url"),
                     QStringLiteral("https://www.winehq.org/"));
    home.addFolder(QStringLiteral("mnt/c/Users/me/Favorites"));
    DriveSources sources;
    sources.homeFolder = home.root();
    sources.mounts = {{QStringLiteral("C:\\"), home.path("mnt/c"), QStringLiteral("9p")}};

    HostFileSystem fs;
    ScriptedDialogs dialogs;
    WindowEnvironment env = WindowEnvironment::host(fs);
    env.drives = findDrives(sources);
    env.profile = PlatformProfile::unix(sources.mounts);
    env.initialFolder = home.path(".wine/drive_c/users/me/Favorites");
    MainWindow window(dialogs, env);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto *drives = window.findChild<QComboBox *>(QStringLiteral("Drive1"));
    QStringList labels;
    for (int i = 0; i < drives->count(); ++i)
        labels << drives->itemText(i);
    QCOMPARE(labels, QStringList({QStringLiteral("/"),
                                  QStringLiteral("C: (Windows, %1)").arg(home.path("mnt/c")),
                                  QStringLiteral("C: (Wine, ~/.wine)")}));
    auto *dir = window.findChild<FolderList *>(QStringLiteral("Dir1"));
    QVERIFY(dir->setPath(env.initialFolder));
    QCOMPARE(drives->currentText(), QStringLiteral("C: (Wine, ~/.wine)"));
    QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("cmdGenerate"))->toolTip(),
             QStringLiteral("Walks %1").arg(env.initialFolder));
    QVERIFY(dir->toolTip().contains(env.initialFolder));

    // The drive list open, as a person sees it: the window with its popup drawn over it.
    drives->showPopup();
    QWidget *popup = drives->view()->window();
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    QPixmap shot = window.grab();
    {
        QPainter painter(&shot);
        painter.drawPixmap(popup->mapToGlobal(QPoint()) - window.mapToGlobal(QPoint()),
                           popup->grab());
    }
    const QString file = QStringLiteral(QT_TESTCASE_BUILDDIR "/quillon-drives.png");
    QVERIFY(shot.save(file));
    qInfo("Screenshot of the drive list open: %s", qPrintable(file));
    drives->hidePopup();

    // Each drive's root and profiles folder are as broad as C:\\ and are refused.
    const QStringList refused = {home.path("mnt/c"), home.path("mnt/c/Users"),
                                 home.path(".wine/drive_c"), home.path(".wine/drive_c/users")};
    for (const QString &folder : refused) {
        drives->setCurrentIndex(folder.contains(QStringLiteral(".wine")) ? 2 : 1);
        QTRY_VERIFY(!dir->isListing());
        QVERIFY(dir->setPath(folder));
        window.generate();
        QCOMPARE(dialogs.takeMessageTexts(),
                 QStringList({QStringLiteral("This Selection Is Too Broad, Please Narrow Down "
                                             "Your Search")}));
    }
    drives->setCurrentIndex(1);
    QTRY_COMPARE(dir->path(), home.path("mnt/c"));
}

QUILLON_TEST_MAIN(TestWindowWidgets)
#include "tst_windowwidgets.moc"
