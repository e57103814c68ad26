#pragma once

#include "app/History.h"
#include "app/MDIFrame.h"
#include "editor/MDIEdit.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>

#include <memory>

// A fresh program folder with a startup-options file and an empty history, the scripted dialogs
// reset, and on request a shown frame with its history dialog.
class ShellFixture
{
public:
    ShellFixture();
    ~ShellFixture();

    // Makes and shows the frame; its first showing opens a new document, or the first argument.
    TFrameForm *showFrame(const QStringList &arguments = {});
    TFrameForm *frame() const { return m_frame.get(); }
    // Destroys the history dialog and the frame with its windows, as the program does at exit.
    void destroyFrame();
    THistoryForm *history() const { return m_history.get(); }
    ScriptedDialogs &dialogs() const { return ScriptedDialogs::installed(); }

    // A folder for the documents of one test.
    QString file(const QString &name) const { return m_docs.filePath(name); }
    QString docs() const { return m_docs.path(); }
    QString home() const { return m_home.path(); }
    static void writeFile(const QString &path, const QByteArray &bytes);
    static QByteArray readFile(const QString &path);
    // Runs the deferred deletions of closed windows.
    static void flushDeletes();

private:
    TestSupport::FreshHome m_home;
    QTemporaryDir m_docs;
    QByteArray m_previousRegistry;
    std::unique_ptr<TFrameForm> m_frame;
    std::unique_ptr<THistoryForm> m_history;
};

// A rich text document with some formatting, as the RTF reader takes it.
QByteArray sampleRtf();
