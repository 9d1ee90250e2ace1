#include "shortcuts/shortcutencodings.h"
#include "shortcuts/shortcutfile.h"
#include "shortcuts/shortcutreader.h"
#include "testmain.h"

#include <QStringDecoder>
#include <QStringEncoder>

using namespace quillon;

class TestShortcutReader : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void address_data();
    void address();
    void decodesByteOrderMarksAndAnsi_data();
    void decodesByteOrderMarksAndAnsi();
    void windows1252AsQtWithIcuDecodesIt();
    void decodesUtf7_data();
    void decodesUtf7();
    void modifiedAt_data();
    void modifiedAt();
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

    const QByteArray unicodeSection =
        "[InternetShortcut]\r\nURL=http://example.com/Proc?dure\r\n"
        "[InternetShortcut.W]\r\nURL=http://example.com/Proc+AOk-dure\r\n";
    const QString procedure = QStringLiteral("http://example.com/Proc\u00e9dure");
    QTest::newRow("Unicode section gives back what '?' lost") << unicodeSection << procedure;
    QTest::newRow("Unicode section name in other case, blanks around")
        << QByteArray("URL=http://x/?\n [internetshortcut.w]  \nurl=http://x/+AOk-\n")
        << "http://x/\u00e9";
    QTest::newRow("Unicode section first") << QByteArray("[InternetShortcut.W]\nURL=+AOk-\n"
                                                         "[InternetShortcut]\nURL=?\n")
                                           << "\u00e9";
    QTest::newRow("BASEURL keeps its priority over the Unicode section")
        << "[DEFAULT]\r\nBASEURL=http://base/\r\n" + unicodeSection << "http://base/";
    QTest::newRow("ill-formed Unicode value falls back to the plain line")
        << QByteArray("URL=http://x/a+b\n[InternetShortcut.W]\nURL=http://x/a+b\n")
        << "http://x/a+b";
    QTest::newRow("line end inside the Unicode value falls back")
        << QByteArray("URL=http://x/\n[InternetShortcut.W]\nURL=http://x/+AA0ACg-evil\n")
        << "http://x/";
    QTest::newRow("other sections are not the Unicode one")
        << QByteArray("[InternetShortcut.A]\nURL=http://a/\n[InternetShortcut.Wx]\nURL=+AOk-\n")
        << "http://a/";
    QTest::newRow("long s is no s: look-alike key in UTF-8")
        << QString::fromUtf8("BA\u017FEURL=http://evil/\r\nURL=http://real/\r\n").toUtf8()
        << "http://real/";
    const QString lookAlike = QStringLiteral("BA\u017FEURL=http://evil/\nURL=http://r/");
    QTest::newRow("long s is no s: look-alike key in UTF-16")
        << "\xFF\xFE" + QByteArray(QStringEncoder(QStringConverter::Utf16LE)(lookAlike))
        << "http://r/";
    // Read in linear time: searched to the file's end for every line, this takes minutes.
    QTest::newRow("a mebibyte of CR-only lines")
        << QByteArray("x\r").repeated(1 << 19) + "URL=http://late/\r"
        << "http://late/";
    QTest::newRow("dotless i and Kelvin sign are no key letters")
        << QString::fromUtf8("\u212Aey=1\nBASEURL\u0131=x\nURL=http://ok/\n").toUtf8()
        << "http://ok/";
}

void TestShortcutReader::address()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const QString result = readInternetShortcut(bytes).address;
    QCOMPARE(result, expected);
    QVERIFY(!result.contains(u'\r') && !result.contains(u'\n'));
}

void TestShortcutReader::decodesByteOrderMarksAndAnsi_data()
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
    QTest::newRow("UTF-8 with mark: invalid bytes become replacement")
        << QByteArray("\xEF\xBB\xBFURL=http://bad/\xC3(\xFF\r\n")
        << QStringLiteral("http://bad/\uFFFD(\uFFFD");
    QTest::newRow("not UTF-8 as a whole: Windows-1252")
        << QByteArray("URL=http://x/\xC3\xA9\xC3(\r\n")
        << QStringLiteral("http://x/\u00c3\u00a9\u00c3(");
    QTest::newRow("Windows-1252 at the end of a file without a line end")
        << QByteArray("URL=http://example.com/caf\xe9")
        << QStringLiteral("http://example.com/caf\u00e9");
    QTest::newRow("Windows-1252 special and unassigned bytes")
        << QByteArray("URL=\x80\x81\x8A\x8D\x8F\x90\x99\x9D\x9F\xA0\xFF")
        << QStringLiteral("\u20ac\u0081\u0160\u008d\u008f\u0090\u2122\u009d\u0178\u00a0\u00ff");
    QTest::newRow("UTF-8 cut off at the end is not UTF-8")
        << QByteArray("URL=x\xE2\x82") << QStringLiteral("x\u00e2\u201a");
}

