#include "places/drivesearch.h"

#include <QFile>

#include <cstdio>
#include <cstring>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace quillon {

namespace {

// The helper's lines: "look PLACE" before it looks at a place, "drive PATH LABEL KIND" for
// each drive found, "done" at the end; fields separated by a tab, each percent-encoded.
const QByteArray LookTag = "look";
const QByteArray DriveTag = "drive";
const QByteArray DoneTag = "done";
const QByteArray SkipOption = "--skip";

QByteArray field(const QString &text)
{
    return text.toUtf8().toPercentEncoding();
}

QString fromField(const QByteArray &bytes)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(bytes));
}

void printLine(const QList<QByteArray> &fields)
{
    const QByteArray line = fields.join('\t') + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout); // so the caller sees at once which place is being looked at
}

#ifdef Q_OS_UNIX

const Drive RootDrive = {QStringLiteral("/"), QStringLiteral("/"), Drive::Kind::Volume};

// What one run of the helper said before it ended or fell silent.
struct HelperRun {
    QByteArray output;
    bool finished = false; // ended of itself, having said "done"
    QString error;
};

// Starts the helper as a grandchild, so that it is never this process's child to wait for:
// once abandoned, the system reaps it whenever it ends. Before starting the program, the
// grandchild writes its process id into the pipe.
HelperRun runHelper(const QString &program, const QStringList &skipped,
                    std::chrono::milliseconds placeLimit)
{
    QList<QByteArray> arguments = {QFile::encodeName(program), DriveHelperOption};
    for (const QString &place : skipped)
        arguments << SkipOption << field(place);
    std::vector<char *> argv;
    for (QByteArray &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        return {{}, false, qt_error_string(errno)};
    const pid_t child = ::fork();
    if (child == 0) {
        // Only async-signal-safe calls from here on: other threads may hold locks.
        const pid_t helper = ::fork();
        if (helper == 0) {
            const pid_t self = ::getpid();
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            if (::write(pipeEnds[1], &self, sizeof self) == sizeof self &&
                ::dup2(pipeEnds[1], STDOUT_FILENO) >= 0)
                ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::_exit(helper < 0 ? 1 : 0);
    }
    ::close(pipeEnds[1]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || status != 0) {
        ::close(pipeEnds[0]);
        return {{}, false, QStringLiteral("cannot start %1").arg(program)};
    }

    HelperRun run;
    pid_t helper = 0;
    QByteArray received;
    bool ended = false;
    for (;;) {
        pollfd ready = {pipeEnds[0], POLLIN, 0};
        const int count = ::poll(&ready, 1, int(placeLimit.count()));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break; // silent too long
        char buffer[4096];
        const ssize_t size = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (size < 0 && errno == EINTR)
            continue;
        if (size <= 0) {
            ended = true;
            break;
        }
        received.append(buffer, size);
    }
    ::close(pipeEnds[0]);
    if (received.size() >= qsizetype(sizeof helper)) {
        std::memcpy(&helper, received.constData(), sizeof helper);
        run.output = received.sliced(sizeof helper);
    }
    if (!ended && helper > 0)
        ::kill(helper, SIGKILL); // still holds the pipe open, so it is still our helper
    run.finished = ended && run.output.endsWith(DoneTag + '\n');
    if (ended && !run.finished)
        run.error = QStringLiteral("%1 ended without listing the drives").arg(program);
    return run;
}

// The place the helper was looking at when it fell silent.
QString lastLookedAt(const QByteArray &output)
{
    QString place;
    for (const QByteArray &line : output.split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() == 2 && fields[0] == LookTag)
            place = fromField(fields[1]);
    }
    return place;
}

QList<Drive> drivesIn(const QByteArray &output)
{
    QList<Drive> drives;
    for (const QByteArray &line : output.split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != 4 || fields[0] != DriveTag)
            continue;
        const int kind = fields[3].toInt();
        if (kind < int(Drive::Kind::Volume) || kind > int(Drive::Kind::Wine))
            continue;
        drives.append({fromField(fields[1]), fromField(fields[2]), Drive::Kind(kind)});
    }
    return drives;
}

#endif

} // namespace

DriveSearchResult findDrivesWithTimeLimit(const QString &helperProgram,
                                          std::chrono::milliseconds placeLimit)
{
#ifdef Q_OS_UNIX
    DriveSearchResult result;
    for (int attempt = 0; attempt <= MaxUnansweredPlaces; ++attempt) {
        const HelperRun run = runHelper(helperProgram, result.unanswered, placeLimit);
        if (run.finished) {
            result.drives = drivesIn(run.output);
            return result;
        }
        const QString place = lastLookedAt(run.output);
        if (!run.error.isEmpty() || place.isEmpty() || result.unanswered.contains(place)) {
            result.error = run.error.isEmpty()
                               ? QStringLiteral("%1 did not answer").arg(helperProgram)
                               : run.error;
            break;
        }
        result.unanswered << place;
    }
    if (result.error.isEmpty())
        result.error = QStringLiteral("more than %1 places did not answer; only the root is "
                                      "listed")
                           .arg(MaxUnansweredPlaces);
    result.drives = {RootDrive};
    return result;
#else
    Q_UNUSED(helperProgram);
    Q_UNUSED(placeLimit);
    return {hostDrives(), {}, {}}; // drive letters: nothing to wait on
#endif
}

bool isDriveHelperCall(int argc, const char *const *argv)
{
    return argc >= 2 && std::strcmp(argv[1], DriveHelperOption) == 0;
}

int runDriveHelper(int argc, const char *const *argv)
{
    QStringList skipped;
    for (int i = 2; i + 1 < argc; i += 2)
        if (argv[i] == SkipOption)
            skipped << fromField(argv[i + 1]);
    DriveSources sources = DriveSources::host();
    sources.beforeLooking = [&skipped](const QString &place) {
        if (skipped.contains(place))
            return false;
        printLine({LookTag, field(place)});
        return true;
    };
    for (const Drive &drive : findDrives(sources))
        printLine(
            {DriveTag, field(drive.path), field(drive.label), QByteArray::number(int(drive.kind))});
    printLine({DoneTag});
    return 0;
}

} // namespace quillon
