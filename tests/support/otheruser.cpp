#include "otheruser.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace quillon::test {

std::optional<QStringList> OtherUser::commandFor(const QString &program, QString *why)
{
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty()) {
        *why = QStringLiteral("setpriv is not available to drop to an unprivileged user");
        return std::nullopt;
    }
    const QStringList command{setpriv,
                              QStringLiteral("--reuid=nobody"),
                              QStringLiteral("--regid=nogroup"),
                              QStringLiteral("--clear-groups"),
                              QStringLiteral("--"),
                              program};
    // A build inside a private folder (such as root's home) is out of nobody's reach.
    QProcess probe;
    probe.start(setpriv, command.mid(1) << QStringLiteral("--version"));
    if (!probe.waitForFinished() || probe.exitStatus() != QProcess::NormalExit ||
        probe.exitCode() != 0) {
        *why = QStringLiteral("the unprivileged user cannot run %1 from this build folder")
                   .arg(program);
        return std::nullopt;
    }
    return command;
}

bool OtherUser::giveToNobody(const QString &path)
{
    const passwd *nobody = ::getpwnam("nobody");
    return nobody &&
           ::chown(QFile::encodeName(path).constData(), nobody->pw_uid, nobody->pw_gid) == 0;
}

} // namespace quillon::test
