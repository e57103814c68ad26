#pragma once

#include <QApplication>
#include <QCursor>

// The hourglass cursor for the lifetime of the object; the default cursor comes back also when
// the work ends early.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};
