#include "fakewebserver.h"
#include "favoritestree.h"
#include "testmain.h"

#include "cli/exportoptions.h"

#include <QProcess>
#include <QSignalSpy>

using namespace quillon;
using quillon::test::FakeAnswer;
using quillon::test::FakeWebServer;
using quillon::test::FavoritesTree;
using quillon::test::readFileBytes;

class TestLinkCheckExport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void refusesCheckOptionsAlone_data();
    void refusesCheckOptionsAlone();
    void checksArchivesAndReports();
};

void TestLinkCheckExport::refusesCheckOptionsAlone_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("report alone") << QStringList{"--link-report", "r.tsv"} << false;
    QTest::newRow("untick alone") << QStringList{"--untick-dead"} << false;
    QTest::newRow("jobs alone") << QStringList{"--check-jobs", "8"} << false;
    QTest::newRow("zero jobs") << QStringList{"--check-links", "--check-jobs", "0"} << false;
    QTest::newRow("no timeout") << QStringList{"--check-links", "--check-timeout", "0"} << false;
    QTest::newRow("file: service")
        << QStringList{"--check-links", "--archive-service", "file:///x"} << false;
    QTest::newRow("all") << QStringList{"--check-links",
                                        "--check-jobs",
                                        "8",
                                        "--check-timeout",
                                        "2.5",
                                        "--archive-dead",
                                        "--archive-service",
                                        "http://mirror.example/available"}
                         << true;
}

void TestLinkCheckExport::refusesCheckOptionsAlone()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, accepted);
    const ParsedCommandLine parsed =
        parseCommandLine(QStringList{"quillon-export", "folder"} + arguments);
    QCOMPARE(parsed.outcome, accepted ? ParseOutcome::Run : ParseOutcome::UsageError);
    if (accepted) {
        QCOMPARE(parsed.options.linkCheck->jobs, 8);
        QCOMPARE(parsed.options.linkCheck->timeoutMs, 2500);
    }
}

void TestLinkCheckExport::checksArchivesAndReports()
{
    QUILLON_REQUIRE_LOOPBACK_ONLY();
    FakeWebServer server;
    server.script("ok.example/", {{200}});
    server.script("gone.example/a", {{404}});
    server.script("kept.example/b", {{410}});
    server.script("old.example/c", {{301, {{"Location", "http://old.example/new"}}}});
    server.script("old.example/new", {{200}});
    server.script("archive.example/available",
                  {{200, {}, 0, FakeAnswer::Kind::Whole, R"j({"archived_snapshots":{}})j"},
                   {200,
                    {},
                    0,
                    FakeAnswer::Kind::Whole,
                    R"j({"archived_snapshots":{"closest":{"available":true,"url":)j"
                    R"j("http://archive.example/web/1/http://kept.example/b"}}})j"}});
    FavoritesTree tree;
    tree.addShortcut("1 ok.url", "http://ok.example/");
    tree.addShortcut("News/2 gone.url", "http://gone.example/a");
    tree.addShortcut("News/3 kept.url", "http://kept.example/b");
    tree.addShortcut("News/4 old.url", "http://old.example/c");
    tree.addShortcut("News/5 mail.url", "mailto:me@example.org");
    const QString report = tree.path("report.tsv");
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("http_proxy", server.proxyAddress());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUILLON_EXPORT_PATH),
                  {"--check-links", "--link-report", report, "--archive-dead", "--untick-dead",
                   "--use-new-addresses", "--archive-service", "http://archive.example/available",
                   tree.root()});
    QSignalSpy finished(&process, &QProcess::finished);
    QVERIFY(finished.wait(30000));
    QCOMPARE(process.exitCode(), 0);
    // The archive is asked in row order: it has no copy of the first dead link, one of the second.
    QCOMPARE(readFileBytes(report), "status\tcode\taddress\tfinal\tfolder\tsite\n"
                                    "ok\t200\thttp://ok.example/\t\t\t1 ok\n"
                                    "dead\t404\thttp://gone.example/a\t\tNews\t2 gone\n"
                                    "archived\t410\thttp://kept.example/b\t"
                                    "http://archive.example/web/1/http://kept.example/b\tNews\t"
                                    "3 kept\n"
                                    "moved\t200\thttp://old.example/c\thttp://old.example/new\t"
                                    "News\t4 old\n"
                                    "skipped\t\tmailto:me@example.org\t\tNews\t5 mail\n");
    const QByteArray list = process.readAllStandardOutput();
    QVERIFY(!list.contains("gone.example"));
    QVERIFY(list.contains("http://archive.example/web/1/http://kept.example/b"));
    QVERIFY(list.contains("http://old.example/new") && !list.contains("old.example/c"));
}

QUILLON_TEST_MAIN(TestLinkCheckExport)
#include "tst_linkcheckexport.moc"
