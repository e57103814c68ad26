#pragma once

#include "export/ExportPageTarget.h"

#include <QImage>

#include <functional>

// Pages as bitmaps: each page is a fresh white QImage of the given size and format, at the given
// screen resolution, handed to the page step when finished.
class BitmapPageTarget : public ExportPageTarget
{
public:
    using PageStep = std::function<void(const QImage &page, int pageNumber, bool morePages)>;
    using Decoration = std::function<void(QPainter &)>;

    BitmapPageTarget(QSize size, QImage::Format format, int dpiX, int dpiY, PageStep step);
    void setDecoration(Decoration decoration) { m_decoration = std::move(decoration); }

    QPaintDevice *beginPage(int pageNumber) override;
    void decoratePage(QPainter &painter) override;
    void endPage(int pageNumber, bool morePages) override;

private:
    QSize m_size;
    QImage::Format m_format;
    int m_dpiX;
    int m_dpiY;
    PageStep m_step;
    Decoration m_decoration;
    QImage m_page;
};
