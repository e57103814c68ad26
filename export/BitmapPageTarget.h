#pragma once

#include "export/ExportPageTarget.h"

#include <QImage>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class PageWorkers;

// Pages as bitmaps of the given size and format, at the given screen resolution, each starting
// white. The page step runs on the loop's thread in page order as each page is finished; an
// optional background step then takes the page on a worker thread while the next page is drawn.
// Surfaces are reused: one in all without background threads, a few more with them.
class BitmapPageTarget : public ExportPageTarget
{
public:
    using PageStep = std::function<void(const QImage &page, int pageNumber, bool morePages)>;
    using Decoration = std::function<void(QPainter &)>;

    BitmapPageTarget(QSize size, QImage::Format format, int dpiX, int dpiY, PageStep step);
    ~BitmapPageTarget() override;

    void setDecoration(Decoration decoration) { m_decoration = std::move(decoration); }
    // Work on each finished page that may run beside the drawing of the next one (compressing,
    // writing files). threads 0 runs it on the loop's thread right after the page step. Any
    // failure ends the export at the next page or at the end.
    void setBackgroundStep(PageStep step, int threads);
    // Runs on the loop's thread after each page was handed on (a pause for the window).
    void setAfterPage(std::function<void(int pageNumber)> after) { m_afterPage = std::move(after); }

    QPaintDevice *beginPage(int pageNumber) override;
    void decoratePage(QPainter &painter) override;
    void endPage(int pageNumber, bool morePages) override;
    void finish() override;

private:
    int acquireSurface();
    void releaseSurface(int slot);

    QSize m_size;
    QImage::Format m_format;
    int m_dpiX;
    int m_dpiY;
    PageStep m_step;
    PageStep m_background;
    std::function<void(int)> m_afterPage;
    Decoration m_decoration;

    std::mutex m_mutex;
    std::condition_variable m_released;
    std::vector<QImage> m_surfaces; // fixed size once the first page begins
    std::vector<bool> m_busy;
    int m_current = -1;
    // Declared last: its threads stop before the surfaces go.
    std::unique_ptr<PageWorkers> m_workers;
};
