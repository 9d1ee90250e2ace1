#pragma once

namespace quillon {

class LinkTable;

// The ticking commands that act on many rows at once. A script link is never ticked by them:
// it is ticked one by one, on purpose. Each returns how many script links it left unticked.

// Ticks the rows [first, last), but not script links.
int tickRange(LinkTable &table, int first, int last);

// Unticks the rows [first, last).
void untickRange(LinkTable &table, int first, int last);

// Flips every row's tick; an unticked script link stays unticked.
int invertTicks(LinkTable &table);

} // namespace quillon
