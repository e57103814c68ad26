#include "pages/GmClasses.h"

#include <QBrush>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QPicture>

TGmBaseObject::TGmBaseObject(TGmResourceTable *resources)
    : m_resources(resources)
{ }

TGmBaseObject::~TGmBaseObject() = default;

void TGmBaseObject::AssignTo(TGmBaseObject *target) const
{
    if (target)
        target->m_printable = m_printable;
}

void TGmBaseObject::Changed()
{
    if (!m_updating && m_onChange)
        m_onChange();
}

void TGmBaseObject::Draw(QPainter *, int, int) { }

void TGmBaseObject::OffsetBy(TGmMeasurement, double, double) { }

void TGmBaseObject::EndUpdate()
{
    m_updating = false;
    Changed();
}

void TGmVisibleObject::moveTo(TGmZOrder where)
{
    if (m_zOrder)
        m_zOrder(this, where);
}

void TGmOutlineShape::Draw(QPainter *canvas, int ppiX, int ppiY)
{
    TGmVisibleObject::Draw(canvas, ppiX, ppiY);
    if (m_pen)
        canvas->setPen(*m_pen);
}

void TGmSolidShape::Draw(QPainter *canvas, int ppiX, int ppiY)
{
    TGmOutlineShape::Draw(canvas, ppiX, ppiY);
    if (m_brush)
        canvas->setBrush(*m_brush);
}

void TGmBaseSolidShape::SetBounds(double left, double top, double right, double bottom)
{
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
    Changed();
}

void TGmBaseSolidShape::OffsetBy(TGmMeasurement unit, double dx, double dy)
{
    const double x = ConvertUnits(unit, gmInches, dx);
    const double y = ConvertUnits(unit, gmInches, dy);
    m_left += x;
    m_right += x;
    m_top += y;
    m_bottom += y;
    Changed();
}

namespace {

QPainter::CompositionMode compositionFor(quint32 copyMode)
{
    switch (copyMode) {
    case GmSrcPaint:
        return QPainter::RasterOp_SourceOrDestination;
    case GmSrcAnd:
        return QPainter::RasterOp_SourceAndDestination;
    case GmSrcInvert:
        return QPainter::RasterOp_SourceXorDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

} // namespace

void TGmGraphicObject::Draw(QPainter *canvas, int ppiX, int ppiY)
{
    TGmSimpleSolidShape::Draw(canvas, ppiX, ppiY);
    if (!m_picture || !canvas)
        return;
    const int l = GmRound(ppiX * Left());
    const int t = GmRound(ppiY * Top());
    const int r = GmRound(ppiX * Right());
    const int b = GmRound(ppiY * Bottom());
    const QRect frame = m_picture->boundingRect();
    if (frame.isEmpty() || r == l || b == t)
        return;
    canvas->save();
    // Raster operations exist on raster devices only; printers and recorders keep copying.
    if (m_copyMode != GmSrcCopy && canvas->paintEngine()
        && canvas->paintEngine()->hasFeature(QPaintEngine::RasterOpModes))
        canvas->setCompositionMode(compositionFor(m_copyMode));
    // The picture's frame is mapped onto the target rectangle.
    canvas->translate(l, t);
    canvas->scale(double(r - l) / frame.width(), double(b - t) / frame.height());
    canvas->translate(-frame.left(), -frame.top());
    // Playing a picture scales it by the target device's resolution over the recording one;
    // undo that so that only the frame mapping counts.
    if (const QPaintDevice *device = canvas->device()) {
        if (device->logicalDpiX() > 0 && device->logicalDpiY() > 0)
            canvas->scale(double(m_picture->logicalDpiX()) / device->logicalDpiX(),
                double(m_picture->logicalDpiY()) / device->logicalDpiY());
    }
    canvas->drawPicture(0, 0, *m_picture);
    canvas->restore();
}

bool IsPrinterCanvas(const QPainter *canvas)
{
    return canvas && canvas->device() && canvas->device()->devType() == QInternal::Printer;
}
