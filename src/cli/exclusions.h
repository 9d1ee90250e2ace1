#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace quillon {

class LinkTable;

// Whether text matches the shell wildcard pattern as a whole, as fnmatch() matches without
// FNM_PATHNAME or FNM_PERIOD: '*' matches any run of characters, the separator included, '?'
// one character, "[...]" one of a class (ranges, "[!...]" or "[^...]", "[:alpha:]" and the
// other POSIX classes), and a backslash takes the next character as it is. Case counts.
bool wildcardMatches(QStringView pattern, QStringView text);

// The patterns of a pattern file: one a line, blank lines and lines starting with '#' skipped.
// Nothing, with errorText set, when the file cannot be read.
std::optional<QStringList> readPatternFile(const QString &path, QString *errorText);

// Unticks every record whose path matches one of patterns: its folder as the grid names it,
// the separator, then its site name; only the site name for the start folder's own records.
// Returns how many ticked records it unticked.
int untickMatching(LinkTable &table, const QStringList &patterns, QChar separator);

} // namespace quillon
