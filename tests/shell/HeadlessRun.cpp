#include "tests/shell/HeadlessRun.h"

#include <QProcess>
#include <QProcessEnvironment>

HeadlessRun runHeadless(const QStringList &arguments, const QString &workingDir, int timeoutMs)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(workingDir);
    process.start(QStringLiteral(LUMARO_EXECUTABLE), arguments);
    if (!process.waitForFinished(timeoutMs))
        return {};
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2,
        QString::fromLocal8Bit(process.readAllStandardOutput()),
        QString::fromLocal8Bit(process.readAllStandardError()) };
}
