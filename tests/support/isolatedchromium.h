#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quillon::test {

// Chromium as tests run it: headless, with the profile given, and with no network at all. It
// runs in a network namespace of its own whose only device, loopback, is down, so nothing it
// tries leaves the machine. Where no such namespace can be made, it does not run.
struct ChromiumRun {
    QByteArray output; // standard output
    QString whyNot;    // set when Chromium could not run here, or failed
};

// initialPreferences, when set, is a file that takes the place of the system's initial
// preferences for this run only: it is mounted over them in a mount namespace of the run's own,
// so the system file is never changed.
ChromiumRun runIsolatedChromium(const QStringList &arguments, const QString &profileDir,
                                const QString &initialPreferences = {});

} // namespace quillon::test
