#pragma once

#include "check/linkstatus.h"
#include "cli/linkcheckoptions.h"

#include <QByteArray>

#include <functional>
#include <vector>

namespace quillon {

class LinkTable;

// What the check found for one row that was ticked when it ran.
struct CheckedRow {
    int row = 0;
    QString address; // before any change
    LinkCheckResult result;
};

struct LinkCheckOutcome {
    std::vector<CheckedRow> rows; // in row order
    bool networkSeemsUnreachable = false;
};

// Checks the ticked rows' addresses, then does what the options ask, in this order: links
// dead rows to archived copies, gives moved rows their new address, unticks the rows still
// dead. Runs an event loop until all is done; says on standard error what it did.
LinkCheckOutcome checkTickedLinks(LinkTable &table, const LinkCheckOptions &options, bool terminal);

// The tab-separated report: a header line, then one line per checked row, UTF-8.
QByteArray linkReport(const LinkTable &table, const LinkCheckOutcome &outcome);

// Saves the report whole or not at all; mayReplace is asked last, before the file is put in
// place.
bool saveLinkReport(const QString &path, const QByteArray &report,
                    const std::function<bool()> &mayReplace, QString *error);

} // namespace quillon
