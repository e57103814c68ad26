#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Worker threads that compress and write finished pages while the next page is drawn. Jobs may
// finish in any order; what must keep the page order is decided before a job is submitted. With
// no threads every job runs at once on the caller's thread. The first job that fails ends the
// export: its exception is raised again by the next submit() or by finish(), and jobs not yet
// started are dropped.
class PageWorkers
{
public:
    explicit PageWorkers(int threads);
    ~PageWorkers(); // waits for the running jobs; failures no longer matter then
    PageWorkers(const PageWorkers &) = delete;
    PageWorkers &operator=(const PageWorkers &) = delete;

    int threads() const { return int(m_threads.size()); }
    // Queues a job; waits while every thread is busy and one job already waits, so at most
    // threads + 1 pages are held at a time.
    void submit(std::function<void()> job);
    // Waits until every job has run; raises the first failure.
    void finish();

    // The threads an export uses by default: one per core beside the one that draws, at least one.
    static int defaultThreads();

private:
    void work();
    void rethrowFailure();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::function<void()>> m_queue;
    int m_running = 0;
    bool m_stopping = false;
    std::exception_ptr m_failure;
    std::vector<std::thread> m_threads;
};
