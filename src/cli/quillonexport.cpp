// quillon-export: the window's Generate and Write To File for scripts and machines without a
// display. Every found link is written, ticked, but for those left out on purpose.

#include "cli/exclusions.h"
#include "cli/exportoptions.h"
#include "cli/interruption.h"
#include "cli/linkcheckrun.h"
#include "cli/outputtarget.h"
#include "links/linktable.h"
#include "links/listedlink.h"
#include "links/scriptaddress.h"
#include "output/linklistwriter.h"
#include "output/writtenlist.h"
#include "places/drivesearch.h"
#include "places/pathsyntax.h"
#include "places/platformprofile.h"
#include "scan/favoriteswalk.h"
#include "scan/filenamecodec.h"
#include "scan/hostfilesystem.h"
#include "texts/messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

using namespace quillon;

namespace {

enum ExitCode { Ok = 0, Failed = 1, BadUsage = 2 };

void printError(const QString &text)
{
    std::fprintf(stderr, "%s\n", qUtf8Printable(text));
}

int fail(const QString &text)
{
    printError(QStringLiteral("quillon-export: %1").arg(text));
    return Failed;
}

bool stderrIsTerminal()
{
#ifdef Q_OS_UNIX
    return ::isatty(STDERR_FILENO) == 1;
#else
    return false;
#endif
}

// A progress line on the terminal, redrawn a few times a second; never in a pipe.
class ProgressLine {
public:
    explicit ProgressLine(bool enabled)
        : m_enabled(enabled)
    {
        m_clock.start();
    }
    ~ProgressLine() { clear(); }

    bool update(const WalkProgress &p)
    {
        if (m_enabled && m_clock.elapsed() >= 200) {
            m_clock.restart();
            std::fprintf(stderr, "\r%d folders, %d shortcuts", p.foldersListed, p.shortcutsFound);
            std::fflush(stderr);
            m_shown = true;
        }
        return true;
    }

