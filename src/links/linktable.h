#pragma once

#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace quillon {

// One found shortcut, as a row of the grid and of every written list.
struct LinkRecord {
    bool ticked = false;
    QString folderName; // set only on the record that opens a folder group; else empty
    QString siteName;
    QString address;
    // Not a column: when the shortcut was made, in Unix seconds (its own Modified= value, else
    // the file's modification time); none when neither is known. Bookmark files carry it as
    // ADD_DATE.
    std::optional<qint64> modifiedAt = std::nullopt;

    bool opensFolderGroup() const { return !folderName.isEmpty(); }
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

    // A field's value: a bool for the tick, else the text; no value for the folder name of a
    // record that opens no group.
    QVariant value(int row, LinkField field) const;

    // The changes allowed after the walk: the user ticks or unticks a record, or takes the
    // address a link check found for it (a page's new address, an archived copy).
    void setTicked(int row, bool ticked) { m_records[size_t(row)].ticked = ticked; }
    void setAddress(int row, QString address)
    {
        m_records[size_t(row)].address = std::move(address);
    }

private:
    std::vector<LinkRecord> m_records;
};

} // namespace quillon
