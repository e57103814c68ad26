#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// Serialises enhanced-metafile records (little-endian, 4-byte aligned) into a byte buffer. All
// coordinates are device pixels of the recording (MM_TEXT). finish() writes the end-of-file record
// and completes the header (size, record count, bounds), after which data() is the whole file.
class EmfRecorder
{
public:
    struct Header
    {
        QSize sizePixels;          // the picture frame, in pixels of the recording
        double dpiX = 96, dpiY = 96;
        QSize referencePixels;     // the reference device (the screen)
        QSize referenceMillimeters;
        QString application;
        QString description;
        int handles = 1;           // entries of the object table, index 0 included
    };

    // Record types used by the writer.
    enum Type : quint32 {
        Header_ = 1, Polygon = 3, Polyline = 4, PolyBezierTo = 5, PolylineTo = 6, Eof = 14,
        SetMapMode = 17, SetBkMode = 18, SetPolyFillMode = 19, SetTextAlign = 22, SetTextColor = 24,
        MoveToEx = 27, SelectObject = 37, CreatePen = 38, CreateBrushIndirect = 39, DeleteObject = 40,
        Ellipse = 42, Rectangle = 43, LineTo = 54, BeginPath = 59, EndPath = 60, CloseFigure = 61,
        FillPath = 62, StrokeAndFillPath = 63, StrokePath = 64, ExtSelectClipRgn = 75,
        StretchDIBits = 81, ExtCreateFontIndirectW = 82, ExtTextOutW = 84
    };

    struct LogFont
    {
        qint32 height = 0; // negative: character height in pixels
        qint32 escapement = 0; // tenths of a degree
        qint32 weight = 400;
        bool italic = false, underline = false, strikeOut = false;
        quint8 charSet = 1;
        QString faceName;
        bool operator==(const LogFont &) const = default;
    };

    explicit EmfRecorder(const Header &header);

    void setMapMode(quint32 mode) { simple(SetMapMode, mode); }
    void setBkMode(quint32 mode) { simple(SetBkMode, mode); }
    void setPolyFillMode(quint32 mode) { simple(SetPolyFillMode, mode); }
    void setTextAlign(quint32 align) { simple(SetTextAlign, align); }
    void setTextColor(QRgb color) { simple(SetTextColor, colorRef(color)); }
    void selectObject(quint32 handle) { simple(SelectObject, handle); }
    void deleteObject(quint32 handle) { simple(DeleteObject, handle); }
    void createPen(quint32 handle, quint32 style, qint32 width, QRgb color);
    void createBrush(quint32 handle, quint32 style, QRgb color, quint32 hatch);
    void createFont(quint32 handle, const LogFont &font);
    void rectangle(const QRect &box);
    void ellipse(const QRect &box);
    void polygon(const QList<QPoint> &points);
    void polyline(const QList<QPoint> &points);
    void beginPath() { empty(BeginPath); }
    void endPath() { empty(EndPath); }
    void closeFigure() { empty(CloseFigure); }
    void moveTo(QPoint p) { point(MoveToEx, p); }
    void lineTo(QPoint p) { point(LineTo, p); }
    void polylineTo(const QList<QPoint> &points) { points32(PolylineTo, points); }
    void polyBezierTo(const QList<QPoint> &points) { points32(PolyBezierTo, points); }
    void fillPath(const QRect &bounds) { boundsOnly(FillPath, bounds); }
    void strokePath(const QRect &bounds) { boundsOnly(StrokePath, bounds); }
    void strokeAndFillPath(const QRect &bounds) { boundsOnly(StrokeAndFillPath, bounds); }
    // Replaces the clip region by the rectangles; no rectangles: no clipping.
    void selectClipRects(const QList<QRect> &rects);
    // A 32-bit bottom-up device-independent bitmap stretched into the target rectangle.
    void stretchDIBits(const QRect &target, const QImage &image);
    // Text with the reference point on the baseline; one advance per UTF-16 unit.
    void extTextOutW(QPoint reference, const QString &text, const QList<qint32> &advances, const QRect &bounds);

    // Grows the picture's bounds (device pixels, the header's Bounds field).
    void includeBounds(const QRect &rect);
    QByteArray finish();
    int recordCount() const { return m_records; }

    static quint32 colorRef(QRgb color);

private:
    void begin(quint32 type);
    void end();
    void put32(quint32 v);
    void put16(quint16 v);
    void putRect(const QRect &r); // inclusive right and bottom
    void simple(quint32 type, quint32 value);
    void empty(quint32 type);
    void point(quint32 type, QPoint p);
    void points32(quint32 type, const QList<QPoint> &points);
    void boundsOnly(quint32 type, const QRect &bounds);

    QByteArray m_data;
    qsizetype m_recordStart = 0;
    int m_records = 0;
    QRect m_bounds;
    bool m_finished = false;
};
