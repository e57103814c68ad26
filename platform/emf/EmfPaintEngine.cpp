#include "platform/emf/EmfPaintEngine.h"

#include "platform/GdiPenStyle.h"
#include "platform/emf/EmfPaintDevice.h"

#include <QFontMetricsF>
#include <QGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>

#include <cmath>

namespace {

constexpr quint32 kNullPen = 0x80000008;
constexpr quint32 kNullBrush = 0x80000005;
constexpr quint32 kPenSlots[2] = {1, 2};
constexpr quint32 kBrushSlots[2] = {3, 4};
constexpr quint32 kFontSlots[2] = {5, 6};
constexpr int kHandles = 7;

QRgb brushColor(const QBrush &brush)
{
    if (const QGradient *g = brush.gradient(); g && !g->stops().isEmpty())
        return g->stops().first().second.rgb();
    return brush.color().rgb();
}

} // namespace

EmfPaintEngine::EmfPaintEngine(EmfPaintDevice *device)
    : QPaintEngine(QPaintEngine::AllFeatures)
    , m_device(device)
{
}

EmfPaintEngine::~EmfPaintEngine() = default;

bool EmfPaintEngine::begin(QPaintDevice *)
{
    const EmfPaintDevice::Options &o = m_device->options();
    EmfRecorder::Header header;
    header.sizePixels = m_device->size();
    header.dpiX = o.dpiX;
    header.dpiY = o.dpiY;
    header.referencePixels = o.referencePixels;
    header.referenceMillimeters = o.referenceMillimeters;
    header.application = o.application;
    header.description = o.description;
    header.handles = kHandles;
    m_recorder = std::make_unique<EmfRecorder>(header);
    m_transform = QTransform();
    m_pen = QPen();
    m_brush = QBrush();
    m_selectedPen.reset();
    m_selectedBrush.reset();
    m_selectedFont.reset();
    m_textColor.reset();
    m_penSlot = m_brushSlot = m_fontSlot = 0;
    m_clip.reset();
    m_selectedClip.reset();
    m_recorder->setMapMode(1); // MM_TEXT: one unit is one pixel
    m_recorder->setBkMode(1);  // TRANSPARENT
    m_recorder->setTextAlign(24); // TA_BASELINE | TA_LEFT
    m_recorder->setPolyFillMode(1);
    m_fillMode = 1;
    return true;
}

bool EmfPaintEngine::end()
{
    if (!m_recorder)
        return false;
    m_device->setData(m_recorder->finish());
    m_recorder.reset();
    return true;
}

void EmfPaintEngine::updateState(const QPaintEngineState &state)
{
    const DirtyFlags flags = state.state();
    if (flags & DirtyTransform)
        m_transform = state.transform();
    if (flags & DirtyPen)
        m_pen = state.pen();
    if (flags & DirtyBrush)
        m_brush = state.brush();
    if (flags & DirtyFont)
        m_font = state.font();
    if (flags & (DirtyClipRegion | DirtyClipPath)) {
        QRegion region;
        if (flags & DirtyClipRegion) {
            region = m_transform.map(state.clipRegion());
        } else {
            const QPainterPath path = m_transform.map(state.clipPath());
            region = QRegion(path.toFillPolygon().toPolygon(), path.fillRule());
        }
        switch (state.clipOperation()) {
        case Qt::NoClip:
            m_clip.reset();
            break;
        case Qt::ReplaceClip:
            m_clip = region;
            break;
        case Qt::IntersectClip:
            m_clip = m_clip ? (*m_clip & region) : region;
            break;
        }
    }
    if ((flags & DirtyClipEnabled) && !state.isClipEnabled())
        m_clip.reset();
}

bool EmfPaintEngine::hasBrush() const
{
    if (m_brush.style() == Qt::NoBrush)
        return false;
    return m_brush.gradient() || m_brush.color().alpha() > 0;
}

double EmfPaintEngine::penWidth() const
{
    const double w = m_pen.widthF();
    if (m_pen.isCosmetic() || w <= 0)
        return qMax(1.0, w);
    return w * std::sqrt(std::abs(m_transform.determinant()));
}

