#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

namespace quillon::bench {

// What a generated favorites tree looks like.
struct TreeShape {
    int folders = 50;     // sub-folders below the root
    int shortcuts = 1000; // *.url files, spread over the root and every sub-folder
    int depth = 4;        // deepest folder level below the root (1: sub-folders of the root only)
    quint64 seed = 1;
};

struct PlannedFolder {
    QString path; // relative to the root, "/" separated
};

struct PlannedFile {
    QString path; // relative to the root, "/" separated
    QByteArray content;
    QString address; // the address a reader should find; empty for files that are no shortcut
};

// A whole tree, folders listed parents first. The same shape always gives the same plan: it
// depends on nothing but the shape (no clock, no hash seeds, no directory order).
struct TreePlan {
    std::vector<PlannedFolder> folders;
    std::vector<PlannedFile> files;
    int shortcutCount() const;
    qint64 byteCount() const;
};

TreePlan planTree(const TreeShape &shape);

// Creates the planned folders and files below root (which must exist). Returns false with an
// error text when a folder or file cannot be written.
bool writeTree(const QString &root, const TreePlan &plan, QString *errorText = nullptr);

} // namespace quillon::bench
