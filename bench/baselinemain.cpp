// quillon-baseline: the floor for a walk of a favorites tree on this machine. Lists every folder
// once and reads every shortcut's first 4 KiB, nothing more, and says how long that took.

#include "baselinewalk.h"

#include <chrono>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillon-baseline FOLDER\n");
        return 2;
    }
    const auto started = std::chrono::steady_clock::now();
    const quillon::bench::BaselineCounts counts = quillon::bench::baselineWalk(argv[1]);
    const std::chrono::duration<double, std::milli> took =
        std::chrono::steady_clock::now() - started;
    std::printf("%ld folders, %ld shortcuts, %lld bytes, checksum %lx, %.1f ms\n", counts.folders,
                counts.shortcuts, counts.bytes, counts.checksum, took.count());
    return counts.folders > 0 ? 0 : 1;
}
