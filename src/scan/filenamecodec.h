#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quillon {

// File names on Unix are bytes, not always UTF-8. A name is decoded as UTF-8 with each byte
// that is not part of valid UTF-8 kept as a lone surrogate U+DC80..U+DCFF, and encoded back
// to the very same bytes, so that an entry listed under an odd name opens again. What people
// see of such a name is shownFileName's.
QString decodeFileName(QByteArrayView name);
QByteArray encodeFileName(QStringView name);

// A decoded name as people see it: one that was not valid UTF-8 (a name copied from Windows)
// read as Windows-1252, as file contents are; any other name as it is. In a path, each name
// between separators on its own.
QString shownFileName(QString name);
QString shownPath(QStringView path, QChar separator);

// The program's arguments decoded as file names are, so that a folder or file named on the
// command line is the very one opened. QCoreApplication::arguments() drops a leading U+FEFF and
// turns bytes that are not UTF-8 into U+FFFD: both then name another file.
QStringList decodeArguments(int argc, const char *const *argv);

// True when Qt's file classes (QFile, QSaveFile) open exactly the bytes encodeFileName gives
// for path; false for paths with bytes that are not UTF-8, which Qt cannot name.
bool qtOpensExactly(QStringView path);

} // namespace quillon
