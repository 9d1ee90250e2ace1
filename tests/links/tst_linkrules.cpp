#include "links/foldergroups.h"
#include "links/linktable.h"
#include "links/scriptaddress.h"
#include "testmain.h"

using namespace quillon;

class TestLinkRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scriptAddress_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("script");
        QTest::newRow("javascript") << "javascript:alert(1)" << true;
        QTest::newRow("upper case") << "JavaScript:void(0)" << true;
        QTest::newRow("vbscript") << "vbscript:msgbox" << true;
        QTest::newRow("data") << "data:text/html,<b>x</b>" << true;
        QTest::newRow("controls, blanks, tab inside") << " \x01java\tscript:x" << true;
        QTest::newRow("CR LF inside") << "java\r\nscript:x" << true;
        QTest::newRow("http") << "http://example.com/javascript:" << false;
        QTest::newRow("file") << "file:///c:/x" << false;
        QTest::newRow("mailto") << "mailto:a@b" << false;
        QTest::newRow("no scheme") << "javascript" << false;
        QTest::newRow("long s is no s") << QStringLiteral("javaſcript:x") << false;
        QTest::newRow("blank inside") << "java script:x" << false;
        QTest::newRow("empty") << "" << false;
    }
    void scriptAddress()
    {
        QFETCH(QString, address);
        QFETCH(bool, script);
        QCOMPARE(isScriptAddress(address), script);
    }

    void groupsKeepTheirNames()
    {
        LinkTable table;
        const auto add = [&table](QString folder) {
            table.append({true, std::move(folder), QStringLiteral("s"), QStringLiteral("u"), {}});
        };
        add({});
        add(QStringLiteral("A"));
        add({});
        add(QString()); // empty text opens no group
        add(QStringLiteral("A\\B"));
        const std::vector<FolderGroup> groups = folderGroups(table);
        QCOMPARE(groups.size(), size_t(3));
        QCOMPARE(groups[0].folderName, QString());
        QCOMPARE(groups[1].firstRow, 1);
        QCOMPARE(groups[1].endRow, 4);
        QCOMPARE(groups[1].folderName, QStringLiteral("A"));
        QCOMPARE(groups[2].folderName, QStringLiteral("A\\B"));
        QCOMPARE(groups[2].endRow, 5);
        QVERIFY(folderGroups(LinkTable()).empty());
    }
};

QUILLON_TEST_MAIN(TestLinkRules)
#include "tst_linkrules.moc"
