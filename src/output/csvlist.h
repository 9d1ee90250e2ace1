#pragma once

#include "links/listedlink.h"

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace quillon {

class LinkTable;
class ListSink;

// The ticked records as CSV (RFC 4180) for spreadsheets: UTF-8 with a byte-order mark, CR LF,
// the header "folder,site,address,date", then one row per ticked record in row order, with
// the fields of linkFields. A field that a spreadsheet would run as a formula gets a leading
// "'", which the reader takes off again.
void writeCsvList(ListSink &out, const LinkTable &table);

// Whether line, the first line of a file that is not blank, starts a CSV list.
bool startsCsvList(QByteArrayView line);

// Reads the links of a CSV list, or says in error why it cannot.
std::optional<std::vector<ListedLink>> readCsvList(QByteArrayView text, QString &error);

} // namespace quillon
