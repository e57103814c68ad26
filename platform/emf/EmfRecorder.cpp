#include "platform/emf/EmfRecorder.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace {

QRect boundsOf(const QList<QPoint> &points)
{
    if (points.isEmpty())
        return {};
    int l = points[0].x(), r = l, t = points[0].y(), b = t;
    for (const QPoint &p : points) {
        l = qMin(l, p.x());
        r = qMax(r, p.x());
        t = qMin(t, p.y());
        b = qMax(b, p.y());
    }
    return QRect(QPoint(l, t), QPoint(r, b));
}

} // namespace

quint32 EmfRecorder::colorRef(QRgb color)
{
    return quint32(qRed(color)) | (quint32(qGreen(color)) << 8) | (quint32(qBlue(color)) << 16);
}

EmfRecorder::EmfRecorder(const Header &header)
{
    // The header is written now and completed by finish().
    QString description = header.application;
    description.append(QChar(0));
    description.append(header.description);
    description.append(QChar(0));
    description.append(QChar(0));

    begin(Header_);
    putRect(QRect(0, 0, 0, 0)); // bounds, set by finish()
    const int frameRight = int(std::lround(header.sizePixels.width() * 2540.0 / header.dpiX));
    const int frameBottom = int(std::lround(header.sizePixels.height() * 2540.0 / header.dpiY));
    put32(0);
    put32(0);
    put32(quint32(frameRight));
    put32(quint32(frameBottom));
    put32(0x464D4520); // " EMF"
    put32(0x00010000);
    put32(0); // bytes, set by finish()
    put32(0); // records, set by finish()
    put16(quint16(header.handles));
    put16(0);
    put32(quint32(description.size()));
    put32(108); // the description follows the header with both extensions
    put32(0);   // palette entries
    put32(quint32(header.referencePixels.width()));
    put32(quint32(header.referencePixels.height()));
    put32(quint32(header.referenceMillimeters.width()));
    put32(quint32(header.referenceMillimeters.height()));
    put32(0); // pixel format size
    put32(0); // pixel format offset
    put32(0); // no OpenGL
    put32(quint32(header.referenceMillimeters.width() * 1000));
    put32(quint32(header.referenceMillimeters.height() * 1000));
    for (const QChar c : std::as_const(description))
        put16(c.unicode());
    end();
}

void EmfRecorder::begin(quint32 type)
{
    m_recordStart = m_data.size();
    put32(type);
    put32(0);
}

void EmfRecorder::end()
{
    while (m_data.size() % 4)
        m_data.append('\0');
    qToLittleEndian(quint32(m_data.size() - m_recordStart), m_data.data() + m_recordStart + 4);
    ++m_records;
}

void EmfRecorder::put32(quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    m_data.append(b, 4);
}

void EmfRecorder::put16(quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    m_data.append(b, 2);
}

void EmfRecorder::putRect(const QRect &r)
{
    put32(quint32(r.left()));
    put32(quint32(r.top()));
    put32(quint32(r.right()));
    put32(quint32(r.bottom()));
}

void EmfRecorder::simple(quint32 type, quint32 value)
{
    begin(type);
    put32(value);
    end();
}

void EmfRecorder::empty(quint32 type)
{
    begin(type);
    end();
}

void EmfRecorder::point(quint32 type, QPoint p)
{
    begin(type);
    put32(quint32(p.x()));
    put32(quint32(p.y()));
    end();
}

void EmfRecorder::points32(quint32 type, const QList<QPoint> &points)
{
    begin(type);
    putRect(boundsOf(points));
    put32(quint32(points.size()));
    for (const QPoint &p : points) {
        put32(quint32(p.x()));
        put32(quint32(p.y()));
    }
    end();
}

void EmfRecorder::boundsOnly(quint32 type, const QRect &bounds)
{
    begin(type);
    putRect(bounds);
    end();
}

void EmfRecorder::createPen(quint32 handle, quint32 style, qint32 width, QRgb color)
{
    begin(CreatePen);
    put32(handle);
    put32(style);
    put32(quint32(width));
    put32(0);
    put32(colorRef(color));
    end();
}

void EmfRecorder::createBrush(quint32 handle, quint32 style, QRgb color, quint32 hatch)
{
    begin(CreateBrushIndirect);
    put32(handle);
    put32(style);
    put32(colorRef(color));
    put32(hatch);
    end();
}

void EmfRecorder::createFont(quint32 handle, const LogFont &font)
{
    begin(ExtCreateFontIndirectW);
    put32(handle);
    put32(quint32(font.height));
    put32(0); // width: the font's own
    put32(quint32(font.escapement));
    put32(quint32(font.escapement)); // orientation
    put32(quint32(font.weight));
    m_data.append(char(font.italic ? 1 : 0));
    m_data.append(char(font.underline ? 1 : 0));
    m_data.append(char(font.strikeOut ? 1 : 0));
    m_data.append(char(font.charSet));
    m_data.append(char(0)); // output precision
    m_data.append(char(0)); // clip precision
    m_data.append(char(0)); // quality
    m_data.append(char(0)); // pitch and family
    for (int i = 0; i < 32; ++i)
        put16(i < 31 && i < font.faceName.size() ? font.faceName.at(i).unicode() : 0);
    end();
}

