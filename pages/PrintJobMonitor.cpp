#include "pages/PrintJobMonitor.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>

namespace {

bool lpstat(const QStringList &arguments, QString *output)
{
    static const QString program = QStandardPaths::findExecutable(QStringLiteral("lpstat"));
    if (program.isEmpty())
        return false;
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForStarted(3000))
        return false;
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(1000);
        return false;
    }
    *output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return process.exitStatus() == QProcess::NormalExit;
}

// Lines of "lpstat -o" name jobs as QUEUE-NUMBER.
QList<int> jobIds(const QString &queue, const QString &which)
{
    QList<int> ids;
    QString output;
    if (!lpstat({ QStringLiteral("-W"), which, QStringLiteral("-o"), queue }, &output))
        return { -1 };
    const QRegularExpression job(QStringLiteral("^") + QRegularExpression::escape(queue) + QStringLiteral("-(\\d+)\\s"),
        QRegularExpression::MultilineOption);
    for (auto it = job.globalMatch(output); it.hasNext();)
        ids << it.next().captured(1).toInt();
    return ids;
}

} // namespace

PrintJobMonitor::QueueState PrintJobMonitor::Acceptance(const QString &queue)
{
    QString output;
    if (!lpstat({ QStringLiteral("-a"), queue }, &output))
        return QueueState::Unknown;
    if (output.contains(QStringLiteral("not accepting")))
        return QueueState::NotAccepting;
    if (output.contains(QStringLiteral("accepting")))
        return QueueState::Accepting;
    return QueueState::Unknown;
}

bool PrintJobMonitor::Stopped(const QString &queue)
{
    QString output;
    if (!lpstat({ QStringLiteral("-p"), queue }, &output))
        return false;
    return output.contains(QStringLiteral(" disabled"));
}

int PrintJobMonitor::ActiveJobs(const QString &queue)
{
    const QList<int> ids = jobIds(queue, QStringLiteral("not-completed"));
    if (ids == QList<int> { -1 })
        return -1;
    return int(ids.size());
}

int PrintJobMonitor::LastJobId(const QString &queue)
{
    const QList<int> ids = jobIds(queue, QStringLiteral("all"));
    if (ids == QList<int> { -1 })
        return -1;
    int last = 0;
    for (int id : ids)
        last = std::max(last, id);
    return last;
}

PrintJobMonitor::WaitResult PrintJobMonitor::WaitForJobs(const QString &queue, int timeLimitMs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const int active = ActiveJobs(queue);
        if (active < 0)
            return WaitResult::Unknown;
        if (active == 0)
            return WaitResult::Done;
        if (Stopped(queue))
            return WaitResult::Stopped;
        if (clock.elapsed() >= timeLimitMs)
            return WaitResult::TimedOut;
        QEventLoop loop;
        QTimer::singleShot(500, &loop, &QEventLoop::quit);
        loop.exec();
    }
}
