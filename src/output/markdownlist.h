#pragma once

#include "links/listedlink.h"

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace quillon {

class LinkTable;
class ListSink;

// The ticked records as CommonMark: a "## " heading before each folder's first ticked record,
// one "- [site name](address)" line per link, a blank line between folders, LF line ends.
// Values are escaped so that a renderer shows them exactly as they are. No record ticked gives
// no bytes.
void writeMarkdownList(ListSink &out, const LinkTable &table);

// Whether line, the first line of a file that is not blank, starts a Markdown list.
bool startsMarkdownList(QByteArrayView line);

// Reads the links of a Markdown list, or says in error why it cannot.
std::optional<std::vector<ListedLink>> readMarkdownList(QByteArrayView text, QString &error);

} // namespace quillon
