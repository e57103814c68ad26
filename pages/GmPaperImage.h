#pragma once

#include "pages/GmTypes.h"

#include <QMargins>
#include <QPointF>
#include <QRect>
#include <QWidget>

class TGmMargins;
class TGmPage;
class TGmPageGrid;
class TGmPrinter;
class TGmShadow;

// Draws one page as a sheet of paper at a zoom, centred between its gutters. Drawing happens in
// 600 logical units per inch mapped onto the page rectangle, so the page list draws at 600 dpi.
class TGmPaperImage : public QWidget
{
    Q_OBJECT

public:
    static constexpr int LogicalResolution = 600;

    explicit TGmPaperImage(QWidget *parent = nullptr);

    // Gutters in pixels kept free around the page (default 30 on every side).
    QMargins Gutter() const { return m_gutter; }
    void SetGutter(const QMargins &gutter);
    // Percent (default 20).
    int Zoom() const { return m_zoom; }
    void SetZoom(int zoom);
    TGmPage *Page() const { return m_page; }
    // Shows a page (or none); its size is copied.
    void SetPage(TGmPage *page);
    double PageWidthInches() const { return m_pageWidth; }
    double PageHeightInches() const { return m_pageHeight; }

    void SetMargins(TGmMargins *margins) { m_margins = margins; }
    void SetPageGrid(TGmPageGrid *grid) { m_grid = grid; }
    void SetShadow(TGmShadow *shadow) { m_shadow = shadow; }
    void SetPrinter(TGmPrinter *printer) { m_printer = printer; }
    bool DrawContent() const { return m_drawContent; }
    void SetDrawContent(bool draw);

    // While locked the control neither paints nor answers mouse movement.
    void Lock() { ++m_lockCount; }
    void Unlock();
    bool Locked() const { return m_lockCount > 0; }

    // Page size in screen pixels at a zoom: Round(96 x inches x zoom / 100).
    static QSize PagePixelSize(double widthInches, double heightInches, int zoom);
    QSize PagePixelSize() const { return PagePixelSize(m_pageWidth, m_pageHeight, m_zoom); }
    // The page rectangle inside a control of the given size; a page larger than the room between
    // the gutters starts left of (above) its gutter.
    static QRect PageRect(const QSize &controlSize, const QMargins &gutter, const QSize &pagePixels);
    QRect PageRect() const { return PageRect(size(), m_gutter, PagePixelSize()); }
    // A control position in inches from the page's top-left corner.
    QPointF PagePosition(const QPoint &position) const;
    // The last mouse-down/move and drag positions in inches.
    QPointF LastMousePosition() const { return m_lastMouse; }

    // Paints the paper, the page and its decorations with painter on this control.
    void PaintPaper(QPainter &painter);

signals:
    void PageMouseDown(Qt::MouseButton button, double xInches, double yInches);
    void PageMouseMove(double xInches, double yInches);
    void PageMouseUp(Qt::MouseButton button, double xInches, double yInches);
    void MouseEnter();
    void MouseLeave();
    void AfterPaint(QPainter *painter);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void paintGrid(QPainter &painter, int logicalWidth, int logicalHeight);

    QMargins m_gutter { 30, 30, 30, 30 };
    int m_zoom = 20;
    TGmPage *m_page = nullptr;
    double m_pageWidth = 0;
    double m_pageHeight = 0;
    TGmMargins *m_margins = nullptr;
    TGmPageGrid *m_grid = nullptr;
    TGmShadow *m_shadow = nullptr;
    TGmPrinter *m_printer = nullptr;
    bool m_drawContent = true;
    int m_lockCount = 0;
    QPointF m_lastMouse;
};
