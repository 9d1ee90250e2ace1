#include "links/linktable.h"
#include "scan/favoriteswalk.h"
#include "scan/hostfilesystem.h"
#include "shortcuts/desktoplink.h"
#include "shortcuts/shortcutfile.h"
#include "shortcuts/webloc.h"
#include "testmain.h"

using namespace quillon;

namespace {

const QByteArray xmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                           "<plist version=\"1.0\">\n";

QByteArray xmlPlist(const QByteArray &body)
{
    return xmlHead + body + "\n</plist>\n";
}

// Binary property lists as Python's plistlib writes them.
// {"URL": "https://example.org/a?b=1&c=2"}: an ASCII string whose length follows the marker.
const QByteArray binaryAscii = QByteArray::fromHex(
    "62706c6973743030d101025355524c5f101d68747470733a2f2f6578616d706c652e6f72672f613f623d3126"
    "633d32080b0f000000000000010100000000000000030000000000000000000000000000002f");
// {"Other": "x", "URL": "https://café.example/ü"}: a UTF-16 string, not the first key.
const QByteArray binaryUtf16 = QByteArray::fromHex(
    "62706c6973743030d201020304554f746865725355524c51786f101600680074007400700073003a002f002f"
    "00630061006600e9002e006500780061006d0070006c0065002f00fc080d1317190000000000000101000000"
    "000000000500000000000000000000000000000048");
// {"URL": 5}
const QByteArray binaryNumber = QByteArray::fromHex(
    "62706c6973743030d101025355524c1005080b0f000000000000010100000000000000030000000000000000"
    "000000000000000011");
// ["URL", "https://x/"]
const QByteArray binaryArray = QByteArray::fromHex(
    "62706c6973743030a201025355524c5a68747470733a2f2f782f080b0f000000000000010100000000000000"
    "030000000000000000000000000000001a");
// {"url": "https://x/"}
const QByteArray binaryLowerKey = QByteArray::fromHex(
    "62706c6973743030d101025375726c5a68747470733a2f2f782f080b0f000000000000010100000000000000"
    "030000000000000000000000000000001a");

QByteArray patched(QByteArray bytes, qsizetype at, QByteArray with)
{
    return bytes.replace(at, with.size(), with);
}

} // namespace

class TestShortcutFormats : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void weblocAddress_data();
    void weblocAddress();
    void desktopLink_data();
    void desktopLink();
    void fileKindsAndSiteNames_data();
    void fileKindsAndSiteNames();
    void exampleTreeOfEveryKind();
};

