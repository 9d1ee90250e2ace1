#include "cli/exportoptions.h"

#include <QCommandLineParser>

#include <algorithm>
#include <iterator>
#include <utility>

namespace quillon {

ParsedCommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the shortcuts (.url, .webloc and .desktop files) found in FOLDER "
                       "and the folders below it as a link list."));
    const QCommandLineOption htmlOption(QStringLiteral("html"),
                                        QStringLiteral("Write a whole HTML page."));
    const QCommandLineOption datOption(
        QStringLiteral("dat"),
        QStringLiteral("Write the bare list to paste into a page (default)."));
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("Write to FILE instead of standard output."), QStringLiteral("FILE"));
    const QCommandLineOption excludeOption(
        QStringLiteral("exclude"),
        QStringLiteral("Leave out the links whose path (folder, separator, site name) matches "
                       "the shell wildcard PATTERN; '*' also matches the separator. Repeatable."),
        QStringLiteral("PATTERN"));
    const QCommandLineOption excludeFromOption(
        QStringLiteral("exclude-from"),
        QStringLiteral("Read --exclude patterns from FILE, one a line; blank lines and lines "
                       "starting with '#' are skipped."),
        QStringLiteral("FILE"));
    const QCommandLineOption keepScriptsOption(
        QStringLiteral("keep-script-links"),
        QStringLiteral("Also write javascript:, vbscript: and data: links, which are left out "
                       "otherwise."));
    const QCommandLineOption bookmarksOption(
        QStringLiteral("bookmarks"),
        QStringLiteral("Write a bookmarks file for browsers to import."));
    const QCommandLineOption markdownOption(QStringLiteral("markdown"),
                                            QStringLiteral("Write a CommonMark list."));
    const QCommandLineOption jsonOption(
        QStringLiteral("json"), QStringLiteral("Write JSON: the links, and the folders nested."));
    const QCommandLineOption csvOption(
        QStringLiteral("csv"), QStringLiteral("Write CSV for spreadsheets (UTF-8, CR LF)."));
    // Each option that picks the output kind, the default last.
    const std::pair<const QCommandLineOption &, OutputKind> kindOptions[] = {
        {htmlOption, OutputKind::Html},         {bookmarksOption, OutputKind::Bookmarks},
        {markdownOption, OutputKind::Markdown}, {jsonOption, OutputKind::Json},
        {csvOption, OutputKind::Csv},           {datOption, OutputKind::Dat}};
    const QCommandLineOption tickedFromOption(
        QStringLiteral("ticked-from"),
        QStringLiteral("Tick only the links found in FILE, a list written before (any of the kinds "
                       "above); the other options apply after it."),
        QStringLiteral("FILE"));
    const QCommandLineOption noDuplicatesOption(
        QStringLiteral("no-duplicates"),
        QStringLiteral("Leave out every link to the same page as an earlier written link."));
    const QCommandLineOption listDrivesOption(
        QStringLiteral("list-drives"),
        QStringLiteral("Print the drives the window offers, one a line: path, TAB, label."));
    parser.addOptions({htmlOption, datOption, bookmarksOption, markdownOption, jsonOption,
                       csvOption, outputOption, excludeOption, excludeFromOption, keepScriptsOption,
                       tickedFromOption, noDuplicatesOption, listDrivesOption});
    const LinkCheckCommandLine linkCheckOptions;
    parser.addOptions(linkCheckOptions.options());
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("The folder to walk."));

    ParsedCommandLine parsed;
    const auto usageError = [&parsed](const QString &text) {
        parsed.outcome = ParseOutcome::UsageError;
        parsed.text = text;
        return parsed;
    };
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption)) {
        parsed.outcome = ParseOutcome::Help;
        parsed.text = parser.helpText();
        return parsed;
    }
    if (parser.isSet(versionOption)) {
        parsed.outcome = ParseOutcome::Version;
        return parsed;
    }
    if (std::count_if(std::begin(kindOptions), std::end(kindOptions),
                      [&](const auto &option) { return parser.isSet(option.first); }) > 1)
        return usageError(QStringLiteral("--html, --dat, --bookmarks, --markdown, --json and --csv "
                                         "cannot be used together"));
    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(listDrivesOption)) {
        if (!positional.isEmpty())
            return usageError(QStringLiteral("--list-drives takes no FOLDER"));
        parsed.outcome = ParseOutcome::ListDrives;
        return parsed;
    }
    if (positional.size() != 1)
        return usageError(positional.isEmpty() ? QStringLiteral("no FOLDER given")
                                               : QStringLiteral("only one FOLDER can be given"));

    ExportOptions &options = parsed.options;
    options.folder = positional.first();
    if (parser.isSet(outputOption))
        options.outputPath = parser.value(outputOption);
    options.kind =
        std::find_if(std::begin(kindOptions), std::end(kindOptions) - 1, [&](const auto &option) {
            return parser.isSet(option.first);
        })->second;
    options.excludePatterns = parser.values(excludeOption);
    options.excludeFiles = parser.values(excludeFromOption);
    options.keepScriptLinks = parser.isSet(keepScriptsOption);
    if (parser.isSet(tickedFromOption))
        options.tickedFrom = parser.value(tickedFromOption);
    options.noDuplicates = parser.isSet(noDuplicatesOption);
    QString linkCheckError;
    if (!linkCheckOptions.read(parser, &options.linkCheck, &linkCheckError))
        return usageError(linkCheckError);
    parsed.outcome = ParseOutcome::Run;
    return parsed;
}

} // namespace quillon
