#pragma once

#include <QString>

namespace quillon::messages {

inline QString nothingFound()
{
    return QStringLiteral("No Favorites Were Found In This Location");
}

inline QString tooBroad()
{
    return QStringLiteral("This Selection Is Too Broad, Please Narrow Down Your Search");
}

inline QString walkStopped(int linksFound)
{
    return QStringLiteral("Generate Was Stopped: The List Is Incomplete, With The %1 Links Found "
                          "So Far")
        .arg(linksFound);
}

} // namespace quillon::messages
