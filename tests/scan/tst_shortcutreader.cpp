#include "scan/shortcutreader.h"
#include "testmain.h"

using namespace quillon;

class TestShortcutReader : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void address_data();
    void address();
    void parserUsesTheGivenKeyword();
    void decodesByteOrderMarksAndBadBytes_data();
    void decodesByteOrderMarksAndBadBytes();
};

void TestShortcutReader::address_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("old style, value exactly as written")
        << QByteArray("[DEFAULT]\r\nBASEURL=http://Example.org/A b \r\n[InternetShortcut]\r\n"
                      "URL=http://other.example/\r\n")
        << "http://Example.org/A b ";
    QTest::newRow("key in small letters") << QByteArray("baseurl=http://x/Y\r\n") << "http://x/Y";
    QTest::newRow("key in mixed letters") << QByteArray("BaseUrl=http://x/\r\n") << "http://x/";
    QTest::newRow("key with nothing after it") << QByteArray("BASEURL=\r\nURL=http://u/\r\n") << "";
    QTest::newRow("first of two keys counts")
        << QByteArray("BASEURL=http://first/\r\nBASEURL=http://second/\r\n") << "http://first/";
    QTest::newRow("blank and other lines first")
        << QByteArray("\r\n\r\n[DEFAULT]\r\nX=1\r\nBASEURL=http://late/\r\n") << "http://late/";
    QTest::newRow("key further in gives the text after it")
        << QByteArray("  BASEURL=http://indented/\r\n") << "http://indented/";
    QTest::newRow("base key beats an earlier URL line")
        << QByteArray(
               "[InternetShortcut]\r\nURL=http://url/\r\n[DEFAULT]\r\nBASEURL=http://base/\r\n")
        << "http://base/";
    QTest::newRow("only URL, as browsers write it")
        << QByteArray("[InternetShortcut]\r\nURL=https://modern.example/?a=1&b=2\r\n")
        << "https://modern.example/?a=1&b=2";
    QTest::newRow("URL key in any case, blanks before it")
        << QByteArray("[InternetShortcut]\n  url=http://spaced/\n") << "http://spaced/";
    QTest::newRow("first URL line counts")
        << QByteArray("URL=http://one/\nURL=http://two/\n") << "http://one/";
    QTest::newRow("IconFile is no URL line")
        << QByteArray("[InternetShortcut]\nIconFile=http://icon/\nURL=http://real/\n")
        << "http://real/";
    QTest::newRow("value keeps later equals signs")
        << QByteArray("URL=http://q/?a=b=c\n") << "http://q/?a=b=c";
    QTest::newRow("no address at all") << QByteArray("[InternetShortcut]\r\nIDList=\r\n") << "";
    QTest::newRow("empty file") << QByteArray() << "";
    QTest::newRow("line feeds only")
        << QByteArray("[DEFAULT]\nBASEURL=http://lf/\nURL=x\n") << "http://lf/";
    QTest::newRow("carriage returns only")
        << QByteArray("[DEFAULT]\rBASEURL=http://cr/\rURL=x\r") << "http://cr/";
    QTest::newRow("no final line end")
        << QByteArray("[DEFAULT]\r\nBASEURL=http://end/") << "http://end/";
    QTest::newRow("binary garbage") << QByteArray("\x00\xff\x01\x02\r\x9c", 6) << "";
}

void TestShortcutReader::address()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const QString result = shortcutAddress(bytes);
    QCOMPARE(result, expected);
    QVERIFY(!result.contains(u'\r') && !result.contains(u'\n'));
}

void TestShortcutReader::parserUsesTheGivenKeyword()
{
    const QString text = QStringLiteral("[X]\r\nIconIndex=3\r\nURL=http://u/\r\n");
    QCOMPARE(Parser(u"iconindex=", text), QStringLiteral("3"));
    // Parser alone has no fallback: a file without the key gives empty text.
    QCOMPARE(Parser(u"BASEURL=", text), QString());
}

void TestShortcutReader::decodesByteOrderMarksAndBadBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    const QString cafe = QStringLiteral("http://caf\u00e9.example/\U0001F600");
    QTest::newRow("UTF-8 with mark")
        << QByteArray("\xEF\xBB\xBFURL=" + cafe.toUtf8() + "\r\n") << cafe;
    QTest::newRow("UTF-8 without mark") << QByteArray("URL=" + cafe.toUtf8()) << cafe;

    const QString line = QStringLiteral("BASEURL=") + cafe + QStringLiteral("\r\n");
    QByteArray le("\xFF\xFE");
    QByteArray be("\xFE\xFF");
    for (const QChar c : line) {
        const ushort u = c.unicode();
        le.append(char(u & 0xFF)).append(char(u >> 8));
        be.append(char(u >> 8)).append(char(u & 0xFF));
    }
    QTest::newRow("UTF-16LE with mark") << le << cafe;
    QTest::newRow("UTF-16BE with mark") << be << cafe;
    QTest::newRow("invalid UTF-8 becomes replacement")
        << QByteArray("URL=http://bad/\xC3(\xFF\r\n") << QStringLiteral("http://bad/\uFFFD(\uFFFD");
}

void TestShortcutReader::decodesByteOrderMarksAndBadBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(shortcutAddress(bytes), expected);
}

QUILLON_TEST_MAIN(TestShortcutReader)
#include "tst_shortcutreader.moc"
