#pragma once

#include <QtGlobal>

#include <chrono>

// The walk's timing, in one place. The figures behind them are those of bench/README.md: on a
// warm local disk a shortcut costs about 4 to 6 µs of processor time and hardly waits; a cold
// virtual disk waits about 100 µs per shortcut, a share or FUSE mount about 5 round trips of
// 1 ms. Handing a task to another thread and back costs about 10 µs (wake-ups and context
// switches: 31,000 switches for 100,000 shortcuts took 16% of the first pool walk's time).
namespace quillon::walktiming {

// Shortcuts handed on between two progress reports within one folder: about 1 to 2 ms of
// work on a warm local disk, so reports cost nothing measurable and still come often.
inline constexpr int ShortcutsBetweenReports = 256;

// While waiting for a slow file system the caller still hears from the walk this often, so
// that a window can show progress and stop within a tenth of a second.
inline constexpr std::chrono::milliseconds ReportWhileWaiting{100};

// Reads per task grow until a task takes about this long: at 4 to 6 µs per warm read that is
// 30 to 50 reads, so the 10 µs of a hand-over cost at most 5%, while reads that wait a round
// trip each still go one per task and spread over every thread.
inline constexpr qint64 TaskTargetNs = 200'000;
inline constexpr qsizetype MaxReadsPerTask = 64;

// Reads that wait less than this for the file system (time not spent on a processor) come
// from memory or a local disk, and threads would only add hand-over costs: tasks then run on
// the walk's own thread. It lies between a warm read's wait (under 5 µs) and a cold disk's
// (about 100 µs); a read that waits more gains from being one of many in flight. Warm reads on
// two threads in 40-read tasks instead took 25% more processor time for no gain in wall time
// on 2 shared processors (medians, 100,000 shortcuts: 574 against 465 ms processor time).
inline constexpr qint64 ThreadsFromWaitNs = 40'000;

} // namespace quillon::walktiming
