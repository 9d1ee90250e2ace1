#include "links/linktable.h"
#include "testmain.h"

using namespace quillon;

Q_DECLARE_METATYPE(LinkRecord)

class TestLinkTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nullIsNotEmpty_data();
    void nullIsNotEmpty();
};

// What the grid shows and the writer reads: a null field is no value, empty text is a value, and
// only a folder name with text opens a folder group.
void TestLinkTable::nullIsNotEmpty_data()
{
    QTest::addColumn<LinkRecord>("record");
    QTest::addColumn<QString>("values"); // per field: 'n' null, 'v' a value
    QTest::addColumn<bool>("opensGroup");
    QTest::addColumn<bool>("ticked");
    const auto none = std::nullopt;
    QTest::newRow("all null") << LinkRecord{none, none, none, none} << "nnnn" << false << false;
    QTest::newRow("empty texts") << LinkRecord{false, QString(), QString(), QString()} << "vvvv"
                                 << false << false;
    QTest::newRow("a folder group's first row")
        << LinkRecord{true, QStringLiteral("News"), QStringLiteral("BBC"), none} << "vvvn" << true
        << true;
}

void TestLinkTable::nullIsNotEmpty()
{
    QFETCH(LinkRecord, record);
    QFETCH(QString, values);
    QFETCH(bool, opensGroup);
    QFETCH(bool, ticked);
    LinkTable table;
    table.append(record);
    QString shown;
    for (int field = 0; field < LinkFieldCount; ++field)
        shown += table.value(0, LinkField(field)).isValid() ? u'v' : u'n';
    QCOMPARE(shown, values);
    QCOMPARE(table.record(0).opensFolderGroup(), opensGroup);
    QCOMPARE(table.record(0).isTicked(), ticked);
}

QUILLON_TEST_MAIN(TestLinkTable)
#include "tst_linktable.moc"
