#include "cli/exportoptions.h"

#include <QCommandLineParser>

namespace quillon {

ParsedCommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the Internet shortcuts (.url files) found in FOLDER and the folders "
                       "below it as a link list."));
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
    parser.addOptions(
        {htmlOption, datOption, outputOption, excludeOption, excludeFromOption, keepScriptsOption});
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
    if (parser.isSet(htmlOption) && parser.isSet(datOption))
        return usageError(QStringLiteral("--html and --dat cannot be used together"));
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return usageError(positional.isEmpty() ? QStringLiteral("no FOLDER given")
                                               : QStringLiteral("only one FOLDER can be given"));

    ExportOptions &options = parsed.options;
    options.folder = positional.first();
    if (parser.isSet(outputOption))
        options.outputPath = parser.value(outputOption);
    options.kind = parser.isSet(htmlOption) ? OutputKind::Html : OutputKind::Dat;
    options.excludePatterns = parser.values(excludeOption);
    options.excludeFiles = parser.values(excludeFromOption);
    options.keepScriptLinks = parser.isSet(keepScriptsOption);
    parsed.outcome = ParseOutcome::Run;
    return parsed;
}

} // namespace quillon
