#include "isolatedchromium.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace quillon::test {

namespace {

// Where Debian's Chromium reads its initial preferences.
const QString systemInitialPreferences = QStringLiteral("/etc/chromium/master_preferences");

QString findChromium()
{
    for (const char *name : {"chromium", "chromium-browser"})
        if (QString program = QStandardPaths::findExecutable(QLatin1StringView(name));
            !program.isEmpty())
            return program;
    return {};
}

} // namespace

ChromiumRun runIsolatedChromium(const QStringList &arguments, const QString &profileDir,
                                const QString &initialPreferences)
{
    const QString chromium = findChromium();
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    if (chromium.isEmpty())
        return {{}, QStringLiteral("no chromium on the PATH (Debian package: chromium)")};
    if (unshare.isEmpty())
        return {{}, QStringLiteral("no unshare on the PATH: Chromium may not run with a network")};
    if (!initialPreferences.isEmpty() && !QFileInfo::exists(systemInitialPreferences))
        return {{}, systemInitialPreferences + QStringLiteral(" is missing")};

    // The mount is made inside the new namespaces, where it is private to the run.
    QStringList command = {
        QStringLiteral("--net"),
        QStringLiteral("--mount"),
        QStringLiteral("sh"),
        QStringLiteral("-c"),
        QStringLiteral("[ -z \"$PREFS\" ] || mount --bind \"$PREFS\" \"$TARGET\" "
                       "&& exec \"$@\""),
        QStringLiteral("sh"),
        chromium};
    command << QStringLiteral("--headless") << QStringLiteral("--no-sandbox")
            << QStringLiteral("--disable-gpu") << QStringLiteral("--disable-quic")
            << QStringLiteral("--disable-background-networking")
            << QStringLiteral("--disable-component-update") << QStringLiteral("--disable-sync")
            << QStringLiteral("--user-data-dir=") + profileDir << arguments;

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PREFS"), initialPreferences);
    environment.insert(QStringLiteral("TARGET"), systemInitialPreferences);
    process.setProcessEnvironment(environment);
    process.start(unshare, command);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return {{}, QStringLiteral("%1 did not finish: %2").arg(chromium, process.errorString())};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {{},
                QStringLiteral("%1 could not run in its own namespaces (exit %2): %3")
                    .arg(chromium)
                    .arg(process.exitCode())
                    .arg(QString::fromLocal8Bit(process.readAllStandardError().right(400)))};
    return {process.readAllStandardOutput(), {}};
}

} // namespace quillon::test
