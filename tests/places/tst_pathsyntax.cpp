#include "places/pathsyntax.h"
#include "testmain.h"

using namespace quillon;

class TestPathSyntax : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void normalizedKeepsOnlyARootsSeparator_data();
    void normalizedKeepsOnlyARootsSeparator();
    void parentOf_data();
    void parentOf();
    void contains_data();
    void contains();
    void localFilesTakeTheSyntax_data();
    void localFilesTakeTheSyntax();
};

void TestPathSyntax::normalizedKeepsOnlyARootsSeparator_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("normalized");
    QTest::addColumn<bool>("root");
    QTest::newRow("unix root") << QChar(u'/') << "/"
                               << "/" << true;
    QTest::newRow("unix folder, trailing separators") << QChar(u'/') << "/a/b//"
                                                      << "/a/b" << false;
    QTest::newRow("no drives on unix") << QChar(u'/') << "C:"
                                       << "C:" << false;
    QTest::newRow("bare drive") << QChar(u'\\') << "d:"
                                << "d:\\" << true;
    QTest::newRow("drive root") << QChar(u'\\') << "C:\\"
                                << "C:\\" << true;
    QTest::newRow("drive root, two separators") << QChar(u'\\') << "C:\\\\"
                                                << "C:\\" << true;
    QTest::newRow("folder on a drive") << QChar(u'\\') << "C:\\A\\"
                                       << "C:\\A" << false;
    QTest::newRow("a digit is no drive") << QChar(u'\\') << "1:"
                                         << "1:" << false;
}

void TestPathSyntax::normalizedKeepsOnlyARootsSeparator()
{
    QFETCH(QChar, separator);
    QFETCH(QString, path);
    QFETCH(QString, normalized);
    QFETCH(bool, root);
    const PathSyntax syntax(separator);
    QCOMPARE(syntax.normalized(path), normalized);
    QCOMPARE(syntax.isRoot(normalized), root);
}

void TestPathSyntax::parentOf_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("parent");
    QTest::newRow("below the unix root") << QChar(u'/') << "/a"
                                         << "/";
    QTest::newRow("unix") << QChar(u'/') << "/a/b.url"
                          << "/a";
    QTest::newRow("the unix root") << QChar(u'/') << "/"
                                   << "";
    QTest::newRow("below a drive root") << QChar(u'\\') << "C:\\x.url"
                                        << "C:\\";
    QTest::newRow("a drive root") << QChar(u'\\') << "C:\\"
                                  << "";
    QTest::newRow("no separator") << QChar(u'\\') << "name"
                                  << "";
}

void TestPathSyntax::parentOf()
{
    QFETCH(QChar, separator);
    QFETCH(QString, path);
    QFETCH(QString, parent);
    QCOMPARE(PathSyntax(separator).parentOf(path), parent);
}

void TestPathSyntax::contains_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("contains");
    QTest::newRow("the folder itself") << QChar(u'/') << "/media/usb"
                                       << "/media/usb" << true;
    QTest::newRow("below") << QChar(u'/') << "/media/usb"
                           << "/media/usb/x" << true;
    QTest::newRow("a longer name") << QChar(u'/') << "/media/usb"
                                   << "/media/usb2" << false;
    QTest::newRow("unix names keep their case") << QChar(u'/') << "/media/USB"
                                                << "/media/usb/x" << false;
    QTest::newRow("everything is below the root") << QChar(u'/') << "/"
                                                  << "/home" << true;
    QTest::newRow("a drive in any case") << QChar(u'\\') << "c:"
                                         << "C:\\Users" << true;
    QTest::newRow("another drive") << QChar(u'\\') << "D:"
                                   << "C:\\Users" << false;
}

void TestPathSyntax::contains()
{
    QFETCH(QChar, separator);
    QFETCH(QString, folder);
    QFETCH(QString, path);
    QFETCH(bool, contains);
    QCOMPARE(PathSyntax(separator).contains(folder, path), contains);
}

void TestPathSyntax::localFilesTakeTheSyntax_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("localFile");
    QTest::addColumn<QString>("path");
    QTest::newRow("unix") << QChar(u'/') << "/home/me/x"
                          << "/home/me/x";
    QTest::newRow("drive path as a URL gives it") << QChar(u'\\') << "/C:/Users/me"
                                                  << "C:\\Users\\me";
    QTest::newRow("drive path as Windows gives it") << QChar(u'\\') << "C:/Users"
                                                    << "C:\\Users";
}

void TestPathSyntax::localFilesTakeTheSyntax()
{
    QFETCH(QChar, separator);
    QFETCH(QString, localFile);
    QFETCH(QString, path);
    QCOMPARE(PathSyntax(separator).fromLocalFile(localFile), path);
}

QUILLON_TEST_MAIN(TestPathSyntax)
#include "tst_pathsyntax.moc"
