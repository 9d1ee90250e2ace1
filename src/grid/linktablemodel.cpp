#include "grid/linktablemodel.h"

#include "links/scriptaddress.h"
#include "links/tickrules.h"
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

QString scriptAddressTip(const QString &address)
{
    return LinkTableModel::tr("Script address: published, it would run as script on the page that "
                              "shows it, so it starts unticked. Tick it to publish it anyway.\n%1")
        .arg(address);
}

} // namespace

LinkTableModel::LinkTableModel(QObject *parent)
    : QAbstractTableModel(parent)
{}

void LinkTableModel::setTable(LinkTable table)
{
    beginResetModel();
    m_table = std::move(table);
    m_statuses.clear();
    m_ticksChanged = false;
    endResetModel();
}

void LinkTableModel::appendRecords(const std::vector<LinkRecord> &records)
{
    if (!m_table || records.empty())
        return;
    const int first = m_table->recordCount();
    beginInsertRows({}, first, first + int(records.size()) - 1);
    for (const LinkRecord &record : records)
        m_table->append(record);
    endInsertRows();
}

void LinkTableModel::ticksChangedIn(int first, int last)
{
    if (first >= last)
        return;
    m_ticksChanged = true;
    Q_EMIT dataChanged(index(first, SelectedColumn), index(last - 1, SelectedColumn),
                       {Qt::CheckStateRole});
}

void LinkTableModel::toggleTicks(const QList<int> &rows)
{
    QList<int> sorted;
    for (const int row : rows) {
        if (row >= 0 && row < rowCount())
            sorted.append(row);
    }
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    const bool allTicked = std::all_of(sorted.begin(), sorted.end(),
                                       [this](int row) { return m_table->record(row).ticked; });
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < sorted.size(); ++i) {
        m_table->setTicked(sorted[i], !allTicked);
        if (i + 1 == sorted.size() || sorted[i + 1] != sorted[i] + 1) {
            ticksChangedIn(sorted[runStart], sorted[i] + 1);
            runStart = i + 1;
        }
    }
}

int LinkTableModel::tickRange(int first, int last)
{
    if (!m_table)
        return 0;
    const int left = quillon::tickRange(*m_table, first, last);
    ticksChangedIn(std::max(first, 0), std::min(last, rowCount()));
    return left;
}

void LinkTableModel::untickRange(int first, int last)
{
    if (!m_table)
        return;
    quillon::untickRange(*m_table, first, last);
    ticksChangedIn(std::max(first, 0), std::min(last, rowCount()));
}

int LinkTableModel::invertTicks()
{
    if (!m_table)
        return 0;
    const int left = quillon::invertTicks(*m_table);
    ticksChangedIn(0, rowCount());
    return left;
}

TicksFromList LinkTableModel::tickAsInList(const std::vector<ListedLink> &links)
{
    if (!m_table)
        return {};
    TicksFromList ticks = quillon::tickAsInList(*m_table, links);
    ticksChangedIn(0, rowCount());
    return ticks;
}

int LinkTableModel::untickDuplicates()
{
    if (!m_table)
        return 0;
    const QList<int> rows = duplicateRows(*m_table);
    toggleTicks(rows); // every one of them is ticked: toggling unticks them
    return int(rows.size());
}

void LinkTableModel::startCheck(const QList<int> &rows)
{
    if (!m_table)
        return;
    if (!m_statuses.isShown()) {
        beginInsertColumns({}, StatusColumn, StatusColumn);
        m_statuses.show();
        endInsertColumns();
    }
    for (const int row : rows)
        m_statuses.forget(row);
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, StatusColumn), index(rowCount() - 1, StatusColumn));
}

void LinkTableModel::setCheckResult(int row, const LinkCheckResult &result)
{
    if (row < 0 || row >= rowCount() || !m_statuses.isShown())
        return;
    m_statuses.setResult(row, result);
    Q_EMIT dataChanged(index(row, StatusColumn), index(row, StatusColumn));
}

void LinkTableModel::takeCheckedAddress(int row, const QString &address,
                                        const LinkCheckResult &result)
{
    if (row < 0 || row >= rowCount() || !m_statuses.isShown())
        return;
    m_statuses.keepPreviousAddress(row, m_table->record(row).address);
    m_table->setAddress(row, address);
    m_statuses.setResult(row, result);
    Q_EMIT dataChanged(index(row, UrlColumn), index(row, StatusColumn));
}

FolderGroup LinkTableModel::folderGroup(int row) const
{
    return m_table ? folderGroupOf(*m_table, row) : FolderGroup{};
}

bool LinkTableModel::isValid(const QModelIndex &index) const
{
    return index.isValid() && !index.parent().isValid() && index.model() == this &&
           index.row() >= 0 && index.row() < rowCount() && index.column() >= 0 &&
           index.column() < columnCount();
}

int LinkTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_table ? 0 : m_table->recordCount();
}

int LinkTableModel::columnCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_table)
        return 0;
    return LinkFieldCount + (m_statuses.isShown() ? 1 : 0);
}

QVariant LinkTableModel::data(const QModelIndex &index, int role) const
{
    if (!isValid(index))
        return {};
    const LinkRecord &record = m_table->record(index.row());
    const int column = index.column();
    if (column == StatusColumn)
        return m_statuses.data(index.row(), role);
    switch (role) {
    case Qt::DisplayRole:
        if (column == SelectedColumn)
            return {};
        return m_table->value(index.row(), LinkField(column));
    case Qt::ToolTipRole:
        if (column == SelectedColumn)
            return {};
        if (column == UrlColumn && hasScriptAddress(record))
            return scriptAddressTip(record.address);
        if (column == UrlColumn) {
            const QString tip = m_statuses.addressTip(index.row(), record.address);
            if (!tip.isEmpty())
                return tip;
        }
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
    m_table->setTicked(index.row(), value.toInt() == Qt::Checked);
    ticksChangedIn(index.row(), index.row() + 1);
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
    if (orientation == Qt::Horizontal && section == StatusColumn && m_statuses.isShown())
        return LinkStatusColumn::headerData(role);
    if (orientation != Qt::Horizontal || section < 0 || section >= LinkFieldCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    // The tick column is only as wide as a check box: its name shows as a tip instead.
    if (role == Qt::ToolTipRole || (role == Qt::DisplayRole && section != SelectedColumn))
        return LinkFieldNames.at(size_t(section)).translated();
    return {};
}

} // namespace quillon