void EmfPaintEngine::syncPen(bool use)
{
    if (!use || !hasPen()) {
        if (!m_selectedPen || *m_selectedPen != PenKey()) {
            m_recorder->selectObject(kNullPen);
            m_selectedPen = PenKey();
        }
        return;
    }
    PenKey key;
    key.style = quint32(GdiPenStyle::fromQt(m_pen.style()));
    key.width = qMax(1, int(std::lround(penWidth())));
    key.color = m_pen.color().rgb() & 0xFFFFFF;
    if (m_selectedPen && *m_selectedPen == key)
        return;
    const int slot = m_penSlot == 1 ? 0 : 1;
    m_recorder->createPen(kPenSlots[slot], key.style, key.width, key.color);
    m_recorder->selectObject(kPenSlots[slot]);
    if (m_penSlot)
        m_recorder->deleteObject(kPenSlots[m_penSlot - 1]);
    m_penSlot = slot + 1;
    m_selectedPen = key;
}

void EmfPaintEngine::syncBrush(bool use)
{
    if (!use || !hasBrush()) {
        if (!m_selectedBrush || *m_selectedBrush != BrushKey()) {
            m_recorder->selectObject(kNullBrush);
            m_selectedBrush = BrushKey();
        }
        return;
    }
    BrushKey key;
    key.color = brushColor(m_brush) & 0xFFFFFF;
    switch (m_brush.style()) {
    case Qt::HorPattern:
        key.style = 2;
        key.hatch = 0;
        break;
    case Qt::VerPattern:
        key.style = 2;
        key.hatch = 1;
        break;
    case Qt::FDiagPattern:
        key.style = 2;
        key.hatch = 2;
        break;
    case Qt::BDiagPattern:
        key.style = 2;
        key.hatch = 3;
        break;
    case Qt::CrossPattern:
        key.style = 2;
        key.hatch = 4;
        break;
    case Qt::DiagCrossPattern:
        key.style = 2;
        key.hatch = 5;
        break;
    default:
        key.style = 0;
        break;
    }
    if (m_selectedBrush && *m_selectedBrush == key)
        return;
    const int slot = m_brushSlot == 1 ? 0 : 1;
    m_recorder->createBrush(kBrushSlots[slot], key.style, key.color, key.hatch);
    m_recorder->selectObject(kBrushSlots[slot]);
    if (m_brushSlot)
        m_recorder->deleteObject(kBrushSlots[m_brushSlot - 1]);
    m_brushSlot = slot + 1;
    m_selectedBrush = key;
}

void EmfPaintEngine::syncClip()
{
    if (m_clip == m_selectedClip)
        return;
    QList<QRect> rects;
    if (m_clip) {
        for (const QRect &r : *m_clip)
            rects.append(r);
        if (rects.isEmpty())
            rects.append(QRect(0, 0, 0, 0));
    }
    m_recorder->selectClipRects(rects);
    m_selectedClip = m_clip;
}

void EmfPaintEngine::syncFillMode(Qt::FillRule rule)
{
    const int mode = rule == Qt::OddEvenFill ? 1 : 2;
    if (mode != m_fillMode) {
        m_recorder->setPolyFillMode(quint32(mode));
        m_fillMode = mode;
    }
}

QPoint EmfPaintEngine::map(const QPointF &p) const
{
    const QPointF m = m_transform.map(p);
    return QPoint(int(std::lround(m.x())), int(std::lround(m.y())));
}

QList<QPoint> EmfPaintEngine::mapPolygon(const QPointF *points, int count) const
{
    QList<QPoint> out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out.append(map(points[i]));
    return out;
}

bool EmfPaintEngine::isAxisAligned() const
{
    return m_transform.type() <= QTransform::TxScale;
}

QRect EmfPaintEngine::strokedBounds(const QRect &r) const
{
    if (!hasPen())
        return r;
    const int grow = int(std::ceil(penWidth() / 2));
    return r.adjusted(-grow, -grow, grow, grow);
}

