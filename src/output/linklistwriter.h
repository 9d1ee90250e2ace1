#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace quillon {

class LinkTable;

// The kinds of output: the bare list to paste into a page, a whole HTML page, a bookmarks file
// for browsers to import, and Markdown, JSON and CSV for today's sites, site generators and
// spreadsheets.
enum class OutputKind { Dat, Html, Bookmarks, Markdown, Json, Csv };

// The link list for the ticked records of table, as writeLinkList writes it.
QByteArray linkListBytes(const LinkTable &table, OutputKind kind);

// Writes the link list to device a chunk at a time, each kind as its writer says (pagelist.h,
// bookmarksfile.h, markdownlist.h, jsonlist.h, csvlist.h); folders are split at the platform's
// separator. A folder's heading stands before its first ticked record; a folder with nothing
// ticked has none. Returns false with the device's error text on failure.
bool writeLinkList(QIODevice &device, const LinkTable &table, OutputKind kind,
                   QString *errorText = nullptr);

// Writes the link list to path through a temporary file that replaces the old file only once
// everything was written: on failure the old file stays exactly as it was. When mayReplace is
// given and says no just before that replacement, nothing is saved and it fails as cancelled.
bool saveLinkList(const QString &path, const LinkTable &table, OutputKind kind,
                  QString *errorText = nullptr, const std::function<bool()> &mayReplace = {});

} // namespace quillon
