#pragma once

#include "cli/wildcardpattern.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace quillon {

class LinkTable;

// The most a pattern file may hold; far more than any list of exclusions a person writes.
inline constexpr qint64 PatternFileSizeLimit = 16 * 1024 * 1024;

// The patterns of a pattern file: one a line, blank lines and lines starting with '#' skipped.
// Nothing, with errorText set (when given), when it is not a regular file, is too big or cannot
// be read.
std::optional<QStringList> readPatternFile(const QString &path, QString *errorText);

// Unticks every record whose path matches one of patterns (see WildcardPattern): its folder as the
// grid names it, the separator, then its site name; only the site name for the start folder's own
// records. Returns how many ticked records it unticked.
int untickMatching(LinkTable &table, const QStringList &patterns, QChar separator);

} // namespace quillon
