// The window for people who read it in another language or through a screen reader.

#include "app/folderlist.h"
#include "app/mainwindow.h"
#include "app/userlanguage.h"
#include "grid/linkgrid.h"
#include "scan/hostfilesystem.h"
#include "scripteddialogs.h"
#include "testmain.h"
#include "texts/messages.h"

#include <QAccessible>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

using namespace quillon;

namespace {

struct Window {
    HostFileSystem fs;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;

    Window()
    {
        WindowEnvironment env = WindowEnvironment::host(fs);
        env.initialFolder = QDir::tempPath();
        window = std::make_unique<MainWindow>(dialogs, env);
    }
    QTableView *view() const
    {
        return window->findChild<QTableView *>(QStringLiteral("gridTable"));
    }
    QString text(const char *name) const
    {
        const QWidget *control = window->findChild<QWidget *>(QLatin1String(name));
        return control ? control->property("text").toString() : QStringLiteral("(missing)");
    }
    void generateExamples()
    {
        QVERIFY(window->findChild<FolderList *>(QStringLiteral("Dir1"))
                    ->setPath(QStringLiteral(QUILLON_EXAMPLES_DIR "/favorites")));
        window->generate();
        QTRY_VERIFY(view()->model()->rowCount() > 2 && !view()->isHidden());
    }
};

QString readerName(QWidget *control)
{
    QAccessibleInterface *readable = QAccessible::queryAccessibleInterface(control);
    // A combo box is read by its value on Linux; its name comes from the label it is buddy of.
    if (readable->role() != QAccessible::ComboBox)
        return readable->text(QAccessible::Name);
    const auto labels = readable->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.constFirst().first->text(QAccessible::Name);
}

} // namespace

class TestWindowReaders : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyControlHasAReaderName_data();
    void everyControlHasAReaderName();
    void germanWindow();
    void tickCellsSayWhichLinkTheyTick();
};

void TestWindowReaders::everyControlHasAReaderName_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("gridName");
    QTest::newRow("English") << QLocale::c() << QStringLiteral("Links found");
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany)
                            << QStringLiteral("Gefundene Links");
}

void TestWindowReaders::everyControlHasAReaderName()
{
    QFETCH(QLocale, locale);
    const UserLanguage language(locale);
    Window w;
    w.window->show();
    for (QWidget *control : w.window->findChildren<QWidget *>()) {
        if (control->focusPolicy() == Qt::NoFocus || !control->isVisibleTo(w.window.get()))
            continue;
        QVERIFY2(!readerName(control).isEmpty(), qPrintable(control->objectName()));
    }
    QFETCH(QString, gridName);
    QCOMPARE(readerName(w.view()), gridName);
}

void TestWindowReaders::germanWindow()
{
    const UserLanguage language(QLocale(QLocale::German, QLocale::Germany));
    QVERIFY(language.isTranslated());
    Window w;
    w.window->show();
    QCOMPARE(w.text("cmdGenerate"), QStringLiteral("&Erzeugen"));
    QCOMPARE(w.text("Label1"), QStringLiteral("Wählen Sie Ihren Favoritenordner"));
    QCOMPARE(messages::TooBroad.translated(),
             QStringLiteral("Diese Auswahl ist zu weit gefasst, bitte grenzen Sie Ihre Suche ein"));
    // The exporter's English stays, whatever the window shows.
    QCOMPARE(messages::TooBroad.english(),
             QStringLiteral("This Selection Is Too Broad, Please Narrow Down Your Search"));
    // Qt's own texts, as in the standard dialogs, come in the same language.
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));

    w.generateExamples();
    QCOMPARE(w.view()->model()->headerData(1, Qt::Horizontal).toString(),
             QStringLiteral("Ordnername"));
    const QString shot = QStringLiteral(QT_TESTCASE_BUILDDIR "/quillon-window-de.png");
    QVERIFY(w.window->grab().save(shot));
    qInfo("Screenshot of the German window after Generate: %s", qPrintable(shot));
}

void TestWindowReaders::tickCellsSayWhichLinkTheyTick()
{
    Window w;
    w.generateExamples();
    QTableView *view = w.view();
    QAbstractItemModel *model = view->model();
    QCOMPARE(view->currentIndex(), model->index(0, 0));

    QAccessibleTableInterface *table =
        QAccessible::queryAccessibleInterface(view)->tableInterface();
    QVERIFY(table);
    QAccessibleInterface *cell = table->cellAt(1, 0);
    const QString site = model->index(1, 2).data().toString();
    QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("Tick %1").arg(site));
    QCOMPARE(cell->text(QAccessible::Description), model->index(1, 3).data().toString());
    QVERIFY(cell->state().checkable);
    QVERIFY(cell->state().checked);
    model->setData(model->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
    QVERIFY(!cell->state().checked);

    // Another Generate makes a fresh table; the grid has a current row again at once.
    w.window->generate();
    QTRY_COMPARE(view->currentIndex(), model->index(0, 0));
}

QUILLON_TEST_MAIN(TestWindowReaders)
#include "tst_windowreaders.moc"
