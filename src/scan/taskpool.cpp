#include "scan/taskpool.h"

#include <algorithm>

namespace quillon {

TaskPool::TaskPool(int maxThreads)
    : m_maxThreads(size_t(std::max(maxThreads, 1)))
{}

TaskPool::~TaskPool()
{
    {
        const std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_taskReady.notify_all();
    for (std::thread &thread : m_threads)
        thread.join();
}

void TaskPool::start(std::function<void()> task)
{
    {
        const std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
        if (m_idle < m_tasks.size() && m_threads.size() < m_maxThreads)
            m_threads.emplace_back([this] { work(); });
    }
    m_taskReady.notify_one();
}

void TaskPool::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        ++m_idle;
        m_taskReady.wait(lock, [this] { return m_closing || !m_tasks.empty(); });
        --m_idle;
        if (m_tasks.empty())
            return; // closing, and nothing left to run
        std::function<void()> task = std::move(m_tasks.front());
        m_tasks.pop_front();
        lock.unlock();
        task();
        lock.lock();
    }
}

} // namespace quillon
