#include "cli/interruption.h"

#include <QtGlobal>

#include <cstdlib>
#include <mutex>
#include <thread>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace quillon {

struct Interruption::State {
    std::mutex mutex;
    bool writing = false;
    int signal = 0;
};

#ifdef Q_OS_UNIX

namespace {
sigset_t stopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    // A closed terminal: left to its default, it would leave a temporary file behind on file
    // systems without O_TMPFILE.
    sigaddset(&set, SIGHUP);
    return set;
}
} // namespace

Interruption::Interruption()
    : m_state(std::make_shared<State>())
{
    // A watching thread instead of a handler: it may lock and exit, which a handler may not.
    const sigset_t set = stopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread([state = m_state, set] {
        for (;;) {
            int signal = 0;
            if (sigwait(&set, &signal) != 0)
                continue;
            const std::lock_guard lock(state->mutex);
            if (!state->writing) {
                if (::isatty(STDERR_FILENO) == 1)
                    (void)!::write(STDERR_FILENO, "\n", 1); // past the progress line
                std::_Exit(128 + signal);
            }
            state->signal = signal;
        }
    }).detach();
}

#else

Interruption::Interruption()
    : m_state(std::make_shared<State>())
{}

#endif

Interruption::~Interruption() = default;

void Interruption::beginWriting()
{
    const std::lock_guard lock(m_state->mutex);
    m_state->writing = true;
}

bool Interruption::interrupted() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->signal != 0;
}

int Interruption::exitCode() const
{
    const std::lock_guard lock(m_state->mutex);
    return 128 + m_state->signal;
}

} // namespace quillon
