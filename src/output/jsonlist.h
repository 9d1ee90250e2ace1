#pragma once

#include "links/listedlink.h"

#include <QByteArrayView>
#include <QChar>
#include <QString>

#include <optional>
#include <vector>

namespace quillon {

class LinkTable;
class ListSink;

// The ticked records as one UTF-8 JSON object:
//   {"generator": "Quillon <version>", "links": [link, …], "folders": folder}
// where a link is {"folder", "site", "address", "date"} with the values of linkFields (date
// null when there is none), in row order, and folder is {"name", "links", "folders"}: the
// folders nested as in the bookmarks file, from the start folder (named "") down.
void writeJsonList(ListSink &out, const LinkTable &table, QChar folderSeparator);

// Whether line, the first line of a file that is not blank, starts a JSON list.
bool startsJsonList(QByteArrayView line);

// Reads the "links" of a JSON list, or says in error why it cannot.
std::optional<std::vector<ListedLink>> readJsonList(QByteArrayView text, QString &error);

} // namespace quillon
