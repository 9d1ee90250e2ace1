#pragma once

#include "links/linktable.h"

#include <QAbstractTableModel>

#include <memory>
#include <utility>

namespace quillon {

// Shows a link table as a grid: one row per record, one column per field. Column 0 is a tick
// box that writes into the record's "Selected"; the other columns are read-only. The folder cell
// of a row that opens a folder group is shaded. Records appended to the table after binding
// become rows when syncRows() is called, in one batch.
class LinkTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { SelectedColumn = 0, FolderColumn = 1, SiteColumn = 2, UrlColumn = 3 };

    explicit LinkTableModel(QObject *parent = nullptr);

    // Shows another table; the model holds its own reference to it.
    void setTable(std::shared_ptr<LinkTable> table);
    const std::shared_ptr<LinkTable> &table() const { return m_table; }

    // Makes rows of the records appended since the last call.
    void syncRows();

    // Ticks or unticks several rows at once; one change signal per run of neighbouring rows.
    void setTicked(const QList<int> &rows, bool selected);
    // Ticks every given row, or unticks them all when every one is ticked already.
    void toggleSelected(const QList<int> &rows);
    // Ticks or unticks the rows [first, last) with one change signal.
    void setSelectedRange(int first, int last, bool selected);
    // Flips the tick of every row, with one change signal.
    void invertSelected();
    // Ticks exactly these rows and unticks every other.
    void setTickedRows(const QList<int> &rows);
    // Unticks every ticked row whose address is that of an earlier ticked row.
    void untickDuplicates();

    // The rows [first, last) of the folder group that holds a row: from the row that opens the
    // group up to the next group's first row. The rows before the first group-opening row are
    // the start folder's own group. {0, 0} for a row that does not exist.
    std::pair<int, int> folderGroup(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    bool isValid(const QModelIndex &index) const;

    std::shared_ptr<LinkTable> m_table;
    int m_rows = 0;
};

} // namespace quillon