void TestShortcutFormats::weblocAddress_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("xml") << xmlPlist("<dict>\n\t<key>URL</key>\n\t<string>https://example.org/a?b="
                                     "1&amp;c=2</string>\n</dict>")
                         << "https://example.org/a?b=1&c=2";
    QTest::newRow("xml, other keys first, a nested URL key ignored")
        << xmlPlist("<dict><key>Meta</key><dict><key>URL</key><string>http://inner/</string>"
                    "</dict><key>Count</key><integer>3</integer><key>URL</key>"
                    "<string>http://outer/</string></dict>")
        << "http://outer/";
    QTest::newRow("xml, non-ASCII and a byte-order mark")
        << QByteArray("\xEF\xBB\xBF") + xmlPlist("<dict><key>URL</key><string>http://caf\xC3\xA9/"
                                                 "</string></dict>")
        << QString::fromUtf8("http://caf\xC3\xA9/");
    QTest::newRow("xml, no URL key")
        << xmlPlist("<dict><key>url</key><string>x</string></dict>") << "";
    QTest::newRow("xml, URL that is no string")
        << xmlPlist("<dict><key>URL</key><integer>5</integer></dict>") << "";
    QTest::newRow("xml, top is an array")
        << xmlPlist("<array><string>URL</string><string>x</string></array>") << "";
    QTest::newRow("xml, not closed") << xmlHead + "<dict><key>URL</key><string>http://cut/</string>"
                                     << "";
    QTest::newRow("xml, not a property list")
        << QByteArray("<html><key>URL</key><string>x</string></html>") << "";
    QTest::newRow("empty file") << QByteArray() << "";

    QTest::newRow("binary, ASCII, length after the marker")
        << binaryAscii << "https://example.org/a?b=1&c=2";
    QTest::newRow("binary, UTF-16, second key")
        << binaryUtf16 << QString::fromUtf8("https://caf\xC3\xA9.example/\xC3\xBC");
    QTest::newRow("binary, URL is a number") << binaryNumber << "";
    QTest::newRow("binary, top is an array") << binaryArray << "";
    QTest::newRow("binary, key in small letters") << binaryLowerKey << "";
    QTest::newRow("binary, cut short") << binaryAscii.chopped(1) << "";
    QTest::newRow("binary, only the header") << QByteArray("bplist00") << "";
    QTest::newRow("binary, string longer than the file") << patched(binaryAscii, 17, "\x7f") << "";
    QTest::newRow("binary, object offset past the table")
        << patched(binaryAscii, 0x2f, "\xff") << "";
    QTest::newRow("binary, top object past the count")
        << patched(binaryAscii, binaryAscii.size() - 9, "\x03") << "";
    QTest::newRow("binary, offset table inside the header")
        << patched(binaryAscii, binaryAscii.size() - 1, "\x02") << "";
    QTest::newRow("binary, zero-sized references")
        << patched(binaryAscii, binaryAscii.size() - 25, QByteArray(1, '\0')) << "";
}

void TestShortcutFormats::weblocAddress()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(quillon::weblocAddress(bytes), expected);
}

void TestShortcutFormats::desktopLink_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("isLink");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("name");

    QTest::newRow("plain link")
        << QByteArray("[Desktop Entry]\nType=Link\nName=Debian\nURL=https://www.debian.org/\n")
        << true << "https://www.debian.org/"
        << "Debian";
    QTest::newRow("KDE's URL key, CR LF, comments, localised names ignored")
        << QByteArray("# made by hand\r\n[Desktop Entry]\r\nEncoding=UTF-8\r\nName[de]=Deutsch\r\n"
                      "Name=Plain\r\nType=Link\r\nURL[$e]=file:///home/me/\r\nIcon=text-html\r\n")
        << true << "file:///home/me/"
        << "Plain";
    QTest::newRow("escapes decoded, blanks around the equals sign")
        << QByteArray("[Desktop Entry]\nType = Link\nName=A\\sB\\tC\\\\D\\nE\\rF\\;G\n"
                      "URL = http://x/\\s\n")
        << true << "http://x/ "
        << "A B\tC\\D\nE\rF\\;G";
    QTest::newRow("no name: the caller uses the file name")
        << QByteArray("[Desktop Entry]\nType=Link\nURL=http://n/\n") << true << "http://n/"
        << "";
    QTest::newRow("no URL: a row with an empty address")
        << QByteArray("[Desktop Entry]\nType=Link\nName=Lost\n") << true << ""
        << "Lost";
    QTest::newRow("keys of other groups ignored")
        << QByteArray("[Desktop Entry]\nType=Link\nURL=http://mine/\n[Desktop Action x]\n"
                      "URL=http://other/\nName=Other\n")
        << true << "http://mine/"
        << "";
    QTest::newRow("group before the entry ignored")
        << QByteArray("[Other]\nType=Link\nURL=http://o/\n[Desktop Entry]\nType=Link\n") << true
        << ""
        << "";
    QTest::newRow("UTF-8 with a byte-order mark")
        << QByteArray("\xEF\xBB\xBF[Desktop Entry]\nType=Link\nName=Caf\xC3\xA9\nURL=http://c/\n")
        << true << "http://c/" << QString::fromUtf8("Caf\xC3\xA9");
    QTest::newRow("application launcher")
        << QByteArray("[Desktop Entry]\nType=Application\nName=Editor\nExec=editor %F\n") << false
        << ""
        << "";
    QTest::newRow("type in other letter case")
        << QByteArray("[Desktop Entry]\nType=link\nURL=http://x/\n") << false << ""
        << "";
    QTest::newRow("type only in another group")
        << QByteArray("[Desktop Entry]\nURL=http://x/\n[Other]\nType=Link\n") << false << ""
        << "";
    QTest::newRow("group name in other letter case")
        << QByteArray("[desktop entry]\nType=Link\nURL=http://x/\n") << false << ""
        << "";
    QTest::newRow("empty file") << QByteArray() << false << ""
                                << "";
}

