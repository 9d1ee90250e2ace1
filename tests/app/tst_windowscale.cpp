// The window at twice the scale on a 1280×900 screen, as ctest starts it: every control is in
// reach. Also shows the window after Generate at that scale.

#include "app/folderlist.h"
#include "app/mainwindow.h"
#include "grid/linkgrid.h"
#include "scan/hostfilesystem.h"
#include "scripteddialogs.h"
#include "testmain.h"

#include <QDir>
#include <QScreen>

using namespace quillon;

class TestWindowScale : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyControlIsInReach();
};

void TestWindowScale::everyControlIsInReach()
{
    if (qgetenv("QT_SCALE_FACTOR") != "2")
        QSKIP("run by ctest, with QT_SCALE_FACTOR=2 on a 1280x900 offscreen screen");
    HostFileSystem fs;
    test::ScriptedDialogs dialogs;
    WindowEnvironment env = WindowEnvironment::host(fs);
    env.initialFolder = QStringLiteral(QUILLON_EXAMPLES_DIR "/favorites");
    MainWindow window(dialogs, env);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect screen = window.screen()->availableGeometry();
    QCOMPARE(screen.size(), QSize(640, 450));
    QVERIFY(screen.contains(window.frameGeometry()));

    window.generate();
    QTRY_VERIFY(!window.isWalking());
    QCOMPARE(window.findChild<LinkGrid *>(QStringLiteral("UltraGrid"))->model()->rowCount(), 12);
    for (const char *name : {"Label1", "Drive1", "Dir1", "cmdGenerate", "cmdWriteToFile",
                             "frmOutPutOptions", "cmdExit", "UltraGrid"}) {
        const QWidget *control = window.findChild<QWidget *>(QString::fromLatin1(name));
        QVERIFY2(control->isVisible() && window.rect().contains(control->geometry()), name);
        QVERIFY2(control->width() >= 40 && control->height() >= 15, name);
    }
    const QString shot = QStringLiteral(QT_TESTCASE_BUILDDIR "/quillon-window-2x.png");
    QVERIFY(window.grab().save(shot));
    qInfo("Screenshot at twice the scale: %s", qPrintable(shot));
}

QUILLON_TEST_MAIN(TestWindowScale)
#include "tst_windowscale.moc"
