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

} // namespace quillon::messages
