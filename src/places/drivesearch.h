#pragma once

#include "places/drivefinder.h"

#include <QStringList>

#include <chrono>

namespace quillon {

// The drives found, and the places that did not answer in time, whose drives are left out.
struct DriveSearchResult {
    QList<Drive> drives;
    QStringList unanswered;
    QString error; // set when the search could not run at all; drives then holds the root alone
};

// Finds the drives of this machine in a helper process: helperProgram, started with
// DriveHelperOption. A thread stuck on a hung mount cannot be stopped, and a process cannot
// exit while it waits, but a helper can be abandoned. A place silent for longer than
// placeLimit is left out: the helper is killed without waiting for it, and started again to
// look at the other places. Blocks for at most about MaxUnansweredPlaces + 1 times
// placeLimit, so call it off the window's thread.
DriveSearchResult findDrivesWithTimeLimit(const QString &helperProgram,
                                          std::chrono::milliseconds placeLimit);

inline constexpr int MaxUnansweredPlaces = 3;

// The hidden first argument that makes a program the helper.
inline constexpr char DriveHelperOption[] = "--find-drives-helper";
bool isDriveHelperCall(int argc, const char *const *argv);

// What the helper does: looks at the places, saying on standard output which one it is about
// to look at, then prints the drives found. Returns the exit code.
int runDriveHelper(int argc, const char *const *argv);

} // namespace quillon
