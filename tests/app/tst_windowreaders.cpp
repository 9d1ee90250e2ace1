// The window for people who read it in another language or through a screen reader.

#include "app/folderlist.h"
#include "app/mainwindow.h"
#include "app/userlanguage.h"
#include "grid/linktablemodel.h"
#include "grid/linktableview.h"
#include "scan/hostfilesystem.h"
#include "scripteddialogs.h"
#include "testmain.h"
#include "texts/messages.h"

#include <QAccessible>
#include <QDialogButtonBox>
#include <QDir>
#include <QPushButton>
#include <QTableView>

using namespace quillon;

namespace {

struct Window {
    HostFileSystem fs;
    test::ScriptedDialogs dialogs;
    MainWindow window{dialogs, environment()};
    QTableView *view = window.findChild<QTableView *>(QStringLiteral("gridTable"));

    WindowEnvironment environment() const
    {
        WindowEnvironment env = WindowEnvironment::host(fs);
        env.initialFolder = QDir::tempPath();
        return env;
    }
    void generateExamples()
    {
        QVERIFY(window.findChild<FolderList *>(QStringLiteral("Dir1"))
                    ->setPath(QStringLiteral(QUILLON_EXAMPLES_DIR "/favorites")));
        window.generate();
        QTRY_VERIFY(!window.isWalking());
        QVERIFY(view->model()->rowCount() > 2);
    }
};

// What a screen reader says a control is. A combo box is read by its value on Linux, and by
// the name of the label it is the buddy of.
QString readerName(QWidget *control)
{
    QAccessibleInterface *readable = QAccessible::queryAccessibleInterface(control);
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
    void gridAlwaysHasACurrentRow_data();
    void gridAlwaysHasACurrentRow();
};

void TestWindowReaders::everyControlHasAReaderName_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("gridName");
    QTest::newRow("English") << QLocale::c() << QStringLiteral("Links found");
    QTest::newRow("German") << QLocale(QLocale::German) << QStringLiteral("Gefundene Links");
}

void TestWindowReaders::everyControlHasAReaderName()
{
    QFETCH(QLocale, locale);
    const UserLanguage language(locale);
    Window w;
    w.window.show();
    for (QWidget *control : w.window.findChildren<QWidget *>()) {
        if (control->focusPolicy() != Qt::NoFocus && control->isVisibleTo(&w.window))
            QVERIFY2(!readerName(control).isEmpty(), qPrintable(control->objectName()));
    }
    QTEST(readerName(w.view), "gridName");
}

void TestWindowReaders::germanWindow()
{
    const UserLanguage language(QLocale(QLocale::German, QLocale::Germany));
    QVERIFY(language.isTranslated());
    Window w;
    w.window.show();
    QCOMPARE(w.window.findChild<QPushButton *>(QStringLiteral("cmdGenerate"))->text(),
             QStringLiteral("&Erzeugen"));
    QCOMPARE(messages::TooBroad.translated(),
             QStringLiteral("Diese Auswahl ist zu weit gefasst, bitte grenzen Sie Ihre Suche ein"));
    // The exporter prints the English source, whatever the locale.
    QCOMPARE(messages::TooBroad.english(),
             QStringLiteral("This Selection Is Too Broad, Please Narrow Down Your Search"));
    // Qt's own texts, as in the standard dialogs, come in the same language.
    QDialogButtonBox buttons(QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));

    w.generateExamples();
    QCOMPARE(w.view->model()->headerData(1, Qt::Horizontal).toString(),
             QStringLiteral("Ordnername"));
    const QString shot = QStringLiteral(QT_TESTCASE_BUILDDIR "/quillon-window-de.png");
    QVERIFY(w.window.grab().save(shot));
    qInfo("Screenshot of the German window after Generate: %s", qPrintable(shot));
}

void TestWindowReaders::tickCellsSayWhichLinkTheyTick()
{
    Window w;
    w.generateExamples();
    QAbstractItemModel *model = w.view->model();
    QCOMPARE(w.view->currentIndex(), model->index(0, 0));

    QAccessibleInterface *cell =
        QAccessible::queryAccessibleInterface(w.view)->tableInterface()->cellAt(1, 0);
    QCOMPARE(cell->text(QAccessible::Name),
             QStringLiteral("Tick %1").arg(model->index(1, 2).data().toString()));
    QCOMPARE(cell->text(QAccessible::Description), model->index(1, 3).data().toString());
    QVERIFY(cell->state().checkable && cell->state().checked);
    model->setData(model->index(1, 0), Qt::Unchecked, Qt::CheckStateRole);
    QVERIFY(!cell->state().checked);
}

void TestWindowReaders::gridAlwaysHasACurrentRow_data()
{
    QTest::addColumn<bool>("fillAfterBinding");
    QTest::newRow("table bound full") << false;
    QTest::newRow("rows added while shown") << true;
}

void TestWindowReaders::gridAlwaysHasACurrentRow()
{
    QFETCH(bool, fillAfterBinding);
    LinkTableModel model;
    LinkTableView view(model);
    std::vector<LinkRecord> records;
    for (const QString &site : {QStringLiteral("a"), QStringLiteral("b")})
        records.push_back({true, {}, site, QStringLiteral("https://%1.example/").arg(site)});
    if (fillAfterBinding) {
        model.setTable();
        model.appendRecords(records);
    } else {
        LinkTable table;
        for (const LinkRecord &record : records)
            table.append(record);
        model.setTable(std::move(table));
    }
    QCOMPARE(view.currentIndex(), model.index(0, 0));
    QVERIFY(!view.selectionModel()->hasSelection());
}

QUILLON_TEST_MAIN(TestWindowReaders)
#include "tst_windowreaders.moc"
