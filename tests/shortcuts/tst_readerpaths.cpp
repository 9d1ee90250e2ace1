// The reader's two ways through a shortcut: pure ASCII is read straight from the bytes, anything
// with a byte-order mark is decoded first. Both must find the same address.

#include "shortcuts/shortcutreader.h"
#include "testmain.h"

using namespace quillon;

class TestReaderPaths : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void asciiAndDecodedReadingsAgree_data();
    void asciiAndDecodedReadingsAgree();
};

void TestReaderPaths::asciiAndDecodedReadingsAgree_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("address");
    const auto row = [](const char *name, const QByteArray &bytes, const QByteArray &address) {
        QTest::newRow(name) << bytes << QString::fromLatin1(address);
    };
    row("old style, CR LF",
        "[DEFAULT]\r\nBASEURL=http://a/\r\n[InternetShortcut]\r\nURL=http://b/\r\n", "http://a/");
    row("URL line only, LF", "[InternetShortcut]\nURL=http://b/\n", "http://b/");
    row("CR only", "URL=http://b/\rIconIndex=1\r", "http://b/");
    row("any letter case", "baseurl=http://a/\nuRl=http://b/", "http://a/");
    row("key inside a line", "xx BaseUrl=http://a/ tail\n", "http://a/ tail");
    row("BASEURL after URL", "URL=http://u/\nBASEURL=http://a/\n", "http://a/");
    row("blanks before URL", "[InternetShortcut]\n \t URL=http://b/\n", "http://b/");
    row("URL not at a line start", "XURL=http://x/\nURL=http://b/\n", "http://b/");
    row("first of two URL lines", "URL=http://1/\r\nURL=http://2/\r\n", "http://1/");
    row("BASEURL without =", "BASEURL http://a/\nURL=http://b/", "http://b/");
    row("equal signs in the value", "URL=http://b/?a=1&b=2\n", "http://b/?a=1&b=2");
    row("key at the very end", "[DEFAULT]\nBASEURL=", QByteArray());
    row("no key", "[InternetShortcut]\nIDList=\n", QByteArray());
    row("empty", "", QByteArray());
    row("NUL in the value", QByteArray("URL=a\0b\n", 8), QByteArray("a\0b", 3));
}

void TestReaderPaths::asciiAndDecodedReadingsAgree()
{
    // A byte-order mark sends the same text through the decoding reader; pure ASCII without
    // one is read straight from the bytes.
    QFETCH(QByteArray, bytes);
    QFETCH(QString, address);
    QCOMPARE(readInternetShortcut(bytes).address, address);
    QCOMPARE(readInternetShortcut("\xEF\xBB\xBF" + bytes).address, address);
}

QUILLON_TEST_MAIN(TestReaderPaths)
#include "tst_readerpaths.moc"
