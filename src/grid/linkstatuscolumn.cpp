#include "grid/linkstatuscolumn.h"

#include <QBrush>
#include <QColor>
#include <QFont>

namespace quillon {

namespace {

// Each colour reads at 7:1 or more on the grid's white; the word says the same, so nobody
// needs the colour.
QRgb statusColour(LinkStatus status)
{
    switch (status) {
    case LinkStatus::Ok:
        return 0xFF1B5E20; // green
    case LinkStatus::Dead:
        return 0xFFA00000; // red
    case LinkStatus::Moved:
    case LinkStatus::Elsewhere:
        return 0xFF0D47A1; // blue
    case LinkStatus::Blocked:
    case LinkStatus::Unsure:
        return 0xFF7A4100; // brown
    case LinkStatus::Archived:
        return 0xFF6A1B9A; // purple
    case LinkStatus::Skipped:
        break;
    }
    return 0xFF595959; // grey
}

} // namespace

void LinkStatusColumn::clear()
{
    m_entries.clear();
    m_shown = false;
}

LinkStatusColumn::Entry &LinkStatusColumn::entry(int row)
{
    // Rows are only ever appended while a table is shown, so the list grows as results come.
    if (size_t(row) >= m_entries.size())
        m_entries.resize(size_t(row) + 1);
    return m_entries[size_t(row)];
}

const LinkStatusColumn::Entry *LinkStatusColumn::find(int row) const
{
    return row >= 0 && size_t(row) < m_entries.size() ? &m_entries[size_t(row)] : nullptr;
}

void LinkStatusColumn::forget(int row)
{
    if (row >= 0 && size_t(row) < m_entries.size())
        m_entries[size_t(row)].result.reset();
}

void LinkStatusColumn::setResult(int row, const LinkCheckResult &result)
{
    if (row >= 0)
        entry(row).result = result;
}

const LinkCheckResult *LinkStatusColumn::result(int row) const
{
    const Entry *found = find(row);
    return found && found->result ? &*found->result : nullptr;
}

void LinkStatusColumn::keepPreviousAddress(int row, const QString &address)
{
    if (row < 0)
        return;
    Entry &kept = entry(row);
    if (kept.previousAddress.isEmpty())
        kept.previousAddress = address;
}

QList<int> LinkStatusColumn::rowsWith(LinkStatus status) const
{
    QList<int> rows;
    for (size_t row = 0; row < m_entries.size(); ++row) {
        if (m_entries[row].result && m_entries[row].result->status == status)
            rows.append(int(row));
    }
    return rows;
}

QString LinkStatusColumn::word(LinkStatus status)
{
    switch (status) {
    case LinkStatus::Skipped:
        return tr("skipped");
    case LinkStatus::Ok:
        return tr("ok");
    case LinkStatus::Moved:
        return tr("moved");
    case LinkStatus::Elsewhere:
        return tr("elsewhere");
    case LinkStatus::Blocked:
        return tr("blocked");
    case LinkStatus::Dead:
        return tr("dead");
    case LinkStatus::Unsure:
        return tr("unsure");
    case LinkStatus::Archived:
        return tr("archived");
    }
    return linkStatusWord(status);
}

QString LinkStatusColumn::tip(const Entry &entry) const
{
    const LinkCheckResult &result = *entry.result;
    QStringList lines{word(result.status)};
    if (result.httpCode > 0)
        lines << tr("HTTP status: %1").arg(result.httpCode);
    if (!result.finalAddress.isEmpty())
        lines << (result.status == LinkStatus::Archived ? tr("Archived copy: %1")
                                                        : tr("Final address: %1"))
                     .arg(result.finalAddress);
    if (!entry.previousAddress.isEmpty())
        lines << tr("Address before: %1").arg(entry.previousAddress);
    if (!result.reason.isEmpty())
        lines << result.reason;
    return lines.join(u'\n');
}

QVariant LinkStatusColumn::data(int row, int role) const
{
    const Entry *found = find(row);
    if (!found || !found->result)
        return {};
    const LinkStatus status = found->result->status;
    switch (role) {
    case Qt::DisplayRole:
        return word(status);
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return tip(*found);
    case Qt::ForegroundRole:
        return QColor::fromRgb(statusColour(status));
    case Qt::FontRole:
        if (status == LinkStatus::Dead) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

QString LinkStatusColumn::addressTip(int row, const QString &address) const
{
    const Entry *found = find(row);
    if (!found || found->previousAddress.isEmpty())
        return {};
    const bool archived = found->result && found->result->status == LinkStatus::Archived;
    return (archived ? tr("Archived copy of %1\n%2") : tr("New address of %1\n%2"))
        .arg(found->previousAddress, address);
}

QVariant LinkStatusColumn::headerData(int role)
{
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return tr("Status");
    return {};
}

} // namespace quillon
