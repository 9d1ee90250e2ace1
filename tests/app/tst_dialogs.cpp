// The real message box, as a person sees it.

#include "app/dialogs.h"
#include "app/windowsettings.h"
#include "testmain.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>

using namespace quillon;

class TestDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void messageBoxIsWideEnoughForItsTitle_data();
    void messageBoxIsWideEnoughForItsTitle();
    void fileDialogStateStaysInQuillonsFolder();
};

void TestDialogs::fileDialogStateStaysInQuillonsFolder()
{
    WindowSettings::keepQtStateWithOurs();
    {
        QFileDialog dialog; // writes its state when it goes
    }
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QVERIFY(config.startsWith(QDir::tempPath())); // the test's own folder, not the user's
    QVERIFY(QFileInfo::exists(config + QStringLiteral("/Quillon/QtProject.conf")));
    QVERIFY(!QFileInfo::exists(config + QStringLiteral("/QtProject.conf")));
}

void TestDialogs::messageBoxIsWideEnoughForItsTitle_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::newRow("empty text") << QString() << QStringLiteral("Success");
    QTest::newRow("long title, short text")
        << QStringLiteral("Done.") << QStringLiteral("A Title Much Longer Than Its Text");
}

void TestDialogs::messageBoxIsWideEnoughForItsTitle()
{
    QFETCH(QString, text);
    QFETCH(QString, title);
    QtDialogs dialogs;
    int shownWidth = -1;
    int needed = 0;
    QString shownTitle;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        shownWidth = box->width();
        shownTitle = box->windowTitle();
        needed = titleBarWidth(*box, title);
        box->accept();
    });
    dialogs.showMessage(nullptr, text, title, Dialogs::Icon::None);
    QCOMPARE(shownTitle, title);
    QVERIFY2(shownWidth >= needed,
             qPrintable(QStringLiteral("%1 < %2").arg(shownWidth).arg(needed)));
}

QUILLON_TEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
