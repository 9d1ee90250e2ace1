// Ticking many rows at once in the grid: Space over the selected rows and the context menu.

#include "grid/linkgrid.h"
#include "grid/tickmenu.h"
#include "groupedtable.h"
#include "testmain.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QSignalSpy>
#include <QTableView>

using namespace quillon;
using quillon::test::groupedTable;
using quillon::test::ticksOf;

namespace {

// A grid on screen over a table drawn as text.
struct Grid {
    LinkGrid grid;

    Grid(const QString &layout, const QString &ticks)
    {
        grid.setDataSource(groupedTable(layout, ticks));
        grid.resize(600, 400);
        grid.show();
    }

    const LinkTable &table() const { return *grid.model()->table(); }
    LinkTableView *view() const
    {
        return grid.findChild<LinkTableView *>(QStringLiteral("gridTable"));
    }
    TickMenu *menu() const { return grid.findChild<TickMenu *>(QStringLiteral("gridTickMenu")); }
    QAction *action(const QString &name) const { return menu()->findChild<QAction *>(name); }

    // Makes one cell current and selects the given rows, as clicks with Ctrl would.
    void choose(int currentRow, int currentColumn, const QList<int> &rows)
    {
        QItemSelectionModel *selection = view()->selectionModel();
        selection->setCurrentIndex(grid.model()->index(currentRow, currentColumn),
                                   QItemSelectionModel::NoUpdate);
        selection->clearSelection();
        for (int row : rows)
            selection->select(grid.model()->index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    // Right-clicks a row, or the empty area below the rows for -1.
    void rightClick(int row)
    {
        const QPoint at = row >= 0 ? view()->visualRect(grid.model()->index(row, 2)).center()
                                   : QPoint(5, view()->viewport()->height() - 5);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, view()->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(view()->viewport(), &event);
    }
};

const QString Layout = QStringLiteral("ssG..GeG.");

} // namespace

class TestTickingGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void spaceTicksEverySelectedRowOnce_data();
    void spaceTicksEverySelectedRowOnce();
    void menuActionsTickAllOrOneFolder_data();
    void menuActionsTickAllOrOneFolder();
    void folderActionsOnlyOnARow();
    void keyboardOpensTheMenuAtTheCurrentRow_data();
    void keyboardOpensTheMenuAtTheCurrentRow();
    void bulkTickingLeavesScriptLinks_data();
    void bulkTickingLeavesScriptLinks();
    void keysMoveTheCurrentRowIntoView_data();
    void keysMoveTheCurrentRowIntoView();
    void hundredThousandRowsDoNotHang();
    void cleanup();
};

void TestTickingGrid::cleanup()
{
    if (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
}

void TestTickingGrid::spaceTicksEverySelectedRowOnce_data()
{
    QTest::addColumn<QString>("ticks");
    QTest::addColumn<int>("currentRow");
    QTest::addColumn<int>("currentColumn");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QString>("expected");

    using Rows = QList<int>;
    QTest::newRow("one ticked row, tick column") << "1111" << 1 << 0 << Rows{1} << "1011";
    QTest::newRow("one unticked row, tick column") << "1011" << 1 << 0 << Rows{1} << "1111";
    QTest::newRow("one row, site column") << "1111" << 2 << 2 << Rows{2} << "1101";
    QTest::newRow("mixed rows all become ticked") << "0101" << 1 << 0 << Rows{0, 1, 2} << "1111";
    QTest::newRow("ticked rows all become unticked") << "1111" << 3 << 3 << Rows{1, 2, 3} << "1000";
    QTest::newRow("rows apart, current row ticked") << "1010" << 0 << 0 << Rows{0, 3} << "1011";
    QTest::newRow("current row outside the selection: only the current one")
        << "0000" << 3 << 0 << Rows{0, 1} << "0001";
    QTest::newRow("nothing selected: the current row") << "0000" << 2 << 1 << Rows{} << "0010";
}

void TestTickingGrid::spaceTicksEverySelectedRowOnce()
{
    QFETCH(QString, ticks);
    QFETCH(int, currentRow);
    QFETCH(int, currentColumn);
    QFETCH(QList<int>, selected);
    Grid g(QStringLiteral("G...").left(ticks.size()), ticks);
    g.choose(currentRow, currentColumn, selected);
    QSignalSpy changed(g.grid.model(), &QAbstractItemModel::dataChanged);

    QTest::keyClick(g.view(), Qt::Key_Space);
    QTEST(ticksOf(g.table()), "expected");
    QVERIFY(changed.size() <= 2); // one signal per run of neighbouring rows
    // Selection and current cell stay, so a second press undoes the first.
    QCOMPARE(g.view()->currentIndex(), g.grid.model()->index(currentRow, currentColumn));
    QTest::keyClick(g.view(), Qt::Key_Space);
    if (selected.size() <= 1)
        QCOMPARE(ticksOf(g.table()), ticks.replace(u'-', u'0'));
}

void TestTickingGrid::menuActionsTickAllOrOneFolder_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("firstChanged");
    QTest::addColumn<int>("lastChanged");

    // Start ticks "001101011": rows 0-1 the start folder, 2-4, 5-6 and 7-8 folder groups.
    QTest::newRow("select all") << "tickAllAction" << 3 << "111111111" << 0 << 8;
    QTest::newRow("deselect all") << "untickAllAction" << 3 << "000000000" << 0 << 8;
    QTest::newRow("invert") << "invertTicksAction" << 0 << "110010100" << 0 << 8;
    QTest::newRow("select folder from inside") << "tickFolderAction" << 4 << "001111011" << 2 << 4;
    QTest::newRow("deselect folder from its opener")
        << "untickFolderAction" << 2 << "000001011" << 2 << 4;
    QTest::newRow("select the start folder's rows")
        << "tickFolderAction" << 1 << "111101011" << 0 << 1;
    QTest::newRow("empty folder name stays in the group")
        << "untickFolderAction" << 6 << "001100011" << 5 << 6;
    QTest::newRow("last group") << "untickFolderAction" << 8 << "001101000" << 7 << 8;
}

void TestTickingGrid::menuActionsTickAllOrOneFolder()
{
    QFETCH(QString, action);
    QFETCH(int, row);
    Grid g(Layout, QStringLiteral("001101011"));
    QSignalSpy changed(g.grid.model(), &QAbstractItemModel::dataChanged);

    g.rightClick(row);
    QVERIFY(g.menu()->isVisible());
    g.action(action)->trigger();

    QTEST(ticksOf(g.table()), "expected");
    // The grid shows the table's ticks, reported in one signal.
    QCOMPARE(changed.size(), 1);
    QTEST(changed.first().at(0).value<QModelIndex>().row(), "firstChanged");
    QTEST(changed.first().at(1).value<QModelIndex>().row(), "lastChanged");
    for (int r = 0; r < g.table().recordCount(); ++r)
        QCOMPARE(g.grid.model()->index(r, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked,
                 g.table().record(r).ticked);
}

void TestTickingGrid::folderActionsOnlyOnARow()
{
    Grid g(QStringLiteral("sG"), QStringLiteral("00"));
    g.rightClick(-1);
    QVERIFY(g.menu()->isVisible());
    QVERIFY(!g.action(QStringLiteral("tickFolderAction"))->isVisible());
    QVERIFY(!g.action(QStringLiteral("untickFolderAction"))->isVisible());
    g.action(QStringLiteral("tickFolderAction"))->trigger(); // hidden: does nothing
    QCOMPARE(ticksOf(g.table()), QStringLiteral("00"));
    g.action(QStringLiteral("tickAllAction"))->trigger();
    QCOMPARE(ticksOf(g.table()), QStringLiteral("11"));
    g.menu()->close();

    g.rightClick(0);
    QVERIFY(g.action(QStringLiteral("tickFolderAction"))->isVisible());
    g.menu()->close();

    // On an empty grid nothing can act.
    Grid empty(QString(), {});
    empty.rightClick(-1);
    for (const QAction *action : empty.menu()->actions())
        QVERIFY2(action->isSeparator() || !action->isEnabled(), qPrintable(action->text()));
}

void TestTickingGrid::keyboardOpensTheMenuAtTheCurrentRow_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("accessKey");
    QTest::addColumn<QString>("expected");

    QTest::newRow("menu key, deselect folder")
        << int(Qt::Key_Menu) << Qt::KeyboardModifiers() << int(Qt::Key_O) << "110000111";
    QTest::newRow("Shift+F10, select all")
        << int(Qt::Key_F10) << Qt::KeyboardModifiers(Qt::ShiftModifier) << int(Qt::Key_A)
        << "111111111";
    QTest::newRow("menu key, invert")
        << int(Qt::Key_Menu) << Qt::KeyboardModifiers() << int(Qt::Key_I) << "000111000";
}

void TestTickingGrid::keyboardOpensTheMenuAtTheCurrentRow()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, accessKey);
    Grid g(Layout, QStringLiteral("111000111"));
    g.choose(4, 2, {4});
    QTest::keyClick(g.view(), Qt::Key(key), modifiers);
    QVERIFY(g.menu()->isVisible());
    QTest::keyClick(g.menu(), Qt::Key(accessKey));
    QTEST(ticksOf(g.table()), "expected");
}

