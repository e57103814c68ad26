#include "export/BitmapPageTarget.h"

#include "export/ExportError.h"

BitmapPageTarget::BitmapPageTarget(QSize size, QImage::Format format, int dpiX, int dpiY, PageStep step)
    : m_size(size)
    , m_format(format)
    , m_dpiX(dpiX)
    , m_dpiY(dpiY)
    , m_step(std::move(step))
{
}

QPaintDevice *BitmapPageTarget::beginPage(int)
{
    m_page = QImage(m_size, m_format);
    if (m_page.isNull())
        throw ExportError(QStringLiteral("Not enough memory for a page of %1 x %2 pixels.")
                              .arg(m_size.width())
                              .arg(m_size.height()));
    m_page.setDotsPerMeterX(qRound(m_dpiX / 0.0254));
    m_page.setDotsPerMeterY(qRound(m_dpiY / 0.0254));
    m_page.fill(Qt::white);
    return &m_page;
}

void BitmapPageTarget::decoratePage(QPainter &painter)
{
    if (m_decoration)
        m_decoration(painter);
}

void BitmapPageTarget::endPage(int pageNumber, bool morePages)
{
    if (m_step)
        m_step(m_page, pageNumber, morePages);
    m_page = QImage();
}
