#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QString>

// The file types Tick As In A Written List offers and the reports the window shows after writing
// or ticking. A type reads "description (patterns)|patterns"; only the description is translated.
namespace quillon::windowtexts {

inline QString writtenListTypes()
{
    return QStringLiteral("%1 (*.html *.htm *.dat *.md *.json *.csv)"
                          "|*.html *.htm *.dat *.md *.json *.csv|%2 (*)|*")
        .arg(QCoreApplication::translate("WindowTexts", "Written lists"),
             QCoreApplication::translate("WindowTexts", "All files"));
}

inline QString written(qsizetype ticked, const QString &file)
{
    // Two texts rather than a plural form, so that the English source reads right without a
    // translation of its own.
    const QString text =
        ticked == 1 ? QCoreApplication::translate("WindowTexts", "%1 link written to %2.")
                    : QCoreApplication::translate("WindowTexts", "%1 links written to %2.");
    return text.arg(QString::number(ticked), QDir::toNativeSeparators(file));
}

inline QString tickedAsInList(qsizetype ticked, int rows, int notFound, size_t listed)
{
    return QCoreApplication::translate(
               "WindowTexts",
               "%1 of %2 rows ticked; %3 of the %4 links in the list were not found.")
        .arg(ticked)
        .arg(rows)
        .arg(notFound)
        .arg(listed);
}

} // namespace quillon::windowtexts
