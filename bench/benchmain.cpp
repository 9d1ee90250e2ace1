// quillon-bench: times the folder walk against the POSIX baseline on generated trees, the
// HTML page writer, and the memory a large walk takes. Run through bench/run; see README.md.

#include "baselinewalk.h"
#include "benchsupport.h"
#include "treegen.h"

#include "links/linktable.h"
#include "output/linklistwriter.h"
#include "scan/favoriteswalk.h"
#include "scan/hostfilesystem.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using namespace quillon;
using namespace quillon::bench;
using namespace Qt::Literals::StringLiterals;

namespace {

// Child mode: walks root and prints "resident-before peak-resident records".
int memoryWalk(const QString &root)
{
    const qint64 before = statusBytes("VmRSS");
    LinkTable table;
    coreWalk(root, table);
    std::printf("%lld %lld %d\n", qlonglong(before), qlonglong(statusBytes("VmHWM")),
                table.recordCount());
    return 0;
}

// Child mode for bench/latency: walks root once and prints "milliseconds records".
int timedWalk(const QString &root)
{
    LinkTable table;
    const Timing took = timeOf([&] { coreWalk(root, table); });
    std::printf("%.1f %d\n", took.wallMs, table.recordCount());
    return table.recordCount() > 0 ? 0 : 1;
}

struct SizeResult {
    int shortcuts = 0;
    int folders = 0;
    Timing baseline;
    Timing core;
    qint64 pageBytes = 0;
    double pageBuildMs = 0;
    double pageSaveMs = 0;
    std::vector<std::pair<qint64, double>> kindSaves; // bytes and time, per writtenKinds entry
};

// Every kind of written list, for the time each takes to save.
constexpr std::pair<OutputKind, const char *> writtenKinds[] = {
    {OutputKind::Dat, "DAT"},
    {OutputKind::Html, "page"},
    {OutputKind::Bookmarks, "bookmarks"},
    {OutputKind::Markdown, "Markdown"},
    {OutputKind::Json, "JSON"},
    {OutputKind::Csv, "CSV"}};

// Runs a program and returns the fields of its one line of output; empty when it failed.
QList<QByteArray> runChild(const QString &program, const QStringList &arguments)
{
    QProcess child;
    child.start(program, arguments);
    const bool finished = child.waitForFinished(600'000);
    // Its messages, less Qt's note on a missing XDG_RUNTIME_DIR (usual in containers).
    for (const QByteArray &line : child.readAllStandardError().split('\n')) {
        if (!line.isEmpty() && !line.startsWith("QStandardPaths: XDG_RUNTIME_DIR"))
            std::fprintf(stderr, "%s\n", line.constData());
    }
    if (!finished || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return {};
    return child.readAllStandardOutput().trimmed().split(' ');
}

// "peak resident, how much of it the work added, per record" from "before peak records".
void printMemory(const char *what, const char *before, const QList<QByteArray> &fields)
{
    const qint64 start = fields.value(0).toLongLong();
    const qint64 peak = fields.value(1).toLongLong();
    const int records = fields.value(2).toInt();
    std::printf("memory, %s of %d links: peak resident %.1f MB, %.1f MB above %s, "
                "%.0f bytes per record\n",
                what, records, double(peak) / 1e6, double(peak - start) / 1e6, before,
                records > 0 ? double(peak - start) / records : 0.0);
}

QString megabytesPerSecond(qint64 bytes, double ms)
{
    return ms > 0 ? QString::number(double(bytes) / 1e6 / (ms / 1e3), 'f', 0) : QStringLiteral("-");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillon-bench"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Times the folder walk against a plain POSIX walk on generated trees."));
    const QCommandLineOption sizesOption(
        QStringLiteral("sizes"),
        QStringLiteral("Tree sizes in shortcuts (default 1000,10000,100000)."),
        QStringLiteral("LIST"), QStringLiteral("1000,10000,100000"));
    const QCommandLineOption runsOption(QStringLiteral("runs"),
                                        QStringLiteral("Timed runs per case (default 5)."),
                                        QStringLiteral("N"), QStringLiteral("5"));
    const QCommandLineOption workOption(
        QStringLiteral("work-dir"),
        QStringLiteral("Where the trees go (default: a new folder in /tmp, removed afterwards)."),
        QStringLiteral("DIR"), QStringLiteral("/tmp"));
    const QCommandLineOption memoryOption(QStringLiteral("memory-walk"),
                                          QStringLiteral("Internal: measure one walk of ROOT."),
                                          QStringLiteral("ROOT"));
    const QCommandLineOption keepOption(
        QStringLiteral("keep-trees"),
        QStringLiteral("Keep the trees in DIR/quillon-bench-trees and use them again next time."));
    const QCommandLineOption timedOption(QStringLiteral("timed-walk"),
                                         QStringLiteral("Internal: time one walk of ROOT."),
                                         QStringLiteral("ROOT"));
    parser.addOptions({sizesOption, runsOption, workOption, keepOption, memoryOption, timedOption});
    parser.addHelpOption();
    parser.process(app);

    if (parser.isSet(memoryOption))
        return memoryWalk(parser.value(memoryOption));
    if (parser.isSet(timedOption))
        return timedWalk(parser.value(timedOption));

    std::vector<int> sizes;
    for (const QString &item : parser.value(sizesOption).split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = item.trimmed().toInt(&ok);
        if (!ok || n < 20) {
            std::fprintf(stderr, "quillon-bench: bad size \"%s\"\n", qUtf8Printable(item));
            return 2;
        }
        sizes.push_back(n);
    }
    bool runsOk = false;
    const int runs = parser.value(runsOption).toInt(&runsOk);
    if (sizes.empty() || !runsOk || runs < 1) {
        std::fputs(qUtf8Printable(parser.helpText()), stderr);
        return 2;
    }

    const bool keep = parser.isSet(keepOption);
    QTemporaryDir temporary(parser.value(workOption) + QStringLiteral("/quillon-bench-XXXXXX"));
    const QDir work(keep ? parser.value(workOption) + QStringLiteral("/quillon-bench-trees")
                         : temporary.path());
    if (!(keep ? QDir().mkpath(work.path()) : temporary.isValid())) {
        std::fprintf(stderr, "quillon-bench: cannot create a folder in %s\n",
                     qUtf8Printable(parser.value(workOption)));
        return 1;
    }
    if (keep)
        temporary.remove();

    std::vector<SizeResult> results;
    QStringList roots;
    QString largestRoot;
    for (const int n : sizes) {
        TreeShape shape;
        shape.shortcuts = n;
        shape.folders = n / 20;
        shape.depth = 4;
        shape.seed = 1;
        const QString root = work.filePath(QString::number(n));
        // A kept tree is used again once it was written whole; the mark is a hidden file, which
        // neither walk looks at.
        const QString doneMark = root + QStringLiteral("/.complete");
        QString error;
        QElapsedTimer clock;
        clock.start();
        const bool reuse = keep && QFile::exists(doneMark);
        if (!reuse) {
            if (!QDir(root).removeRecursively() || !QDir().mkpath(root) ||
                !writeTree(root, planTree(shape), &error) ||
                !QFile(doneMark).open(QIODevice::WriteOnly)) {
                std::fprintf(stderr, "quillon-bench: cannot write the tree %s %s\n",
                             qUtf8Printable(root), qUtf8Printable(error));
                return 1;
            }
        }
        std::fprintf(stderr, "%s %d shortcuts in %d folders in %.1f s\n",
                     reuse ? "kept tree of" : "generated", n, shape.folders + 1,
                     double(clock.elapsed()) / 1e3);
        largestRoot = root;
        roots << root;

        SizeResult result;
        result.shortcuts = n;
        result.folders = shape.folders + 1;
        const std::string nativeRoot = QFile::encodeName(root).toStdString();
        long baselineFound = 0;
        int coreFound = 0;
        const auto runBaseline = [&] {
            baselineFound = baselineWalk(nativeRoot).shortcuts;
        };
        // The table outlives the timed run: freeing it is no part of the walk, and the
        // baseline keeps nothing to free.
        std::unique_ptr<LinkTable> lastTable;
        const auto runCore = [&] {
            auto table = std::make_unique<LinkTable>();
            coreFound = coreWalk(root, *table).progress.shortcutsFound;
            lastTable = std::move(table);
        };
        // One run each warms the cache; then the two take turns going first.
        runBaseline();
        runCore();
        std::vector<Timing> baselineRuns, coreRuns;
        for (int i = 0; i < runs; ++i) {
            if (i % 2 == 0) {
                baselineRuns.push_back(timeOf(runBaseline));
                lastTable.reset();
                coreRuns.push_back(timeOf(runCore));
            } else {
                lastTable.reset();
                coreRuns.push_back(timeOf(runCore));
                baselineRuns.push_back(timeOf(runBaseline));
            }
        }
        if (baselineFound != n || coreFound != n) {
            std::fprintf(stderr, "quillon-bench: found %ld and %d shortcuts, expected %d\n",
                         baselineFound, coreFound, n);
            return 1;
        }
        result.baseline = median(baselineRuns);
        result.core = median(coreRuns);

        // The page for all records: built in memory, and saved to a file.
        const LinkTable &table = *lastTable;
        const QString page = work.filePath(QStringLiteral("links.html"));
        result.pageBytes = linkListBytes(table, OutputKind::Html).size();
        std::vector<double> buildMs, saveMs;
        for (int i = 0; i <= runs; ++i) {
            const Timing built = timeOf([&] { (void)linkListBytes(table, OutputKind::Html); });
            bool saved = false;
            const Timing save =
                timeOf([&] { saved = saveLinkList(page, table, OutputKind::Html); });
            if (!saved) {
                std::fprintf(stderr, "quillon-bench: cannot write %s\n", qUtf8Printable(page));
                return 1;
            }
            if (i > 0) { // the first run warms up
                buildMs.push_back(built.wallMs);
                saveMs.push_back(save.wallMs);
            }
        }
        result.pageBuildMs = median(buildMs);
        result.pageSaveMs = median(saveMs);
        for (const auto &[kind, name] : writtenKinds) {
            std::vector<double> kindMs;
            for (int i = 0; i <= runs; ++i) {
                const Timing save = timeOf([&] { (void)saveLinkList(page, table, kind); });
                if (i > 0)
                    kindMs.push_back(save.wallMs);
            }
            result.kindSaves.emplace_back(QFileInfo(page).size(), median(kindMs));
        }
        QFile::remove(page);
        results.push_back(result);
    }

    std::fflush(stderr);
    std::printf("\nMedians of %d runs after one warm-up run; ratio = core / baseline.\n\n", runs);
    std::printf("walk            wall time            processor time (all threads)\n");
    std::printf("%9s  %7s  %9s  %9s  %6s  %9s  %9s  %6s\n", "shortcuts", "folders", "baseline",
                "core", "ratio", "baseline", "core", "ratio");
    for (const SizeResult &r : results) {
        std::printf("%9d  %7d  %6.1f ms  %6.1f ms  %5.2fx  %6.1f ms  %6.1f ms  %5.2fx\n",
                    r.shortcuts, r.folders, r.baseline.wallMs, r.core.wallMs,
                    r.core.wallMs / r.baseline.wallMs, r.baseline.cpuMs, r.core.cpuMs,
                    r.core.cpuMs / r.baseline.cpuMs);
    }
    std::printf("\nHTML page for all records: built in memory, and saved to a file\n");
    std::printf("%9s  %7s  %9s  %7s  %9s  %7s\n", "shortcuts", "page MB", "build", "MB/s", "save",
                "MB/s");
    for (const SizeResult &r : results) {
        std::printf("%9d  %7.1f  %6.1f ms  %7s  %6.1f ms  %7s\n", r.shortcuts,
                    double(r.pageBytes) / 1e6, r.pageBuildMs,
                    qPrintable(megabytesPerSecond(r.pageBytes, r.pageBuildMs)), r.pageSaveMs,
                    qPrintable(megabytesPerSecond(r.pageBytes, r.pageSaveMs)));
    }

    std::printf("\nEvery kind of list for all records, saved to a file (ms, MB)\n%9s", "shortcuts");
    for (const auto &kind : writtenKinds)
        std::printf("  %16s", kind.second);
    std::printf("\n");
    for (const SizeResult &r : results) {
        std::printf("%9d", r.shortcuts);
        for (const auto &[bytes, ms] : r.kindSaves)
            std::printf("  %7.1f ms %5.1f", ms, double(bytes) / 1e6);
        std::printf("\n");
    }

    // Growth from each size to the next, for the walk and the baseline.
    std::printf("\n");
    for (size_t i = 1; i < results.size(); ++i) {
        const SizeResult &a = results[i - 1];
        const SizeResult &b = results[i];
        std::printf("growth %d -> %d shortcuts (x%.0f): core walk x%.1f (processor x%.1f), "
                    "baseline x%.1f\n",
                    a.shortcuts, b.shortcuts, double(b.shortcuts) / a.shortcuts,
                    b.core.wallMs / a.core.wallMs, b.core.cpuMs / a.core.cpuMs,
                    b.baseline.wallMs / a.baseline.wallMs);
    }

    // Memory in a fresh process, so that the runs above do not count.
    std::fflush(stdout);
    const QList<QByteArray> walkMemory =
        runChild(QCoreApplication::applicationFilePath(), {u"--memory-walk"_s, largestRoot});
    if (walkMemory.isEmpty()) {
        std::fprintf(stderr, "quillon-bench: the memory walk failed\n");
        return 1;
    }
    printMemory("walk", "the process before the walk", walkMemory);
    std::fflush(stdout);

    // The window, when it is built: its own program, so that this one needs no display.
    const QString windowBench =
        QCoreApplication::applicationDirPath() + QStringLiteral("/quillon-bench-window");
    if (!QFile::exists(windowBench)) {
        std::printf("\n(no window built: %s is missing)\n", qUtf8Printable(windowBench));
        return 0;
    }
    std::printf("\nGenerate in the window (offscreen: walk, rows, shading, column sizes, "
                "painting)\n");
    std::printf("%9s  %9s  %9s  %6s  %9s  %9s  %6s\n", "shortcuts", "core", "Generate", "ratio",
                "core cpu", "Gen. cpu", "ratio");
    std::fflush(stdout);
    double previousGenerate = 0;
    int previousSize = 0;
    QString growth;
    for (size_t i = 0; i < sizes.size(); ++i) {
        const QList<QByteArray> f =
            runChild(windowBench, {u"--runs"_s, QString::number(runs), roots[i]});
        if (f.size() < 5) {
            std::fprintf(stderr, "quillon-bench: the window run on %d shortcuts failed\n",
                         sizes[i]);
            return 1;
        }
        const double core = f[0].toDouble(), generate = f[1].toDouble();
        const double coreCpu = f[2].toDouble(), generateCpu = f[3].toDouble();
        std::printf("%9d  %6.1f ms  %6.1f ms  %5.2fx  %6.1f ms  %6.1f ms  %5.2fx\n", sizes[i], core,
                    generate, generate / core, coreCpu, generateCpu, generateCpu / coreCpu);
        std::fflush(stdout);
        if (previousSize > 0) {
            growth += QStringLiteral("growth %1 -> %2 shortcuts: Generate x%3\n")
                          .arg(previousSize)
                          .arg(sizes[i])
                          .arg(generate / previousGenerate, 0, 'f', 1);
        }
        previousSize = sizes[i];
        previousGenerate = generate;
    }
    std::printf("\n%s", qUtf8Printable(growth));
    const QList<QByteArray> windowMemory = runChild(windowBench, {u"--memory"_s, largestRoot});
    if (windowMemory.isEmpty()) {
        std::fprintf(stderr, "quillon-bench: the window memory run failed\n");
        return 1;
    }
    printMemory("Generate in the window", "the empty window", windowMemory);
    return 0;
}
