#include "scan/listingorder.h"
#include "testmain.h"

using namespace quillon;
using namespace Qt::Literals::StringLiterals;

class TestListingOrder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listingOrderIsThatOfUpperCasedNames_data();
    void listingOrderIsThatOfUpperCasedNames();
};

void TestListingOrder::listingOrderIsThatOfUpperCasedNames_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::newRow("ASCII") << QStringList{u"beta"_s, u"Alpha"_s, u"_x"_s, u"alpha"_s, u"B"_s,
                                          u"b1"_s,   u"a"_s,     u"A"_s,  u"10"_s,    u"9"_s};
    QTest::newRow("upper case longer than the name")
        << QStringList{u"stra\u00DFe"_s, u"STRASSE"_s, u"strasse"_s, u"Strasse b"_s,
                       u"\u00DF"_s,      u"SS"_s,      u"st"_s,      u"sr"_s};
    QTest::newRow("accents and other scripts") << QStringList{u"\u00E9t\u00E9"_s,
                                                              u"Ete"_s,
                                                              u"f"_s,
                                                              u"\u00C9T\u00C9"_s,
                                                              u"\u03B1\u03B2"_s,
                                                              u"\u0391"_s,
                                                              u"z"_s,
                                                              u"\u01C6"_s,
                                                              u"DZ"_s,
                                                              u"\u65E5\u672C"_s};
    // Bytes that are no UTF-8 come through the listing as lone low surrogates.
    QTest::newRow("stray bytes") << QStringList{QString(QChar(0xDCE9)) + u"t"_s, u"ete"_s,
                                                u"\uFFFD"_s, u"x"_s};
}

void TestListingOrder::listingOrderIsThatOfUpperCasedNames()
{
    QFETCH(QStringList, names);
    QList<DirEntry> entries;
    for (const QString &name : names)
        entries.append(DirEntry{name, EntryKind::File});
    sortListing(entries);
    QStringList sorted;
    for (const DirEntry &entry : entries)
        sorted << entry.name;

    QStringList expected = names;
    std::sort(expected.begin(), expected.end(), [](const QString &a, const QString &b) {
        const int c = QString::compare(a.toUpper(), b.toUpper(), Qt::CaseSensitive);
        return c != 0 ? c < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
    QCOMPARE(sorted, expected);
}

QUILLON_TEST_MAIN(TestListingOrder)
#include "tst_listingorder.moc"
