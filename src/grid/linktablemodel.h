#pragma once

#include "grid/linkstatuscolumn.h"
#include "links/foldergroups.h"
#include "links/linktable.h"
#include "links/listedlink.h"

#include <QAbstractTableModel>

#include <optional>
#include <vector>

namespace quillon {

// Shows a link table as a grid, and owns it: one row per record, one column per field.
// Column 0 is a tick box that writes into the record's "Selected"; the other columns are
// read-only. The folder cell of a row that opens a folder group is shaded. Until a table is
// bound the model has no columns. The rules of ticking and of folder groups are the table's
// (src/links); the model applies them and says which rows changed.
class LinkTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The status column exists once a link check ran on the rows.
    enum Column {
        SelectedColumn = 0,
        FolderColumn = 1,
        SiteColumn = 2,
        UrlColumn = 3,
        StatusColumn = 4
    };

    explicit LinkTableModel(QObject *parent = nullptr);

    // Shows this table from now on; an empty one for a fresh start.
    void setTable(LinkTable table = {});
    // The table shown, or none before the first is bound.
    const LinkTable *table() const { return m_table ? &*m_table : nullptr; }

    // Appends records as rows, in one batch.
    void appendRecords(const std::vector<LinkRecord> &records);

    // True once a tick was changed since the table was bound: by a click, a key or a command.
    bool ticksChanged() const { return m_ticksChanged; }

    // Ticks every given row, or unticks them all when every one is ticked already; one change
    // signal per run of neighbouring rows.
    void toggleTicks(const QList<int> &rows);
    // Ticks the rows [first, last), leaving script links unticked; returns how many it left.
    int tickRange(int first, int last);
    void untickRange(int first, int last);
    // Flips every tick, leaving script links unticked; returns how many it left.
    int invertTicks();
    // Ticks exactly the rows a written list names, and unticks every other.
    TicksFromList tickAsInList(const std::vector<ListedLink> &links);
    // Unticks every ticked row whose address is that of an earlier ticked row; returns how
    // many.
    int untickDuplicates();

    // What link checks found, kept while the rows stay; a new table starts without.
    const LinkStatusColumn &statuses() const { return m_statuses; }
    // A check of these rows begins: their earlier results go, and the status column shows.
    void startCheck(const QList<int> &rows);
    void setCheckResult(int row, const LinkCheckResult &result);
    // The row takes an address the check found (a page's new address, an archived copy) with
    // the result that says so; the old address stays in the address's tooltip.
    void takeCheckedAddress(int row, const QString &address, const LinkCheckResult &result);

    // The folder group that holds a row.
    FolderGroup folderGroup(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    bool isValid(const QModelIndex &index) const;
    void ticksChangedIn(int first, int last);

    std::optional<LinkTable> m_table;
    LinkStatusColumn m_statuses;
    bool m_ticksChanged = false;
};

} // namespace quillon
