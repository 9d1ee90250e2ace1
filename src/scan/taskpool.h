#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace quillon {

// Up to a fixed number of threads, started as tasks arrive, running tasks in the order given.
// Hand-written rather than QThreadPool so that ThreadSanitizer sees every hand-over between
// threads: Debian's Qt is not built for it, and the walk's correctness rests on those.
class TaskPool {
public:
    explicit TaskPool(int maxThreads);
    // Runs the tasks still queued, then ends the threads.
    ~TaskPool();
    TaskPool(const TaskPool &) = delete;
    TaskPool &operator=(const TaskPool &) = delete;

    void start(std::function<void()> task);

private:
    void work();

    const size_t m_maxThreads;
    std::mutex m_mutex;
    std::condition_variable m_taskReady;
    std::deque<std::function<void()>> m_tasks;
    size_t m_idle = 0;
    bool m_closing = false;
    std::vector<std::thread> m_threads;
};

} // namespace quillon
