#pragma once

#include "check/linkstatus.h"

#include <QCoreApplication>
#include <QVariant>

#include <optional>
#include <vector>

namespace quillon {

// The link check's findings, kept beside the rows they are about rather than in them: a result
// for each checked row, and the address a row had before it took one the check found. Says
// what the status column and the address's tooltip show. The column is shown once a check ran
// on the rows; rows that were not checked show nothing in it.
class LinkStatusColumn {
    Q_DECLARE_TR_FUNCTIONS(LinkStatusColumn)
public:
    bool isShown() const { return m_shown; }
    void show() { m_shown = true; }
    // For a new table: no results, and no column.
    void clear();

    void forget(int row);
    void setResult(int row, const LinkCheckResult &result);
    // The row's result, or none when it was not checked.
    const LinkCheckResult *result(int row) const;
    // Keeps the address a row had before the check gave it another; only the first is kept.
    void keepPreviousAddress(int row, const QString &address);
    // The rows whose result has this status, in row order.
    QList<int> rowsWith(LinkStatus status) const;

    QVariant data(int row, int role) const;
    // The address cell's tooltip of a row that took a new address; empty for any other row.
    QString addressTip(int row, const QString &address) const;
    static QVariant headerData(int role);
    // The status word as the window shows it.
    static QString word(LinkStatus status);

private:
    struct Entry {
        std::optional<LinkCheckResult> result;
        QString previousAddress;
    };
    Entry &entry(int row);
    const Entry *find(int row) const;
    QString tip(const Entry &entry) const;

    std::vector<Entry> m_entries;
    bool m_shown = false;
};

} // namespace quillon