void TestShortcutReader::decodesByteOrderMarksAndAnsi()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(readInternetShortcut(bytes).address, expected);
}

// The table stands in for Qt's decoder where Qt has none; where it has, the two agree.
void TestShortcutReader::windows1252AsQtWithIcuDecodesIt()
{
    QStringDecoder qtDecoder("windows-1252");
    if (!qtDecoder.isValid())
        QSKIP("this Qt is built without ICU");
    for (int byte = 0; byte < 256; ++byte) {
        const char c = char(byte);
        QCOMPARE(decodeWindows1252(QByteArrayView(&c, 1)), qtDecoder.decode(QByteArrayView(&c, 1)));
    }
}

void TestShortcutReader::decodesUtf7_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("wellFormed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("direct characters") << "http://x/?a=1&b" << true << "http://x/?a=1&b";
    QTest::newRow("plus minus is a plus") << "a+-b" << true << "a+b";
    QTest::newRow("run ended by minus") << "Proc+AOk-dure" << true << "Proc\u00e9dure";
    QTest::newRow("run ended by another character") << "A+ImIDkQ." << true << "A\u2262\u0391.";
    QTest::newRow("minus after a run is absorbed once")
        << "Hi Mom -+Jjo--!" << true << "Hi Mom -\u263a-!";
    QTest::newRow("three units in one run") << "+ZeVnLIqe-" << true << "\u65e5\u672c\u8a9e";
    QTest::newRow("surrogate pair") << "+2D3eAA-" << true << "\U0001F600";
    QTest::newRow("plus at the end") << "abc+" << false << "";
    QTest::newRow("plus before a blank") << "a+ b" << false << "";
    QTest::newRow("a digit too many") << "+AOkA-" << false << "";
    QTest::newRow("pad bits not zero") << "+AOl-" << false << "";
    QTest::newRow("lone high surrogate") << "+2D0-" << false << "";
    QTest::newRow("eight-bit character") << "caf\u00e9" << false << "";
}

void TestShortcutReader::decodesUtf7()
{
    QFETCH(QString, text);
    QFETCH(bool, wellFormed);
    QFETCH(QString, expected);
    const std::optional<QString> decoded = decodeUtf7(text);
    QCOMPARE(decoded.has_value(), wellFormed);
    if (wellFormed)
        QCOMPARE(*decoded, expected);
}

void TestShortcutReader::modifiedAt_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("expected"); // -1: none

    // 1000000000 is 2001-09-09 01:46:40 UTC; 1700000000 is 2023-11-14 22:13:20 UTC.
    QTest::newRow("eight bytes") << QByteArray(
                                        "[InternetShortcut]\r\nModified=0080FF44D138C101\r\n")
                                 << qint64(1000000000);
    QTest::newRow("two more digits, small letters, key in other case")
        << QByteArray("URL=http://x/\nmodified=00006dc64717da01d6\n") << qint64(1700000000);
    QTest::newRow("blanks around")
        << QByteArray("  Modified=00006DC64717DA01  \n") << qint64(1700000000);
    QTest::newRow("in a Windows-1252 file")
        << QByteArray("URL=caf\xe9\nModified=00006DC64717DA01") << qint64(1700000000);
    QTest::newRow("first line counts")
        << QByteArray("Modified=00006DC64717DA01\nModified=0080FF44D138C101\n")
        << qint64(1700000000);
    QTest::newRow("none") << QByteArray("[InternetShortcut]\nURL=http://x/\n") << qint64(-1);
    QTest::newRow("zero") << QByteArray("Modified=0000000000000000\n") << qint64(-1);
    QTest::newRow("too short") << QByteArray("Modified=00006DC64717DA0\n") << qint64(-1);
    QTest::newRow("too long") << QByteArray("Modified=00006DC64717DA01D6A\n") << qint64(-1);
    QTest::newRow("not hex") << QByteArray("Modified=00006DC64717DA0G\n") << qint64(-1);
    QTest::newRow("not at a line start")
        << QByteArray("X-Modified=00006DC64717DA01\n") << qint64(-1);
}

void TestShortcutReader::modifiedAt()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, expected);
    const std::optional<qint64> want =
        expected < 0 ? std::nullopt : std::optional<qint64>(expected);
    QCOMPARE(readInternetShortcut(bytes).modifiedAt, want);
    QCOMPARE(readShortcutContent(ShortcutFormat::InternetShortcut, bytes).modifiedAt, want);
}

QUILLON_TEST_MAIN(TestShortcutReader)
#include "tst_shortcutreader.moc"
