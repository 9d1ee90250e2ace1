// quillon-export: the window's Generate and Write To File for scripts and machines without a
// display. Every found link is written, all ticked.

#include "links/linktable.h"
#include "output/linklistwriter.h"
#include "scan/favoriteswalk.h"
#include "scan/hostfilesystem.h"
#include "scan/messages.h"
#include "scan/platformprofile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillon-export"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the Internet shortcuts (.url files) found in FOLDER and the folders "
                       "below it as a link list."));
    const QCommandLineOption htmlOption(QStringLiteral("html"),
                                        QStringLiteral("Write a whole HTML page."));
    const QCommandLineOption datOption(
        QStringLiteral("dat"),
        QStringLiteral("Write the bare list to paste into a page (default)."));
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("Write to FILE instead of standard output."), QStringLiteral("FILE"));
    parser.addOptions({htmlOption, datOption, outputOption});
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("The folder to walk."));

    const auto usageError = [](const QString &text) {
        printError(QStringLiteral("quillon-export: %1").arg(text));
        printError(QStringLiteral("Try 'quillon-export --help' for more information."));
        return BadUsage;
    };
    if (!parser.parse(app.arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption)) {
        std::fputs(qUtf8Printable(parser.helpText()), stdout);
        return Ok;
    }
    if (parser.isSet(versionOption)) {
        std::printf("quillon-export %s\n", QUILLON_VERSION);
        return Ok;
    }
    if (parser.isSet(htmlOption) && parser.isSet(datOption))
        return usageError(QStringLiteral("--html and --dat cannot be used together"));
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return usageError(positional.isEmpty() ? QStringLiteral("no FOLDER given")
                                               : QStringLiteral("only one FOLDER can be given"));

    const OutputKind kind = parser.isSet(htmlOption) ? OutputKind::Html : OutputKind::Dat;
    const HostFileSystem fs;
    const PlatformProfile profile = PlatformProfile::host();

    // The folder as the window's folder list would show it: absolute, native separators, no
    // trailing separator except at the root.
    const QString folder =
        QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(positional.first()).absoluteFilePath()));
    if (profile.isTooBroad(folder)) {
        printError(messages::tooBroad());
        return Failed;
    }
    if (!fs.isFolder(folder)) {
        printError(QStringLiteral("quillon-export: \"%1\" is not a folder").arg(folder));
        return Failed;
    }
    const QString start = folder + fs.separator();
    if (!fs.list(start)) {
        printError(QStringLiteral("quillon-export: cannot read the folder \"%1\"").arg(folder));
        return Failed;
    }

    LinkTable table;
    {
        ProgressLine progress(stderrIsTerminal());
        walkFavorites(fs, start, start.size(), table,
                      [&progress](const WalkProgress &p) { return progress.update(p); });
    }
    if (table.recordCount() == 0)
        printError(messages::nothingFound());

    QString error;
    if (parser.isSet(outputOption)) {
        if (!saveLinkList(parser.value(outputOption), table, kind, &error)) {
            printError(QStringLiteral("quillon-export: %1").arg(error));
            return Failed;
        }
    } else {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || !writeLinkList(out, table, kind, &error) ||
            !out.flush()) {
            printError(QStringLiteral("quillon-export: cannot write to standard output: %1")
                           .arg(error.isEmpty() ? out.errorString() : error));
            return Failed;
        }
    }
    return Ok;
}
