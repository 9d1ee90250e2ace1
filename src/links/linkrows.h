#pragma once

#include "links/foundshortcut.h"
#include "links/linktable.h"

namespace quillon {

// Turns found shortcuts, taken in walk order, into rows by the table's rules: a folder's name
// goes on its first row only, script links start unticked, the site name is the file's own
// title or else its name.
class LinkRowMaker {
public:
    LinkRecord rowFor(FoundShortcut &&found);

private:
    QString m_lastFolder;
};

// Appends a row for every found shortcut to a table.
class TableSink final : public ShortcutSink {
public:
    explicit TableSink(LinkTable &table)
        : m_table(table)
    {}
    void take(FoundShortcut &&found) override { m_table.append(m_rows.rowFor(std::move(found))); }

private:
    LinkTable &m_table;
    LinkRowMaker m_rows;
};

} // namespace quillon
