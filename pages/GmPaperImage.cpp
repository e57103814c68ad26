#include "pages/GmPaperImage.h"

#include "pages/GmMargins.h"
#include "pages/GmPage.h"
#include "pages/GmPageGrid.h"
#include "pages/GmPageList.h"
#include "pages/GmPrinter.h"
#include "pages/GmShadow.h"

#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>

namespace {

// (left, top, right, bottom) with exclusive right and bottom, as the geometry is given.
QRect edges(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

QPen cosmetic(QPen pen)
{
    if (pen.width() <= 1)
        pen.setCosmetic(true);
    return pen;
}

} // namespace

TGmPaperImage::TGmPaperImage(QWidget *parent)
    : QWidget(parent)
{
    setMouseTracking(true);
}

void TGmPaperImage::SetGutter(const QMargins &gutter)
{
    if (gutter == m_gutter)
        return;
    m_gutter = gutter;
    update();
}

void TGmPaperImage::SetZoom(int zoom)
{
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    update();
}

void TGmPaperImage::SetPage(TGmPage *page)
{
    m_page = page;
    m_pageWidth = page ? page->Width() : 0;
    m_pageHeight = page ? page->Height() : 0;
    update();
}

void TGmPaperImage::SetDrawContent(bool draw)
{
    if (draw == m_drawContent)
        return;
    m_drawContent = draw;
    update();
}

void TGmPaperImage::Unlock()
{
    if (m_lockCount > 0 && --m_lockCount == 0)
        update();
}

QSize TGmPaperImage::PagePixelSize(double widthInches, double heightInches, int zoom)
{
    return QSize(GmRound(96 * widthInches * (zoom / 100.0)), GmRound(96 * heightInches * (zoom / 100.0)));
}

QRect TGmPaperImage::PageRect(const QSize &controlSize, const QMargins &gutter, const QSize &pagePixels)
{
    // Integer division truncates towards zero, also for a page larger than the view.
    const int x = gutter.left() + (controlSize.width() - gutter.left() - gutter.right() - pagePixels.width()) / 2;
    const int y = gutter.top() + (controlSize.height() - gutter.top() - gutter.bottom() - pagePixels.height()) / 2;
    return QRect(QPoint(x, y), pagePixels);
}

QPointF TGmPaperImage::PagePosition(const QPoint &position) const
{
    const QRect page = PageRect();
    const double scale = 96 * (m_zoom / 100.0);
    const double x = position.x() == page.left() ? 0 : (position.x() - page.left()) / scale;
    const double y = position.y() == page.top() ? 0 : (position.y() - page.top()) / scale;
    return QPointF(x, y);
}

void TGmPaperImage::paintEvent(QPaintEvent *)
{
    if (Locked())
        return;
    QPainter painter(this);
    PaintPaper(painter);
}

void TGmPaperImage::PaintPaper(QPainter &painter)
{
    const QRect page = PageRect();
    if (page.isEmpty())
        return;
    const TGmOrientation orientation = m_page ? m_page->Orientation() : gmPortrait;
    const int logicalWidth = GmRound(LogicalResolution * m_pageWidth);
    const int logicalHeight = GmRound(LogicalResolution * m_pageHeight);

    painter.save();
    // Paper: white with a one-pixel black outline, in screen pixels.
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(Qt::white);
    painter.drawRect(page.adjusted(0, 0, -1, -1));
    painter.setClipRect(page);

    painter.setWindow(0, 0, logicalWidth, logicalHeight);
    painter.setViewport(page);
    if (m_margins && m_margins->ClipMargins()) {
        const QRectF margins = m_margins->MarginRect(m_pageWidth, m_pageHeight);
        painter.setClipRect(QRectF(margins.topLeft() * LogicalResolution, margins.bottomRight() * LogicalResolution),
            Qt::IntersectClip);
    }
    if (m_page && m_drawContent && m_page->PageList()) {
        painter.save();
        painter.setBrush(Qt::NoBrush);
        m_page->PageList()->DrawPage(m_page, &painter, LogicalResolution, LogicalResolution);
        painter.restore();
    }
    painter.setBrush(Qt::NoBrush);
    if (m_margins && m_margins->Visible()) {
        painter.setPen(cosmetic(m_margins->Pen()));
        const QRectF m = m_margins->MarginRect(m_pageWidth, m_pageHeight);
        painter.drawRect(edges(GmRound(LogicalResolution * m.left()), GmRound(LogicalResolution * m.top()),
            GmRound(LogicalResolution * m.right()), GmRound(LogicalResolution * m.bottom())));
    }
    if (m_margins && m_margins->ShowPrinterMargins() && m_printer && m_printer->PrinterAvailable()) {
        const QMarginsF border = m_printer->UnprintableBordersInches(orientation);
        painter.setPen(cosmetic(m_margins->PrinterMarginPen()));
        painter.drawRect(edges(GmRound(LogicalResolution * border.left()), GmRound(LogicalResolution * border.top()),
            GmRound(LogicalResolution * (m_pageWidth - border.right())),
            GmRound(LogicalResolution * (m_pageHeight - border.bottom()))));
    }
    if (m_grid && m_grid->GridStyle() != gmNoGrid)
        paintGrid(painter, logicalWidth, logicalHeight);

    painter.setClipping(false);
    painter.setViewport(rect());
    painter.setWindow(rect());
    painter.setPen(QPen(Qt::black, 0));
    painter.drawRect(page.adjusted(0, 0, -1, -1));

    if (m_shadow && m_shadow->Visible() && m_shadow->Width() > 0) {
        const int w = m_shadow->Width();
        const int l = page.left();
        const int t = page.top();
        const int r = page.left() + page.width();
        const int b = page.top() + page.height();
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_shadow->Color());
        painter.drawRect(edges(r, t + w, r + w, b).translated(1, 1));
        painter.drawRect(edges(l + w, b, r + w, b + w).translated(1, 1));
    }
    painter.restore();

