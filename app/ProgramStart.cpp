#include "app/ProgramStart.h"

#include "app/MDIFrame.h"
#include "app/SplashForm.h"
#include "app/StartupDialogs.h"

#include <QGuiApplication>
#include <QScreen>

ProgramStart::ProgramStart() = default;

ProgramStart::~ProgramStart()
{
    finish();
}

void ProgramStart::start(const QStringList &arguments, bool showSplash)
{
    std::unique_ptr<TSplashForm> splash;
    if (showSplash) {
        splash = std::make_unique<TSplashForm>();
        splash->showAndWait();
    }
    m_frame = std::make_unique<TFrameForm>();
    m_frame->setStartArguments(arguments);
    m_dialogs = std::make_unique<StartupDialogs>();
    m_dialogs->createAll(m_frame.get());
    m_frame->setHistoryForm(m_dialogs->historyForm());
    if (splash) {
        splash->hide();
        splash.reset();
    }
    // Without a window manager a maximised window keeps its size; the screen's area is the same.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        m_frame->setGeometry(screen->availableGeometry());
    m_frame->showMaximized();
}

void ProgramStart::finish()
{
    if (m_dialogs)
        m_dialogs->destroyAll();
    m_dialogs.reset();
    m_frame.reset();
}
