#include "cli/outputtarget.h"

#include "scan/filenamecodec.h"

#include <QFile>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quillon {

namespace {

#ifdef Q_OS_UNIX

// The folder of a process's descriptors, as it resolves: /proc/PID/fd or
// /proc/PID/task/TID/fd. The PID, or 0 when the folder is none.
qint64 descriptorFolderOwner(const QByteArray &folder)
{
    char resolved[PATH_MAX];
    if (::realpath(folder.constData(), resolved) == nullptr)
        return 0;
    static const QRegularExpression pattern(QStringLiteral("^/proc/(\\d+)(/task/\\d+)?/fd$"));
    const QRegularExpressionMatch match = pattern.match(QString::fromLocal8Bit(resolved));
    return match.hasMatch() ? match.captured(1).toLongLong() : 0;
}

OutputTarget refused(const QString &why)
{
    return {OutputTarget::Kind::Refused, -1, why};
}

#endif

} // namespace

OutputTarget outputTarget(const std::optional<QString> &path)
{
    if (!path || *path == u"-")
        return {};
#ifdef Q_OS_UNIX
    // Each link on the way is followed by hand, to see whether it passes through a folder of
    // descriptors before it reaches any file.
    QByteArray name = encodeFileName(*path);
    for (int hop = 0; hop < 40; ++hop) {
        const qsizetype slash = name.lastIndexOf('/');
        const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? "/" : name.left(slash);
        const QByteArray base = name.mid(slash + 1);
        if (const qint64 owner = descriptorFolderOwner(folder); owner != 0) {
            bool isNumber = false;
            const int descriptor = base.toInt(&isNumber);
            if (owner != ::getpid() || !isNumber || descriptor < 0)
                return refused(QStringLiteral("it names an open file of another process"));
            return {OutputTarget::Kind::Descriptor, descriptor, {}};
        }
        struct stat info {};
        if (::lstat(name.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            break;
        QByteArray target(PATH_MAX, '\0');
        const ssize_t size = ::readlink(name.constData(), target.data(), size_t(target.size()));
        if (size <= 0 || size >= target.size())
            break;
        target.truncate(size);
        name = target.startsWith('/') ? target : folder + '/' + target;
    }
#endif
    return {OutputTarget::Kind::File, -1, {}};
}

bool writeToDescriptor(int descriptor, const LinkTable &table, OutputKind kind, QString *errorText)
{
    QFile out;
    QString error;
    if (out.open(descriptor, QIODevice::WriteOnly, QFileDevice::DontCloseHandle) &&
        writeLinkList(out, table, kind, &error) && out.flush())
        return true;
    const QString where = descriptor == 1 ? QStringLiteral("standard output")
                                          : QStringLiteral("descriptor %1").arg(descriptor);
    *errorText = QStringLiteral("cannot write to %1: %2")
                     .arg(where, error.isEmpty() ? out.errorString() : error);
    return false;
}

} // namespace quillon