void EmfPaintEngine::drawRects(const QRectF *rects, int rectCount)
{
    if (!m_recorder || (!hasPen() && !hasBrush()))
        return;
    syncClip();
    syncPen(true);
    syncBrush(true);
    for (int i = 0; i < rectCount; ++i) {
        if (isAxisAligned()) {
            const QRectF m = m_transform.mapRect(rects[i]).normalized();
            const QRect box(int(std::lround(m.left())), int(std::lround(m.top())),
                            int(std::lround(m.width())), int(std::lround(m.height())));
            // A rectangle record leaves out its right and bottom edge; the painter's rectangle
            // covers them with a pen, and without one fills exactly its width.
            m_recorder->rectangle(box.adjusted(0, 0, 1, 1));
            m_recorder->includeBounds(strokedBounds(box));
        } else {
            const QPolygonF corners(rects[i]);
            const QList<QPoint> points = mapPolygon(corners.constData(), 4);
            m_recorder->polygon(points);
            m_recorder->includeBounds(strokedBounds(QPolygon(points).boundingRect()));
        }
    }
}

void EmfPaintEngine::drawLines(const QLineF *lines, int lineCount)
{
    if (!m_recorder || !hasPen())
        return;
    syncClip();
    syncPen(true);
    for (int i = 0; i < lineCount; ++i) {
        const QList<QPoint> points{map(lines[i].p1()), map(lines[i].p2())};
        m_recorder->polyline(points);
        m_recorder->includeBounds(strokedBounds(QRect(points[0], points[1]).normalized()));
    }
}

void EmfPaintEngine::drawEllipse(const QRectF &rect)
{
    if (!m_recorder || (!hasPen() && !hasBrush()))
        return;
    if (!isAxisAligned()) {
        QPainterPath path;
        path.addEllipse(rect);
        drawPath(path);
        return;
    }
    syncClip();
    syncPen(true);
    syncBrush(true);
    const QRectF m = m_transform.mapRect(rect).normalized();
    const QRect box(int(std::lround(m.left())), int(std::lround(m.top())), int(std::lround(m.width())),
                    int(std::lround(m.height())));
    m_recorder->ellipse(box.adjusted(0, 0, 1, 1));
    m_recorder->includeBounds(strokedBounds(box));
}

void EmfPaintEngine::drawPath(const QPainterPath &path)
{
    const bool pen = hasPen();
    const bool brush = hasBrush();
    if (!m_recorder || path.isEmpty() || (!pen && !brush))
        return;
    syncClip();
    syncFillMode(path.fillRule());
    syncPen(pen);
    syncBrush(brush);

    m_recorder->beginPath();
    QList<QPoint> lines;
    QList<QPoint> curves;
    QPointF start;
    QPointF last;
    int subpathPoints = 0;
    auto flush = [&]() {
        if (!lines.isEmpty())
            m_recorder->polylineTo(lines);
        if (!curves.isEmpty())
            m_recorder->polyBezierTo(curves);
        lines.clear();
        curves.clear();
    };
    auto closeIfReturned = [&]() {
        if (subpathPoints > 2 && QLineF(start, last).length() < 1e-6) {
            flush();
            m_recorder->closeFigure();
        }
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            closeIfReturned();
            flush();
            start = last = e;
            subpathPoints = 1;
            m_recorder->moveTo(map(e));
            break;
        case QPainterPath::LineToElement:
            if (!curves.isEmpty())
                flush();
            lines.append(map(e));
            last = e;
            ++subpathPoints;
            break;
        case QPainterPath::CurveToElement:
            if (!lines.isEmpty())
                flush();
            curves.append(map(e));
            if (i + 2 < path.elementCount()) {
                curves.append(map(path.elementAt(i + 1)));
                curves.append(map(path.elementAt(i + 2)));
                last = path.elementAt(i + 2);
                i += 2;
            }
            subpathPoints += 3;
            break;
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    closeIfReturned();
    flush();
    m_recorder->endPath();

    const QRect bounds = strokedBounds(m_transform.map(path).boundingRect().toAlignedRect());
    if (pen && brush)
        m_recorder->strokeAndFillPath(bounds);
    else if (brush)
        m_recorder->fillPath(bounds);
    else
        m_recorder->strokePath(bounds);
    m_recorder->includeBounds(bounds);
}

void EmfPaintEngine::drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode mode)
{
    if (!m_recorder || pointCount < 2)
        return;
    const QList<QPoint> mapped = mapPolygon(points, pointCount);
    const QRect bounds = strokedBounds(QPolygon(mapped).boundingRect());
    syncClip();
    if (mode == PolylineMode) {
        if (!hasPen())
            return;
        syncPen(true);
        m_recorder->polyline(mapped);
    } else {
        if (!hasPen() && !hasBrush())
            return;
        syncFillMode(mode == OddEvenMode ? Qt::OddEvenFill : Qt::WindingFill);
        syncPen(true);
        syncBrush(true);
        m_recorder->polygon(mapped);
    }
    m_recorder->includeBounds(bounds);
}

