#pragma once

#include "output/linklistwriter.h"

#include <QString>

#include <optional>

namespace quillon {

class LinkTable;

// Where -o sends the list. A file is replaced whole, through a temporary file renamed over
// it. A name that stands for one of this process's open descriptors ("-", /dev/stdout,
// /dev/fd/N, /proc/self/fd/N, or a link to one) is written to that descriptor as it is:
// renaming over it would replace whatever file it was opened from, or be refused for a pipe.
struct OutputTarget {
    enum class Kind { File, Descriptor, Refused };

    Kind kind = Kind::Descriptor;
    int descriptor = 1; // for Descriptor
    QString why;        // for Refused
};

// The target for the -o path; standard output when there is none.
OutputTarget outputTarget(const std::optional<QString> &path);

// Writes the list to an open descriptor, leaving it open.
bool writeToDescriptor(int descriptor, const LinkTable &table, OutputKind kind, QString *errorText);

} // namespace quillon
