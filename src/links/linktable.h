#pragma once

#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace quillon {

// One found shortcut. Every field may hold no value (null), which readers treat like empty text.
struct LinkRecord {
    std::optional<bool> Selected;
    std::optional<QString> FolderName; // set only on the record that opens a folder group
    std::optional<QString> SiteName;
    std::optional<QString> URL;
    // Not a column: when the shortcut was made, in Unix seconds (its own Modified= value, else
    // the file's modification time). Bookmark files carry it as ADD_DATE.
    std::optional<qint64> modifiedAt = std::nullopt;

    // True when the record starts a folder group: its folder name is neither null nor empty.
    bool opensFolderGroup() const { return FolderName && !FolderName->isEmpty(); }
    bool isTicked() const { return Selected.value_or(false); }
};

// The fields in their fixed order; the grid shows them as columns in this order.
enum class LinkField { Selected = 0, FolderName = 1, SiteName = 2, URL = 3 };
inline constexpr int LinkFieldCount = 4;

// The name a field is created with ("Foldername" for the folder field).
QString linkFieldName(LinkField field);

// The in-memory table of found favorites: records in the order they were appended.
// Values are kept whole, however long. The table is never emptied in place; callers that
// want a fresh one make a new table.
class LinkTable {
public:
    int recordCount() const { return int(m_records.size()); }

    void append(LinkRecord record) { m_records.push_back(std::move(record)); }

    const LinkRecord &record(int row) const { return m_records[size_t(row)]; }
    const std::vector<LinkRecord> &records() const { return m_records; }

    // A field's value, or an invalid QVariant for null.
    QVariant value(int row, LinkField field) const;

    // The one change allowed after the walk: the user ticks or unticks a record.
    void setSelected(int row, bool selected) { m_records[size_t(row)].Selected = selected; }

private:
    std::vector<LinkRecord> m_records;
};

} // namespace quillon
