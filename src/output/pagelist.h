#pragma once

#include "links/listedlink.h"

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace quillon {

class LinkTable;
class ListSink;

// The DAT list and the web page: an HTML list of the ticked records, each folder's heading
// before its first ticked record, pure ASCII, lines ending in CR LF. wholePage puts the page
// around the list. A table without records gives no bytes at all.
void writePageList(ListSink &out, const LinkTable &table, bool wholePage);

// Whether line, the first line of a file that is not blank, starts a DAT list or a page.
bool startsPageList(QByteArrayView line);

// Reads the links of a DAT list or page, or says in error why it cannot.
std::optional<std::vector<ListedLink>> readPageList(QByteArrayView text, QString &error);

} // namespace quillon
