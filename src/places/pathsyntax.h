#pragma once

#include <QString>

namespace quillon {

// The syntax of one file system's paths, as the window, the exporter and the tests spell them:
// a separator, and drive letters ("C:") where the separator is a backslash. Paths are absolute;
// a normalized path has no trailing separator except at a root ("/", "C:\").
class PathSyntax {
public:
    explicit PathSyntax(QChar separator)
        : m_separator(separator)
    {}

    QChar separator() const { return m_separator; }

    bool isRoot(const QString &path) const;
    // The root opened when nothing else can be: "/" or "C:\".
    QString fallbackRoot() const;

    // Trailing separators removed except at a root; a bare drive ("C:") becomes its root.
    QString normalized(const QString &path) const;
    // A name inside a folder, with one separator between them.
    QString joined(const QString &folder, const QString &name) const;
    // The folder that holds a normalized path; empty for a root or a path without a separator.
    QString parentOf(const QString &path) const;
    // True when path is folder or lies below it. Drive letters match in any case.
    bool contains(const QString &folder, const QString &path) const;

    // A path as QUrl::toLocalFile gives it ("/C:/Users" for a drive path), in this syntax.
    QString fromLocalFile(const QString &localFile) const;

private:
    bool hasDrives() const { return m_separator == u'\\'; }
    // The drive a path starts with ("C:"), or empty.
    QString driveOf(const QString &path) const;

    QChar m_separator;
};

} // namespace quillon
