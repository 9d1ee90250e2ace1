#include "links/linktable.h"
#include "testmain.h"

using namespace quillon;

class TestLinkTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fieldsAreFoundByNameInAnyCase_data();
    void fieldsAreFoundByNameInAnyCase();
    void unsetFieldsReadAsNullNotEmpty();
    void recordsKeepAppendOrderThroughTicking();
    void longValuesAreKeptWhole();
};

void TestLinkTable::fieldsAreFoundByNameInAnyCase_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("position");
    QTest::newRow("created name") << "Foldername" << 1;
    QTest::newRow("as the writer spells it") << "FolderName" << 1;
    QTest::newRow("lower case") << "foldername" << 1;
    QTest::newRow("upper case") << "SELECTED" << 0;
    QTest::newRow("site name") << "sitename" << 2;
    QTest::newRow("address") << "Url" << 3;
    QTest::newRow("unknown") << "Folder" << -1;
}

void TestLinkTable::fieldsAreFoundByNameInAnyCase()
{
    QFETCH(QString, name);
    QFETCH(int, position);
    const auto field = linkFieldByName(name);
    QCOMPARE(field ? int(*field) : -1, position);
}

void TestLinkTable::unsetFieldsReadAsNullNotEmpty()
{
    LinkTable table;
    QCOMPARE(table.fieldCount(), 4);
    QCOMPARE(table.recordCount(), 0);
    table.append({true, std::nullopt, QStringLiteral("Site"), QString()});
    QCOMPARE(table.recordCount(), 1);

    QVERIFY(!table.value(0, u"FolderName").isValid());
    QVERIFY(!table.record(0).opensFolderGroup());
    const QVariant url = table.value(0, LinkField::URL);
    QVERIFY(url.isValid());
    QCOMPARE(url.toString(), QString());
    QCOMPARE(table.value(0, u"foldername"), table.value(0, LinkField::FolderName));
    QCOMPARE(table.value(0, u"Selected").toBool(), true);
}

void TestLinkTable::recordsKeepAppendOrderThroughTicking()
{
    LinkTable table;
    for (int i = 0; i < 5; ++i)
        table.append({true, std::nullopt, QString::number(i), QString()});
    table.setSelected(3, false);
    table.setSelected(1, false);
    table.setSelected(3, true);
    QStringList order;
    QList<bool> ticks;
    for (const LinkRecord &r : table.records()) {
        order << *r.SiteName;
        ticks << r.isTicked();
    }
    QCOMPARE(order, QStringList({"0", "1", "2", "3", "4"}));
    QCOMPARE(ticks, QList<bool>({true, false, true, true, true}));
}

void TestLinkTable::longValuesAreKeptWhole()
{
    LinkTable table;
    const QString longUrl = QStringLiteral("https://example.org/") + QString(5000, u'x');
    table.append({true, QString(300, u'f'), QString(251, u's'), longUrl});
    QCOMPARE(table.value(0, LinkField::URL).toString(), longUrl);
    QCOMPARE(table.value(0, LinkField::FolderName).toString().size(), 300);
    QCOMPARE(table.value(0, LinkField::SiteName).toString().size(), 251);
}

QUILLON_TEST_MAIN(TestLinkTable)
#include "tst_linktable.moc"
