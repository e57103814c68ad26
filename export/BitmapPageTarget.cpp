#include "export/BitmapPageTarget.h"

#include "export/ExportError.h"
#include "export/PageWorkers.h"

BitmapPageTarget::BitmapPageTarget(QSize size, QImage::Format format, int dpiX, int dpiY, PageStep step)
    : m_size(size)
    , m_format(format)
    , m_dpiX(dpiX)
    , m_dpiY(dpiY)
    , m_step(std::move(step))
{ }

BitmapPageTarget::~BitmapPageTarget()
{
    m_workers.reset();
}

void BitmapPageTarget::setBackgroundStep(PageStep step, int threads)
{
    m_background = std::move(step);
    m_workers = std::make_unique<PageWorkers>(qMax(0, threads));
}

int BitmapPageTarget::acquireSurface()
{
    std::unique_lock lock(m_mutex);
    if (m_surfaces.empty()) {
        // One being drawn, one per busy thread and one waiting for a thread.
        const std::size_t count = m_workers && m_workers->threads() > 0 ? std::size_t(m_workers->threads()) + 2 : 1;
        m_surfaces.resize(count);
        m_busy.assign(count, false);
    }
    std::size_t slot = 0;
    m_released.wait(lock, [&] {
        for (slot = 0; slot < m_busy.size(); ++slot) {
            if (!m_busy[slot])
                return true;
        }
        return false;
    });
    m_busy[slot] = true;
    return int(slot);
}

void BitmapPageTarget::releaseSurface(int slot)
{
    {
        std::lock_guard lock(m_mutex);
        m_busy[std::size_t(slot)] = false;
    }
    m_released.notify_all();
}

QPaintDevice *BitmapPageTarget::beginPage(int)
{
    const int slot = acquireSurface();
    QImage &page = m_surfaces[std::size_t(slot)];
    if (page.isNull()) {
        page = QImage(m_size, m_format);
        if (page.isNull()) {
            releaseSurface(slot);
            throw ExportError(QStringLiteral("Not enough memory for a page of %1 x %2 pixels.")
                                  .arg(m_size.width())
                                  .arg(m_size.height()));
        }
        page.setDotsPerMeterX(qRound(m_dpiX / 0.0254));
        page.setDotsPerMeterY(qRound(m_dpiY / 0.0254));
    }
    page.fill(Qt::white);
    m_current = slot;
    return &page;
}

void BitmapPageTarget::decoratePage(QPainter &painter)
{
    if (m_decoration)
        m_decoration(painter);
}

void BitmapPageTarget::endPage(int pageNumber, bool morePages)
{
    const int slot = m_current;
    m_current = -1;
    if (slot < 0)
        return;
    struct Release
    {
        BitmapPageTarget *target;
        int slot;
        ~Release()
        {
            if (slot >= 0)
                target->releaseSurface(slot);
        }
    } release { this, slot };
    const QImage &page = m_surfaces[std::size_t(slot)];
    if (m_step)
        m_step(page, pageNumber, morePages);
    if (m_background) {
        m_workers->submit([this, slot, pageNumber, morePages] {
            const Release done { this, slot };
            m_background(m_surfaces[std::size_t(slot)], pageNumber, morePages);
        });
        // The job gives the surface back.
        release.slot = -1;
    }
    if (m_afterPage)
        m_afterPage(pageNumber);
}

void BitmapPageTarget::finish()
{
    if (m_workers)
        m_workers->finish();
}
