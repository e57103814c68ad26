#pragma once

#include <QString>
#include <QStringList>

// The program run as a user runs it on a machine without a display: DISPLAY, WAYLAND_DISPLAY and
// QT_QPA_PLATFORM removed from its environment.
struct HeadlessRun
{
    int exitCode = -1; // -1: did not finish in time, -2: crashed
    QString out;
    QString err;

    QStringList outLines() const { return out.split(u'\n', Qt::SkipEmptyParts); }
};

HeadlessRun runHeadless(const QStringList &arguments, const QString &workingDir, int timeoutMs = 120000);