void TestTickingGrid::bulkTickingLeavesScriptLinks_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("leftUnticked");
    // "sjGj.j": script links in rows 1, 3 and 5; the one in row 5 was ticked by hand.
    QTest::newRow("tick all") << "tickAllAction" << 0 << "101011" << 2;
    QTest::newRow("tick folder") << "tickFolderAction" << 4 << "001011" << 1;
    QTest::newRow("invert") << "invertTicksAction" << 0 << "101010" << 2;
    QTest::newRow("untick all: nothing to say") << "untickAllAction" << 0 << "000000" << 0;
}

void TestTickingGrid::bulkTickingLeavesScriptLinks()
{
    QFETCH(QString, action);
    QFETCH(int, row);
    QFETCH(int, leftUnticked);
    Grid g(QStringLiteral("sjGj.j"), QStringLiteral("000001"));
    QSignalSpy said(&g.grid, &LinkGrid::scriptLinksLeftUnticked);
    g.rightClick(row);
    g.action(action)->trigger();
    QTEST(ticksOf(g.table()), "expected");
    QCOMPARE(said.size(), leftUnticked > 0 ? 1 : 0);
    if (leftUnticked > 0)
        QCOMPARE(said.first().first().toInt(), leftUnticked);
    // One by one, a script link is ticked.
    QTest::mouseClick(g.view()->viewport(), Qt::LeftButton, {},
                      g.view()->visualRect(g.grid.model()->index(1, 0)).center());
    QCOMPARE(g.table().record(1).ticked, true);
}

