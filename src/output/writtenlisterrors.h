#pragma once

#include <QString>

// What the readers of written lists say when a file is not one.
namespace quillon::writtenListErrors {

inline QString notALink(qsizetype lineNumber)
{
    return QStringLiteral("line %1 is not a link as Quillon writes it").arg(lineNumber);
}

inline QString cutOff()
{
    return QStringLiteral("it ends before its list does");
}

} // namespace quillon::writtenListErrors
