#include "grid/linktablemodel.h"
#include "groupedtable.h"
#include "testmain.h"

#include <QAbstractItemModelTester>
#include <QFont>
#include <QSignalSpy>

using namespace quillon;
using quillon::test::groupedTable;

namespace {

LinkTable tableOf(int records)
{
    LinkTable table;
    for (int i = 0; i < records; ++i)
        table.append({true, i == 0 ? QStringLiteral("Group") : QString(),
                      QStringLiteral("site %1").arg(i), QStringLiteral("http://%1/").arg(i)});
    return table;
}

} // namespace

class TestLinkTableModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsFieldsAsColumns();
    void appendedRecordsArriveInOneBatch();
    void tickingWritesIntoSelectedOnly();
    void bulkTickingSignalsRunsOfRows();
    void folderGroupSpansFromOpenerToNextOpener_data();
    void folderGroupSpansFromOpenerToNextOpener();
    void scriptAddressesShowWhyTheyStartUnticked_data();
    void scriptAddressesShowWhyTheyStartUnticked();
};

void TestLinkTableModel::showsFieldsAsColumns()
{
    LinkTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.columnCount(), 0); // nothing bound yet
    model.setTable(tableOf(2));
    QCOMPARE(model.columnCount(), 4);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Foldername"));
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::ToolTipRole).toString(),
             QStringLiteral("Selected"));
    QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("Group"));
    QVERIFY(!model.index(1, 1).data().isValid()); // null stays null
    QCOMPARE(model.index(1, 3).data().toString(), QStringLiteral("http://1/"));
    QCOMPARE(model.index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QVERIFY(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);
    QVERIFY(!(model.flags(model.index(0, 2)) & (Qt::ItemIsUserCheckable | Qt::ItemIsEditable)));

    // Light grey marks only the folder cell of a row that opens a group.
    QCOMPARE(model.index(0, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(192, 192, 192));
    QVERIFY(!model.index(0, 2).data(Qt::BackgroundRole).isValid());
    QVERIFY(!model.index(1, 1).data(Qt::BackgroundRole).isValid());
}

void TestLinkTableModel::appendedRecordsArriveInOneBatch()
{
    LinkTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.appendRecords({{true, QString(), QStringLiteral("lost"), QString()}});
    QCOMPARE(model.rowCount(), 0); // nothing bound: nothing to append to
    model.setTable(tableOf(1));
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    model.appendRecords(
        std::vector<LinkRecord>(500, {true, QString(), QStringLiteral("more"), {}}));
    model.appendRecords({});
    QCOMPARE(model.rowCount(), 501);
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(inserted.first().at(1).toInt(), 1);
    QCOMPARE(inserted.first().at(2).toInt(), 500);
    QCOMPARE(model.index(500, LinkTableModel::SiteColumn).data().toString(), u"more");
    QVERIFY(!model.ticksChanged());
}

void TestLinkTableModel::tickingWritesIntoSelectedOnly()
{
    LinkTableModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setTable(tableOf(3));
    const LinkTable *table = model.table();
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    QVERIFY(model.setData(model.index(1, 0), Qt::Unchecked, Qt::CheckStateRole));
    QCOMPARE(table->record(1).ticked, false);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().at(0).value<QModelIndex>(), model.index(1, 0));
    QVERIFY(model.ticksChanged());

    QVERIFY(!model.setData(model.index(1, 2), QStringLiteral("renamed"), Qt::EditRole));
    QVERIFY(!model.setData(model.index(1, 0), true, Qt::EditRole));
    QVERIFY(!model.setData(model.index(7, 0), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(table->record(1).siteName, QStringLiteral("site 1"));
    QCOMPARE(changed.size(), 1);
}

void TestLinkTableModel::bulkTickingSignalsRunsOfRows()
{
    LinkTableModel model;
    model.setTable(tableOf(10));
    const LinkTable *table = model.table();
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.toggleTicks({5, 1, 2, 3, 9, 2, 42});
    QList<bool> ticks;
    for (const LinkRecord &r : table->records())
        ticks << r.ticked;
    QCOMPARE(ticks, QList<bool>({true, false, false, false, true, false, true, true, true, false}));
    QCOMPARE(changed.size(), 3); // rows 1-3, 5, 9
    QCOMPARE(changed.at(0).at(1).value<QModelIndex>().row(), 3);
}

void TestLinkTableModel::folderGroupSpansFromOpenerToNextOpener_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");

    const QString mixed = QStringLiteral("ssG..GeG.");
    QTest::newRow("start folder, first row") << mixed << 0 << 0 << 2;
    QTest::newRow("start folder, last row") << mixed << 1 << 0 << 2;
    QTest::newRow("opening row") << mixed << 2 << 2 << 5;
    QTest::newRow("row before the next group") << mixed << 4 << 2 << 5;
    QTest::newRow("empty folder name continues the group") << mixed << 6 << 5 << 7;
    QTest::newRow("last group ends with the table") << mixed << 8 << 7 << 9;
    QTest::newRow("no start folder rows") << QStringLiteral("G.G") << 1 << 0 << 2;
    QTest::newRow("one-row group") << QStringLiteral("G.G") << 2 << 2 << 3;
    QTest::newRow("only start folder rows") << QStringLiteral("sss") << 1 << 0 << 3;
    QTest::newRow("row past the end") << mixed << 9 << 0 << 0;
    QTest::newRow("negative row") << mixed << -1 << 0 << 0;
}

void TestLinkTableModel::folderGroupSpansFromOpenerToNextOpener()
{
    QFETCH(QString, layout);
    QFETCH(int, row);
    LinkTableModel model;
    model.setTable(groupedTable(layout));
    const FolderGroup group = model.folderGroup(row);
    QTEST(group.firstRow, "first");
    QTEST(group.endRow, "last");
}

void TestLinkTableModel::scriptAddressesShowWhyTheyStartUnticked_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("script");
    QTest::newRow("javascript") << "javascript:alert(1)" << true;
    QTest::newRow("hidden scheme") << " \x01java\tscript:void(0)" << true;
    QTest::newRow("data") << "DATA:text/html,<b>x</b>" << true;
    QTest::newRow("web page") << "http://example.com/javascript:" << false;
    QTest::newRow("mail") << "mailto:me@example.com" << false;
}

void TestLinkTableModel::scriptAddressesShowWhyTheyStartUnticked()
{
    QFETCH(QString, address);
    QFETCH(bool, script);
    LinkTable table;
    table.append({false, QStringLiteral("Group"), QStringLiteral("site"), address});
    LinkTableModel model;
    model.setTable(std::move(table));
    const QModelIndex cell = model.index(0, LinkTableModel::UrlColumn);
    QCOMPARE(cell.data().toString(), address);
    const QString tip = cell.data(Qt::ToolTipRole).toString();
    QCOMPARE(tip.startsWith(QStringLiteral("Script address")), script);
    QVERIFY(tip.endsWith(address));
    QCOMPARE(cell.data(Qt::ForegroundRole).isValid(), script);
    QCOMPARE(cell.data(Qt::FontRole).value<QFont>().italic(), script);
    // Only the address cell looks different, and the row can still be ticked.
    QVERIFY(!model.index(0, LinkTableModel::SiteColumn).data(Qt::ForegroundRole).isValid());
    QVERIFY(model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole));
    QCOMPARE(model.table()->record(0).ticked, true);
}

QUILLON_TEST_MAIN(TestLinkTableModel)
#include "tst_linktablemodel.moc"
