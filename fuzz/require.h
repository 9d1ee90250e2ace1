#pragma once

#include <cstdio>
#include <cstdlib>

namespace quillon::fuzz {

// Ends the run with a finding when a property does not hold.
inline void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

} // namespace quillon::fuzz
