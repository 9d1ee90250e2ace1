#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace quillon::test {

// Runs programs as the unprivileged user "nobody", for checks that the superuser would pass:
// permissions do not stop root.
class OtherUser {
public:
    // The command line prefix that runs program as nobody, or nothing with the reason in why
    // when that cannot be done here (no setpriv, or a build folder nobody cannot reach).
    static std::optional<QStringList> commandFor(const QString &program, QString *why);
    // Makes nobody the owner of path; false when that failed.
    static bool giveToNobody(const QString &path);
};

} // namespace quillon::test
