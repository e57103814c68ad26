#include "export/PageWorkers.h"

#include <algorithm>

PageWorkers::PageWorkers(int threads)
{
    for (int i = 0; i < threads; ++i)
        m_threads.emplace_back([this] { work(); });
}

PageWorkers::~PageWorkers()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_queue.clear();
    }
    m_changed.notify_all();
    for (std::thread &t : m_threads)
        t.join();
}

int PageWorkers::defaultThreads()
{
    const unsigned cores = std::thread::hardware_concurrency();
    return std::max(1, int(cores) - 1);
}

void PageWorkers::rethrowFailure()
{
    if (m_failure) {
        std::exception_ptr failure = m_failure;
        m_failure = nullptr;
        std::rethrow_exception(failure);
    }
}

void PageWorkers::submit(std::function<void()> job)
{
    if (m_threads.empty()) {
        job();
        return;
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_failure || m_queue.empty(); });
    rethrowFailure();
    m_queue.push_back(std::move(job));
    lock.unlock();
    m_changed.notify_all();
}

void PageWorkers::finish()
{
    if (m_threads.empty())
        return;
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.empty() && m_running == 0; });
    rethrowFailure();
}

void PageWorkers::work()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping)
            return;
        std::function<void()> job = std::move(m_queue.front());
        m_queue.pop_front();
        ++m_running;
        lock.unlock();
        m_changed.notify_all();
        std::exception_ptr failure;
        try {
            job();
        } catch (...) {
            failure = std::current_exception();
        }
        job = nullptr;
        lock.lock();
        --m_running;
        if (failure && !m_failure) {
            m_failure = failure;
            m_queue.clear();
        }
        m_changed.notify_all();
    }
}