void TestTickingGrid::keysMoveTheCurrentRowIntoView_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("expected"); // -1: further down than the start
    const Qt::KeyboardModifiers none;
    QTest::newRow("Ctrl+End") << 3 << int(Qt::Key_End) << Qt::KeyboardModifiers(Qt::ControlModifier)
                              << 299;
    QTest::newRow("Ctrl+Home") << 250 << int(Qt::Key_Home)
                               << Qt::KeyboardModifiers(Qt::ControlModifier) << 0;
    QTest::newRow("Page Down") << 0 << int(Qt::Key_PageDown) << none << -1;
    QTest::newRow("Page Up at the top") << 0 << int(Qt::Key_PageUp) << none << 0;
    QTest::newRow("Space on an unseen current row") << 250 << int(Qt::Key_Space) << none << 250;
}

void TestTickingGrid::keysMoveTheCurrentRowIntoView()
{
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, expected);
    Grid g(QStringLiteral("s").repeated(300), {});
    g.choose(from, 0, {});
    g.view()->scrollToTop(); // the current row out of view, as after scrolling with the wheel
    g.view()->setFocus();
    QTest::keyClick(g.view(), Qt::Key(key), modifiers);
    const QModelIndex current = g.view()->currentIndex();
    if (expected >= 0)
        QCOMPARE(current.row(), expected);
    else
        QVERIFY(current.row() > from);
    QVERIFY(g.view()->viewport()->rect().contains(g.view()->visualRect(current)));
    QCOMPARE(ticksOf(g.table()).count(u'0'), key == Qt::Key_Space ? 1 : 0);
    QCOMPARE(g.table().record(current.row()).ticked, key != Qt::Key_Space);
}

void TestTickingGrid::hundredThousandRowsDoNotHang()
{
    QString layout;
    for (int i = 0; i < 100000; ++i)
        layout += i < 30 ? u's' : i % 50 == 0 ? u'G' : u'.';
    Grid g(layout, {});
    g.view()->setCurrentIndex(g.grid.model()->index(0, 0));
    QTest::keyClick(g.view(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(g.view(), Qt::Key_Space);
    QVERIFY(std::none_of(g.table().records().begin(), g.table().records().end(),
                         [](const LinkRecord &r) { return r.ticked; }));

    g.rightClick(0);
    g.action(QStringLiteral("invertTicksAction"))->trigger();
    g.action(QStringLiteral("untickFolderAction"))->trigger(); // the start folder's 30 rows
    g.action(QStringLiteral("tickAllAction"))->trigger();
    g.action(QStringLiteral("untickAllAction"))->trigger();
    QVERIFY(std::none_of(g.table().records().begin(), g.table().records().end(),
                         [](const LinkRecord &r) { return r.ticked; }));
}

QUILLON_TEST_MAIN(TestTickingGrid)
#include "tst_tickinggrid.moc"