void EmfPaintEngine::drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr)
{
    drawImage(r, pm.toImage(), sr);
}

void EmfPaintEngine::drawImage(const QRectF &r, const QImage &image, const QRectF &sr, Qt::ImageConversionFlags)
{
    if (!m_recorder || image.isNull())
        return;
    QImage source = image.copy(sr.toAlignedRect());
    if (source.isNull())
        return;
    if (source.hasAlphaChannel()) {
        QImage flat(source.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, source);
        p.end();
        source = flat;
    }
    syncClip();
    QRect target;
    if (isAxisAligned()) {
        target = m_transform.mapRect(r).normalized().toRect();
    } else {
        target = m_transform.map(QPolygonF(r)).boundingRect().toRect();
    }
    if (target.isEmpty())
        return;
    m_recorder->stretchDIBits(target, source);
    m_recorder->includeBounds(target);
}

void EmfPaintEngine::drawTextItem(const QPointF &p, const QTextItem &textItem)
{
    const QString text = textItem.text();
    if (!m_recorder || text.isEmpty() || m_pen.style() == Qt::NoPen)
        return;
    syncClip();
    const QFont font = textItem.font();
    const double scale = std::sqrt(std::abs(m_transform.determinant()));
    const double pixelSize = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * m_device->options().dpiY / 72.0;

    EmfRecorder::LogFont logFont;
    logFont.height = -qMax(1, int(std::lround(pixelSize * scale)));
    const double angle = std::atan2(m_transform.m12(), m_transform.m11()) * 180.0 / M_PI;
    logFont.escapement = int(std::lround(-angle * 10));
    logFont.weight = font.weight();
    logFont.italic = font.style() != QFont::StyleNormal;
    logFont.faceName = font.family();
    logFont.charSet = font.family().compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0 ? 2 : 1;
    if (!m_selectedFont || *m_selectedFont != logFont) {
        const int slot = m_fontSlot == 1 ? 0 : 1;
        m_recorder->createFont(kFontSlots[slot], logFont);
        m_recorder->selectObject(kFontSlots[slot]);
        if (m_fontSlot)
            m_recorder->deleteObject(kFontSlots[m_fontSlot - 1]);
        m_fontSlot = slot + 1;
        m_selectedFont = logFont;
    }
    const QRgb color = m_pen.color().rgb() & 0xFFFFFF;
    if (!m_textColor || *m_textColor != color) {
        m_recorder->setTextColor(color);
        m_textColor = color;
    }

    // Advances from the font's metrics on this device, stretched to the width the layout gave
    // the item (justification), rounded so that their sum stays on the true positions.
    const QFontMetricsF metrics(font, m_device);
    const double natural = metrics.horizontalAdvance(text);
    const double stretch = natural > 0 && textItem.width() > 0 ? textItem.width() / natural : 1.0;
    QList<qint32> advances;
    advances.reserve(text.size());
    long previous = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size()) {
            advances.append(0);
            continue;
        }
        const long next = std::lround(metrics.horizontalAdvance(text.left(i + 1)) * stretch * scale);
        advances.append(qint32(next - previous));
        previous = next;
    }
    // The high surrogate carries the pair's advance.
    for (int i = 0; i + 1 < advances.size(); ++i)
        if (text.at(i).isHighSurrogate()) {
            advances[i] = advances[i + 1];
            advances[i + 1] = 0;
        }

    const QRectF logical(p.x(), p.y() - textItem.ascent(), textItem.width(), textItem.ascent() + textItem.descent());
    const QRect bounds = m_transform.mapRect(logical).toAlignedRect();
    m_recorder->extTextOutW(map(p), text, advances, bounds);
    m_recorder->includeBounds(bounds);
}
