#include "grid/linktablemodel.h"

#include "links/listedlink.h"
#include "links/scriptaddress.h"
#include "texts/fieldnames.h"

#include <QColor>
#include <QFont>

#include <algorithm>

namespace quillon {

namespace {

// A script address is shown in dark red italics, with a tip that says why it starts unticked.
constexpr QRgb ScriptAddressColour = 0xFF9C0006;
// Light grey marks the folder cell that opens each folder group.
constexpr QRgb FolderGroupShade = 0xFFC0C0C0;

bool hasScriptAddress(const LinkRecord &record)
{
    return isScriptAddress(record.address);
}

} // namespace

LinkTableModel::LinkTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{}

void LinkTableModel::setTable(std::shared_ptr<LinkTable> table)
{
    beginResetModel();
    m_table = std::move(table);
    m_rows = m_table ? m_table->recordCount() : 0;
    endResetModel();
}

void LinkTableModel::syncRows()
{
    const int count = m_table ? m_table->recordCount() : 0;
    if (count <= m_rows)
        return;
    beginInsertRows({}, m_rows, count - 1);
    m_rows = count;
    endInsertRows();
}

void LinkTableModel::setTicked(const QList<int> &rows, bool selected)
{
    QList<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    qsizetype runStart = -1;
    for (qsizetype i = 0; i < sorted.size(); ++i) {
        const int row = sorted[i];
        if (row < 0 || row >= m_rows)
            continue;
        m_table->setTicked(row, selected);
        if (runStart < 0)
            runStart = i;
        const bool runEnds = i + 1 == sorted.size() || sorted[i + 1] != row + 1;
        if (runEnds) {
            const QModelIndex first = index(sorted[runStart], SelectedColumn);
            Q_EMIT dataChanged(first, index(row, SelectedColumn), {Qt::CheckStateRole});
            runStart = -1;
        }
    }
}

void LinkTableModel::toggleSelected(const QList<int> &rows)
{
    const bool allTicked = std::all_of(rows.begin(), rows.end(), [this](int row) {
        return row < 0 || row >= m_rows || m_table->record(row).ticked;
    });
    setTicked(rows, !allTicked);
}

void LinkTableModel::setSelectedRange(int first, int last, bool selected)
{
    first = std::max(first, 0);
    last = std::min(last, m_rows);
    if (first >= last)
        return;
    for (int row = first; row < last; ++row)
        m_table->setTicked(row, selected);
    Q_EMIT dataChanged(index(first, SelectedColumn), index(last - 1, SelectedColumn),
                       {Qt::CheckStateRole});
}

void LinkTableModel::invertSelected()
{
    if (m_rows == 0)
        return;
    for (int row = 0; row < m_rows; ++row)
        m_table->setTicked(row, !m_table->record(row).ticked);
    Q_EMIT dataChanged(index(0, SelectedColumn), index(m_rows - 1, SelectedColumn),
                       {Qt::CheckStateRole});
}

void LinkTableModel::setTickedRows(const QList<int> &rows)
{
    if (m_rows == 0)
        return;
    for (int row = 0; row < m_rows; ++row)
        m_table->setTicked(row, false);
    for (const int row : rows) {
        if (row >= 0 && row < m_rows)
            m_table->setTicked(row, true);
    }
    Q_EMIT dataChanged(index(0, SelectedColumn), index(m_rows - 1, SelectedColumn),
                       {Qt::CheckStateRole});
}

void LinkTableModel::untickDuplicates()
{
    if (m_table)
        setTicked(duplicateRows(*m_table), false);
}

std::pair<int, int> LinkTableModel::folderGroup(int row) const
{
    if (row < 0 || row >= m_rows)
        return {0, 0};
    int first = row;
    while (first > 0 && !m_table->record(first).opensFolderGroup())
        --first;
    int last = row + 1;
    while (last < m_rows && !m_table->record(last).opensFolderGroup())
        ++last;
    return {first, last};
}

bool LinkTableModel::isValid(const QModelIndex &index) const
{
    return index.isValid() && !index.parent().isValid() && index.model() == this &&
           index.row() >= 0 && index.row() < m_rows && index.column() >= 0 &&
           index.column() < LinkFieldCount;
}

int LinkTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int LinkTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_table ? 0 : LinkFieldCount;
}

QVariant LinkTableModel::data(const QModelIndex &index, int role) const
{
    if (!isValid(index))
        return {};
    const LinkRecord &record = m_table->record(index.row());
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (column == SelectedColumn)
            return {};
        return m_table->value(index.row(), LinkField(column));
    case Qt::ToolTipRole:
        if (column == SelectedColumn)
            return {};
        if (column == UrlColumn && hasScriptAddress(record))
            return tr("Script address: published, it would run as script on the page that "
                      "shows it, so it starts unticked. Tick it to publish it anyway.\n%1")
                .arg(record.address);
        return m_table->value(index.row(), LinkField(column));
    case Qt::ForegroundRole:
        if (column == UrlColumn && hasScriptAddress(record))
            return QColor::fromRgb(ScriptAddressColour);
        return {};
    case Qt::FontRole:
        if (column == UrlColumn && hasScriptAddress(record)) {
            QFont italic;
            italic.setItalic(true);
            return italic;
        }
        return {};
    // A tick box has no text of its own; readers say which link it ticks.
    case Qt::AccessibleTextRole:
        if (column == SelectedColumn)
            return tr("Tick %1").arg(record.siteName.isEmpty() ? record.address : record.siteName);
        return {};
    case Qt::AccessibleDescriptionRole:
        if (column == SelectedColumn)
            return record.address;
        return {};
    case Qt::CheckStateRole:
        if (column == SelectedColumn)
            return record.ticked ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::BackgroundRole:
        if (column == FolderColumn && record.opensFolderGroup())
            return QColor::fromRgb(FolderGroupShade);
        return {};
    default:
        return {};
    }
}

bool LinkTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!isValid(index) || index.column() != SelectedColumn || role != Qt::CheckStateRole)
        return false;
    const bool ticked = value.toInt() == Qt::Checked;
    m_table->setTicked(index.row(), ticked);
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags LinkTableModel::flags(const QModelIndex &index) const
{
    if (!isValid(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == SelectedColumn)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant LinkTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= LinkFieldCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    // The tick column is only as wide as a check box: its name shows as a tip instead.
    if (role == Qt::ToolTipRole || (role == Qt::DisplayRole && section != SelectedColumn))
        return LinkFieldNames.at(size_t(section)).translated();
    return {};
}

} // namespace quillon