void EmfRecorder::rectangle(const QRect &box)
{
    // GDI boxes exclude their right and bottom edge: pass them as exclusive coordinates.
    begin(Rectangle);
    put32(quint32(box.left()));
    put32(quint32(box.top()));
    put32(quint32(box.left() + box.width()));
    put32(quint32(box.top() + box.height()));
    end();
}

void EmfRecorder::ellipse(const QRect &box)
{
    begin(Ellipse);
    put32(quint32(box.left()));
    put32(quint32(box.top()));
    put32(quint32(box.left() + box.width()));
    put32(quint32(box.top() + box.height()));
    end();
}

void EmfRecorder::polygon(const QList<QPoint> &points)
{
    points32(Polygon, points);
}

void EmfRecorder::polyline(const QList<QPoint> &points)
{
    points32(Polyline, points);
}

void EmfRecorder::selectClipRects(const QList<QRect> &rects)
{
    begin(ExtSelectClipRgn);
    const quint32 rgnBytes = rects.isEmpty() ? 0 : quint32(32 + 16 * rects.size());
    put32(rgnBytes);
    put32(5); // RGN_COPY
    if (!rects.isEmpty()) {
        QRect bound;
        for (const QRect &r : rects)
            bound |= r;
        put32(32);
        put32(1); // RDH_RECTANGLES
        put32(quint32(rects.size()));
        put32(quint32(16 * rects.size()));
        put32(quint32(bound.left()));
        put32(quint32(bound.top()));
        put32(quint32(bound.left() + bound.width()));
        put32(quint32(bound.top() + bound.height()));
        for (const QRect &r : rects) {
            put32(quint32(r.left()));
            put32(quint32(r.top()));
            put32(quint32(r.left() + r.width()));
            put32(quint32(r.top() + r.height()));
        }
    }
    end();
}

void EmfRecorder::stretchDIBits(const QRect &target, const QImage &image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const int w = pixels.width();
    const int h = pixels.height();
    const quint32 bitsBytes = quint32(w) * quint32(h) * 4;
    begin(StretchDIBits);
    putRect(target);
    put32(quint32(target.left()));
    put32(quint32(target.top()));
    put32(0);
    put32(0);
    put32(quint32(w));
    put32(quint32(h));
    put32(80); // bitmap header offset
    put32(40);
    put32(120); // bits offset
    put32(bitsBytes);
    put32(0);          // DIB_RGB_COLORS
    put32(0x00CC0020); // SRCCOPY
    put32(quint32(target.width()));
    put32(quint32(target.height()));
    put32(40);
    put32(quint32(w));
    put32(quint32(h)); // bottom-up
    put16(1);
    put16(32);
    put32(0); // BI_RGB
    put32(bitsBytes);
    put32(3780);
    put32(3780);
    put32(0);
    put32(0);
    for (int y = h - 1; y >= 0; --y) {
        const char *line = reinterpret_cast<const char *>(pixels.constScanLine(y));
        m_data.append(line, qsizetype(w) * 4); // blue, green, red, unused on little-endian hosts
    }
    end();
}

void EmfRecorder::extTextOutW(QPoint reference, const QString &text, const QList<qint32> &advances,
                              const QRect &bounds)
{
    const quint32 chars = quint32(text.size());
    const quint32 stringBytes = (chars * 2 + 3) & ~3u;
    begin(ExtTextOutW);
    putRect(bounds);
    put32(1); // GM_COMPATIBLE
    put32(0); // x and y scale: unused in compatible mode
    put32(0);
    put32(quint32(reference.x()));
    put32(quint32(reference.y()));
    put32(chars);
    put32(76); // string offset
    put32(0);  // options
    putRect(QRect(QPoint(0, 0), QPoint(-1, -1)));
    put32(76 + stringBytes); // advances offset
    for (const QChar c : text)
        put16(c.unicode());
    while (m_data.size() % 4)
        m_data.append('\0');
    for (int i = 0; i < int(chars); ++i)
        put32(quint32(advances.value(i)));
    end();
}

void EmfRecorder::includeBounds(const QRect &rect)
{
    if (rect.isValid())
        m_bounds |= rect;
}

QByteArray EmfRecorder::finish()
{
    if (!m_finished) {
        m_finished = true;
        begin(Eof);
        put32(0);  // palette entries
        put32(16); // palette offset
        put32(20); // size of this record, repeated last
        end();
        char *head = m_data.data();
        const QRect b = m_bounds.isValid() ? m_bounds : QRect(QPoint(0, 0), QPoint(-1, -1));
        qToLittleEndian(quint32(b.left()), head + 8);
        qToLittleEndian(quint32(b.top()), head + 12);
        qToLittleEndian(quint32(b.right()), head + 16);
        qToLittleEndian(quint32(b.bottom()), head + 20);
        qToLittleEndian(quint32(m_data.size()), head + 48);
        qToLittleEndian(quint32(m_records), head + 52);
    }
    return m_data;
}