void TestShortcutFormats::desktopLink()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, isLink);
    QFETCH(QString, address);
    QFETCH(QString, name);

    const std::optional<DesktopLink> link = readDesktopLink(bytes);
    QCOMPARE(link.has_value(), isLink);
    if (link) {
        QCOMPARE(link->address, address);
        QCOMPARE(link->name, name);
    }
}

void TestShortcutFormats::fileKindsAndSiteNames_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("makesRow");
    QTest::addColumn<QString>("siteName");
    QTest::addColumn<QString>("address");

    QTest::newRow("webloc") << "Example.webloc"
                            << xmlPlist("<dict><key>URL</key><string>http://w/</string></dict>")
                            << true << "Example"
                            << "http://w/";
    QTest::newRow("broken webloc")
        << "Broken.webloc" << QByteArray("bplist00junk") << true << "Broken"
        << "";
    QTest::newRow("desktop link named by its Name")
        << "file.desktop" << QByteArray("[Desktop Entry]\nType=Link\nName=Shown\nURL=http://d/\n")
        << true << "Shown"
        << "http://d/";
    QTest::newRow("desktop link without Name")
        << "Unnamed.desktop" << QByteArray("[Desktop Entry]\nType=Link\nURL=http://d/\n") << true
        << "Unnamed"
        << "http://d/";
    QTest::newRow("launcher") << "editor.desktop"
                              << QByteArray("[Desktop Entry]\nType=Application\nExec=ed\n") << false
                              << ""
                              << "";
    QTest::newRow("url keeps its rules")
        << "Old.url" << QByteArray("[InternetShortcut]\r\nURL=http://u/\r\n") << true << "Old"
        << "http://u/";
}

void TestShortcutFormats::fileKindsAndSiteNames()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, makesRow);
    QFETCH(QString, siteName);
    QFETCH(QString, address);

    const std::optional<ShortcutFormat> format = shortcutFormatOf(fileName);
    QVERIFY(format);
    const ShortcutContent content = readShortcutContent(*format, bytes);
    QCOMPARE(content.isLink, makesRow);
    if (makesRow) {
        QCOMPARE(siteNameOf(fileName, *format, content), siteName);
        QCOMPARE(content.address, address);
    }
}

// The example tree on disk, through the real walk: every kind read, the launcher left out.
void TestShortcutFormats::exampleTreeOfEveryKind()
{
    const QString start = QStringLiteral(QUILLON_EXAMPLES_DIR "/all-kinds/");
    LinkTable table;
    walkFavorites(HostFileSystem(), start, start.size(), table);
    QStringList rows;
    for (const LinkRecord &r : table.records())
        rows << r.folderName + u'|' + r.siteName + u'|' + r.address;
    QCOMPARE(rows, (QStringList{
                       "|Debian|https://www.debian.org/",
                       "Linux|Freedesktop|"
                       "https://www.freedesktop.org/wiki/",
                       "|KDE Community|https://kde.org/",
                       "macOS|Qt Documentation|https://doc.qt.io/qt-6/",
                       "|WebKit|https://webkit.org/",
                   }));
}

QUILLON_TEST_MAIN(TestShortcutFormats)
#include "tst_shortcutformats.moc"
