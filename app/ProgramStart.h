#pragma once

#include <QStringList>

#include <memory>

class StartupDialogs;
class TFrameForm;

// The program's start in its order: application title, splash (at least 250 ms), frame window,
// every dialog of the program once, splash gone; the frame's first showing then opens the
// command-line document or a new one.
class ProgramStart
{
public:
    ProgramStart();
    ~ProgramStart();

    // Runs the steps up to showing the frame; arguments are the command line without the
    // program name. `showSplash` false skips the splash (tests).
    void start(const QStringList &arguments, bool showSplash = true);
    TFrameForm *frame() const { return m_frame.get(); }
    StartupDialogs *dialogs() const { return m_dialogs.get(); }

    // Ends the run: the dialogs go first (the history writes its file), then the frame.
    void finish();

private:
    std::unique_ptr<TFrameForm> m_frame;
    std::unique_ptr<StartupDialogs> m_dialogs;
};
