#pragma once

#include <memory>

namespace quillon {

// Ends the exporter on SIGINT, SIGTERM or SIGHUP without touching the old output file. While
// the links are gathered, or written to a descriptor such as standard output, a signal ends
// the program at once. Once writing to a file starts, it is remembered instead, and the writer
// asks interrupted() before the old file is replaced. On systems without these signals it does
// nothing.
class Interruption {
public:
    // Call before any other thread is started: the signals are blocked in every thread and
    // taken by one watching thread.
    Interruption();
    ~Interruption();
    Interruption(const Interruption &) = delete;
    Interruption &operator=(const Interruption &) = delete;

    // Call before writing to a file, not before writing to a descriptor.
    void beginWriting();
    bool interrupted() const;
    // The exit code of a run ended by the signal: 128 plus its number, as shells report it.
    int exitCode() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace quillon
