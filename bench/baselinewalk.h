#pragma once

#include <string>

namespace quillon::bench {

struct BaselineCounts {
    long folders = 0;   // folders listed
    long shortcuts = 0; // *.url files read
    long long bytes = 0;
    unsigned long checksum = 0; // of the bytes read, so that no read can be left out
};

// The least work a walk of a favorites tree can do: every folder below root listed once,
// breadth first, and the first 4 KiB of every *.url file read once, with plain POSIX calls.
// Hidden entries are passed over and links to folders not followed, as in the real walk.
BaselineCounts baselineWalk(const std::string &root);

} // namespace quillon::bench
