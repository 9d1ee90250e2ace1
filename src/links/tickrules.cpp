#include "links/tickrules.h"

#include "links/linktable.h"
#include "links/scriptaddress.h"

#include <algorithm>

namespace quillon {

namespace {

// Ticks a row unless it is a script link; true when it left a script link unticked.
bool tickUnlessScript(LinkTable &table, int row)
{
    if (isScriptAddress(table.record(row).address))
        return !table.record(row).ticked;
    table.setTicked(row, true);
    return false;
}

} // namespace

int tickRange(LinkTable &table, int first, int last)
{
    int leftUnticked = 0;
    for (int row = std::max(first, 0); row < std::min(last, table.recordCount()); ++row)
        leftUnticked += tickUnlessScript(table, row);
    return leftUnticked;
}

void untickRange(LinkTable &table, int first, int last)
{
    for (int row = std::max(first, 0); row < std::min(last, table.recordCount()); ++row)
        table.setTicked(row, false);
}

int invertTicks(LinkTable &table)
{
    int leftUnticked = 0;
    for (int row = 0; row < table.recordCount(); ++row) {
        if (table.record(row).ticked)
            table.setTicked(row, false);
        else
            leftUnticked += tickUnlessScript(table, row);
    }
    return leftUnticked;
}

} // namespace quillon