    void clear()
    {
        if (m_shown)
            std::fprintf(stderr, "\r\033[K");
        m_shown = false;
    }

private:
    bool m_enabled;
    bool m_shown = false;
    QElapsedTimer m_clock;
};

// The folder as the window's folder list would show it: absolute, native separators, no
// trailing separator except at the root. A relative name is joined to the working folder
// decoded as file names are, which QDir::currentPath() does not do.
QString absoluteFolder(const QString &given)
{
    QString path = given;
#ifdef Q_OS_UNIX
    if (QDir::isRelativePath(given)) {
        QByteArray cwd(4096, '\0');
        while (::getcwd(cwd.data(), size_t(cwd.size())) == nullptr && errno == ERANGE)
            cwd.resize(cwd.size() * 2);
        path = decodeFileName(cwd.constData()) + u'/' + given;
    }
#else
    path = QDir(given).absolutePath();
#endif
    return PathSyntax(QDir::separator())
        .normalized(QDir::toNativeSeparators(QDir::cleanPath(path)));
}

// Script links start unticked. Those that would be written (all, or those ticked from a list)
// are ticked with --keep-script-links and left out otherwise. Returns how many are left out.
int applyScriptRule(LinkTable &table, bool keep, bool ticksFromList)
{
    int leftOut = 0;
    for (int row = 0; row < table.recordCount(); ++row) {
        const LinkRecord &record = table.record(row);
        if (!isScriptAddress(record.address) || (ticksFromList && !record.ticked))
            continue;
        table.setTicked(row, keep);
        leftOut += keep ? 0 : 1;
    }
    return leftOut;
}

int tickedCount(const LinkTable &table)
{
    return int(std::count_if(table.records().begin(), table.records().end(),
                             [](const LinkRecord &r) { return r.ticked; }));
}

// What the run reads besides the folder, read before the walk so bad input stops it early.
struct TickInputs {
    QStringList excludePatterns;
    std::optional<std::vector<ListedLink>> tickedFrom;
};

std::optional<TickInputs> readTickInputs(const ExportOptions &options, QString *errorText)
{
    TickInputs inputs{options.excludePatterns, std::nullopt};
    for (const QString &file : options.excludeFiles) {
        const std::optional<QStringList> more = readPatternFile(file, errorText);
        if (!more)
            return std::nullopt;
        inputs.excludePatterns += *more;
    }
    if (options.tickedFrom) {
        if (!qtOpensExactly(*options.tickedFrom)) {
            *errorText = QStringLiteral("cannot read the list \"%1\": its name is not UTF-8")
                             .arg(*options.tickedFrom);
            return std::nullopt;
        }
        inputs.tickedFrom = loadWrittenList(*options.tickedFrom, errorText);
        if (!inputs.tickedFrom)
            return std::nullopt;
    }
    return inputs;
}

// The ticks in the order the options promise: as in the list, then the script rule, then the
// exclusions, then duplicates of what is still ticked.
void applyTicks(LinkTable &table, const TickInputs &inputs, const ExportOptions &options,
                QChar separator)
{
    if (inputs.tickedFrom) {
        const int notFound = tickAsInList(table, *inputs.tickedFrom).linksNotFound;
        if (notFound > 0)
            printError(QStringLiteral("quillon-export: %1 link(s) of the list \"%2\" were not "
                                      "found")
                           .arg(notFound)
                           .arg(*options.tickedFrom));
    }
    const int scriptsLeftOut =
        applyScriptRule(table, options.keepScriptLinks, inputs.tickedFrom.has_value());
    if (scriptsLeftOut > 0)
        printError(QStringLiteral("quillon-export: left out %1 script link(s) (javascript:, "
                                  "vbscript:, data:); --keep-script-links writes them")
                       .arg(scriptsLeftOut));
    untickMatching(table, inputs.excludePatterns, separator);
    if (options.noDuplicates)
        untickDuplicates(table);
}

bool writeLinkReport(const QString &path, const LinkTable &table, const LinkCheckOutcome &checked,
                     Interruption &interruption, QString *error)
{
    interruption.beginWriting();
    return saveLinkReport(
        path, linkReport(table, checked), [&interruption] { return !interruption.interrupted(); },
        error);
}

int run(const ExportOptions &options, Interruption &interruption)
{
    QString inputError;
    const std::optional<TickInputs> inputs = readTickInputs(options, &inputError);
    if (!inputs)
        return fail(inputError);
    if (options.outputPath && !qtOpensExactly(*options.outputPath))
        return fail(QStringLiteral("cannot write \"%1\": the name is not valid UTF-8, and the "
                                   "file would be written under another name")
                        .arg(*options.outputPath));
    if (options.linkCheck && options.linkCheck->reportPath &&
        !qtOpensExactly(*options.linkCheck->reportPath))
        return fail(QStringLiteral("cannot write \"%1\": the name is not valid UTF-8, and the "
                                   "file would be written under another name")
                        .arg(*options.linkCheck->reportPath));
    const OutputTarget target = outputTarget(options.outputPath);
    if (target.kind == OutputTarget::Kind::Refused)
        return fail(QStringLiteral("cannot write \"%1\": %2").arg(*options.outputPath, target.why));

    const HostFileSystem fs;
    const QString folder = absoluteFolder(options.folder);
    if (PlatformProfile::host().isTooBroad(folder))
        return fail(messages::TooBroad.english());
    // Listing first: it opens the name byte for byte, which isFolder() does not promise.
    const QString start = folder + fs.separator();
    if (!fs.list(start))
        return fail(fs.isFolder(folder)
                        ? QStringLiteral("cannot read the folder \"%1\"").arg(folder)
                        : QStringLiteral("\"%1\" is not a folder").arg(folder));

    const bool terminal = stderrIsTerminal();
    LinkTable table;
    {
        ProgressLine progress(terminal);
        walkFavorites(fs, start, start.size(), table,
                      [&progress](const WalkProgress &p) { return progress.update(p); });
    }
    if (table.recordCount() == 0)
        printError(messages::NothingFound.english());
    applyTicks(table, *inputs, options, fs.separator());
    std::optional<LinkCheckOutcome> checked;
    if (options.linkCheck)
        checked = checkTickedLinks(table, *options.linkCheck, terminal);
    const int written = tickedCount(table);

    QString error;
    if (target.kind == OutputTarget::Kind::File) {
        // From here a signal waits until the old file is safe; on a descriptor it ends the
        // run at once, even in the middle of a write to a full pipe.
        interruption.beginWriting();
        const auto notInterrupted = [&interruption] {
            return !interruption.interrupted();
        };
        if (!saveLinkList(*options.outputPath, table, options.kind, &error, notInterrupted)) {
            if (interruption.interrupted())
                return interruption.exitCode();
            return fail(error);
        }
    } else if (!writeToDescriptor(target.descriptor, table, options.kind, &error)) {
        return fail(error);
    }
    if (checked && options.linkCheck->reportPath &&
        !writeLinkReport(*options.linkCheck->reportPath, table, *checked, interruption, &error))
        return interruption.interrupted() ? interruption.exitCode() : fail(error);
    if (terminal)
        printError(QStringLiteral("%1 links written, %2 left out")
                       .arg(written)
                       .arg(table.recordCount() - written));
    return Ok;
}

// The drives, found by this program run again as a helper, so that a hung mount leaves out its
// place instead of holding up the list.
int listDrives()
{
    constexpr std::chrono::seconds PlaceLimit{2};
    const DriveSearchResult found =
        findDrivesWithTimeLimit(QCoreApplication::applicationFilePath(), PlaceLimit);
    for (const QString &place : found.unanswered)
        printError(QStringLiteral("quillon-export: %1 did not answer within %2 s and is left out")
                       .arg(place)
                       .arg(PlaceLimit.count()));
    if (!found.error.isEmpty())
        printError(QStringLiteral("quillon-export: %1").arg(found.error));
    // The paths byte for byte, as the names on disk are.
    const QByteArray list = encodeFileName(formatDriveList(found.drives));
    std::fwrite(list.constData(), 1, size_t(list.size()), stdout);
    return Ok;
}

} // namespace

int main(int argc, char *argv[])
{
    if (isDriveHelperCall(argc, argv))
        return runDriveHelper(argc, argv);
    Interruption interruption;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillon-export"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));

    // Folder and file names exactly as given: Qt's own decoding loses some of them.
    const ParsedCommandLine parsed = parseCommandLine(decodeArguments(argc, argv));
    switch (parsed.outcome) {
    case ParseOutcome::Help:
        std::fputs(qUtf8Printable(parsed.text), stdout);
        return Ok;
    case ParseOutcome::ListDrives:
        return listDrives();
    case ParseOutcome::Version:
        std::printf("quillon-export %s\n", QUILLON_VERSION);
        return Ok;
    case ParseOutcome::UsageError:
        printError(QStringLiteral("quillon-export: %1").arg(parsed.text));
        printError(QStringLiteral("Try 'quillon-export --help' for more information."));
        return BadUsage;
    case ParseOutcome::Run:
        break;
    }
    return run(parsed.options, interruption);
}
