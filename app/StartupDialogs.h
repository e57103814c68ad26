#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QStringList>

class THistoryForm;

// The dialog windows of the program, each made once at start in a fixed order and kept for the
// whole run, so their lists and settings persist between uses. Destroyed in reverse order (the
// history writes its file then).
class StartupDialogs
{
public:
    StartupDialogs() = default;
    ~StartupDialogs();
    StartupDialogs(const StartupDialogs &) = delete;
    StartupDialogs &operator=(const StartupDialogs &) = delete;

    // The class names in the order they are made.
    static QStringList creationOrder();

    // Makes every dialog, parented to parent (the frame).
    void createAll(QWidget *parent);
    void destroyAll();

    const QList<QPointer<QDialog>> &dialogs() const { return m_dialogs; }
    QDialog *dialog(const QString &className) const;
    THistoryForm *historyForm() const;

private:
    QList<QPointer<QDialog>> m_dialogs;
};