    if (isSignalConnected(QMetaMethod::fromSignal(&TGmPaperImage::AfterPaint))) {
        painter.save();
        painter.setClipRect(page);
        emit AfterPaint(&painter);
        painter.restore();
    }
}

void TGmPaperImage::paintGrid(QPainter &painter, int logicalWidth, int logicalHeight)
{
    const double step = LogicalResolution * TGmPageGrid::SpacingMillimeters() / 25.4;
    painter.setPen(cosmetic(m_grid->GridPen()));
    for (double x = step; x < logicalWidth; x += step) {
        if (m_grid->GridStyle() == gmLines) {
            painter.drawLine(QPointF(x, 0), QPointF(x, logicalHeight));
            continue;
        }
        for (double y = step; y < logicalHeight; y += step)
            painter.drawPoint(QPointF(x, y));
    }
    if (m_grid->GridStyle() == gmLines) {
        for (double y = step; y < logicalHeight; y += step)
            painter.drawLine(QPointF(0, y), QPointF(logicalWidth, y));
    }
}

void TGmPaperImage::mousePressEvent(QMouseEvent *event)
{
    m_lastMouse = PagePosition(event->position().toPoint());
    emit PageMouseDown(event->button(), m_lastMouse.x(), m_lastMouse.y());
}

void TGmPaperImage::mouseMoveEvent(QMouseEvent *event)
{
    if (Locked())
        return;
    m_lastMouse = PagePosition(event->position().toPoint());
    emit PageMouseMove(m_lastMouse.x(), m_lastMouse.y());
}

void TGmPaperImage::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF at = PagePosition(event->position().toPoint());
    emit PageMouseUp(event->button(), at.x(), at.y());
}

void TGmPaperImage::enterEvent(QEnterEvent *event)
{
    emit MouseEnter();
    QWidget::enterEvent(event);
}

void TGmPaperImage::leaveEvent(QEvent *event)
{
    emit MouseLeave();
    QWidget::leaveEvent(event);
}
