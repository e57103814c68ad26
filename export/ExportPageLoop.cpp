#include "export/ExportPageLoop.h"

#include "export/ExportPageSource.h"
#include "export/ExportPageTarget.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

ExportPageLoop::ExportPageLoop(ExportPageSource &source, const ExportPageGeometry &geometry)
    : m_source(source)
    , m_geometry(geometry)
    , m_dpiX(defaultDpiX())
    , m_dpiY(defaultDpiY())
{ }

int ExportPageLoop::defaultDpiX()
{
    const QScreen *screen
        = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? qRound(screen->logicalDotsPerInchX()) : 96;
}

int ExportPageLoop::defaultDpiY()
{
    const QScreen *screen
        = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
    return screen ? qRound(screen->logicalDotsPerInchY()) : 96;
}

void ExportPageLoop::setScreenDpi(int dpiX, int dpiY)
{
    m_dpiX = qMax(1, dpiX);
    m_dpiY = qMax(1, dpiY);
}

int ExportPageLoop::run(ExportPageTarget &target)
{
    const int total = m_source.textLength();
    const QRect rect = m_geometry.rectTwips(m_dpiX, m_dpiY);
    int start = 0;
    int page = 1;
    int next = 0;
    struct CacheRelease
    {
        ExportPageSource &source;
        ~CacheRelease() { source.releaseCache(); }
    } release { m_source };

    while (true) {
        QPaintDevice *surface = target.beginPage(page);
        {
            QPainter painter(surface);
            target.decoratePage(painter);
            next = m_source.renderPage(painter, rect, start);
        }
        // A page that takes nothing would repeat for ever: end the export there instead.
        const bool stuck = next <= start && start < total;
        const bool more = next < total && !stuck;
        target.endPage(page, more);
        if (m_progress)
            m_progress(total > 0 ? int(qint64(qMin(next, total)) * 100 / total) : 100);
        if (!more)
            break;
        start = next;
        ++page;
    }
    target.finish();
    return page;
}
