#pragma once

#include <QString>

// What the print system says about a queue, read with the CUPS client programs. Without them
// every question answers "unknown" and waits end at once.
namespace PrintJobMonitor {

enum class QueueState { Unknown, Accepting, NotAccepting };
// Whether the queue takes new jobs.
QueueState Acceptance(const QString &queue);
// Whether the queue is stopped (jobs stay in it until someone starts it again).
bool Stopped(const QString &queue);
// The number of jobs not yet done in the queue; -1 when unknown.
int ActiveJobs(const QString &queue);
// The highest job number the queue ever had (done jobs included); -1 when unknown.
int LastJobId(const QString &queue);

enum class WaitResult { Done, Stopped, TimedOut, Unknown };
// Waits, letting events run, until the queue has no job left, the queue is stopped (a stopped
// queue never empties, so the wait ends) or the time limit passed. Never spins: it looks twice a
// second.
WaitResult WaitForJobs(const QString &queue, int timeLimitMs);

} // namespace PrintJobMonitor
