#include "scan/platformprofile.h"

namespace quillon {

PlatformProfile PlatformProfile::windows()
{
    return {QStringLiteral("C:\\Documents and Settings\\"),
            {QStringLiteral("C:\\"), QStringLiteral("C:\\Documents and Settings")}};
}

PlatformProfile PlatformProfile::unix()
{
    // The root, and the folder that holds every user's profile.
    return {QStringLiteral("/home/"), {QStringLiteral("/"), QStringLiteral("/home")}};
}

PlatformProfile PlatformProfile::host()
{
#ifdef Q_OS_WIN
    return windows();
#else
    return unix();
#endif
}

} // namespace quillon
