#include "tests/shell/ShellFixture.h"

#include "app/StartupOptions.h"

#include <QFile>

ShellFixture::ShellFixture()
    : m_previousRegistry(qgetenv("LUMARO_REGISTRY_FILE"))
{
    qputenv("LUMARO_REGISTRY_FILE", m_home.file(QStringLiteral("registry.ini")).toLocal8Bit());
    StartupOptions options;
    options.DefaultFontName = QStringLiteral("Arial");
    options.DefaultFontSize = 12;
    options.DefaultFolder = m_docs.path();
    options.writeFile(m_home.file(StartupOptions::fileName()));
    writeFile(m_home.file(QStringLiteral("WrdFileList.dat")), QByteArray());
    ScriptedDialogs::installed().reset();
}

ShellFixture::~ShellFixture()
{
    destroyFrame();
    qputenv("LUMARO_REGISTRY_FILE", m_previousRegistry);
}

void ShellFixture::destroyFrame()
{
    m_history.reset();
    m_frame.reset();
    flushDeletes();
}

TFrameForm *ShellFixture::showFrame(const QStringList &arguments)
{
    m_frame = std::make_unique<TFrameForm>();
    m_history = std::make_unique<THistoryForm>(m_frame.get());
    m_frame->setHistoryForm(m_history.get());
    m_frame->setStartArguments(arguments);
    m_frame->resize(1100, 760);
    m_frame->show();
    return m_frame.get();
}

void ShellFixture::writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write fixture %s", qPrintable(path));
}

QByteArray ShellFixture::readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void ShellFixture::flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

QByteArray sampleRtf()
{
    return QByteArrayLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}"
                             "\\f0\\fs24 Plain start, {\\b bold words} and {\\i italic ones}.\\par "
                             "Second paragraph.\\par}");
}
