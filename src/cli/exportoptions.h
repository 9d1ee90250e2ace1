#pragma once

#include "cli/linkcheckoptions.h"
#include "output/linklistwriter.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace quillon {

// What the command line asks the exporter to do.
struct ExportOptions {
    QString folder;                    // as given, not yet made absolute
    std::optional<QString> outputPath; // none: standard output
    OutputKind kind = OutputKind::Dat;
    QStringList excludePatterns;
    QStringList excludeFiles; // files of more patterns, read when the run starts
    bool keepScriptLinks = false;
    std::optional<QString> tickedFrom; // a list written before, whose links alone are ticked
    bool noDuplicates = false;
    std::optional<LinkCheckOptions> linkCheck; // none: nothing is sent over the network
};

enum class ParseOutcome { Run, ListDrives, Help, Version, UsageError };

struct ParsedCommandLine {
    ParseOutcome outcome = ParseOutcome::UsageError;
    ExportOptions options;
    QString text; // the help text, or what is wrong with the command line
};

// Reads the arguments (the program name first), already decoded as file names are.
ParsedCommandLine parseCommandLine(const QStringList &arguments);

} // namespace quillon
