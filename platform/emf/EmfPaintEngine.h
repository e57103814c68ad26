#pragma once

#include "platform/emf/EmfRecorder.h"

#include <QPaintEngine>
#include <QPen>
#include <QRegion>

#include <memory>
#include <optional>

class EmfPaintDevice;

// Records what a QPainter draws as enhanced-metafile records: text (font selection and
// EXTTEXTOUTW with character advances), lines, rectangles, ellipses, polygons, paths, pens,
// brushes, clip rectangles and images (STRETCHDIBITS). The painter's transform is applied here,
// so every record is in device pixels. Gradients and textures are recorded as solid colours and
// images with transparency are flattened onto white: the format's records have no alpha.
class EmfPaintEngine : public QPaintEngine
{
public:
    explicit EmfPaintEngine(EmfPaintDevice *device);
    ~EmfPaintEngine() override;

    bool begin(QPaintDevice *device) override;
    bool end() override;
    void updateState(const QPaintEngineState &state) override;
    Type type() const override { return QPaintEngine::User; }

    void drawRects(const QRectF *rects, int rectCount) override;
    void drawLines(const QLineF *lines, int lineCount) override;
    void drawEllipse(const QRectF &rect) override;
    void drawPath(const QPainterPath &path) override;
    void drawPolygon(const QPointF *points, int pointCount, PolygonDrawMode mode) override;
    void drawPixmap(const QRectF &r, const QPixmap &pm, const QRectF &sr) override;
    void drawImage(const QRectF &r, const QImage &pm, const QRectF &sr,
                   Qt::ImageConversionFlags flags = Qt::AutoColor) override;
    void drawTextItem(const QPointF &p, const QTextItem &textItem) override;

private:
    struct PenKey
    {
        quint32 style = 5; // PS_NULL
        qint32 width = 0;
        QRgb color = 0;
        bool operator==(const PenKey &) const = default;
    };
    struct BrushKey
    {
        quint32 style = 1; // BS_NULL
        QRgb color = 0;
        quint32 hatch = 0;
        bool operator==(const BrushKey &) const = default;
    };

    bool hasPen() const { return m_pen.style() != Qt::NoPen && m_pen.color().alpha() > 0; }
    bool hasBrush() const;
    void syncPen(bool use);
    void syncBrush(bool use);
    void syncClip();
    void syncFillMode(Qt::FillRule rule);
    QPoint map(const QPointF &p) const;
    QList<QPoint> mapPolygon(const QPointF *points, int count) const;
    bool isAxisAligned() const;
    double penWidth() const;
    QRect strokedBounds(const QRect &r) const;

    EmfPaintDevice *m_device;
    std::unique_ptr<EmfRecorder> m_recorder;
    QTransform m_transform;
    QPen m_pen;
    QBrush m_brush;
    QFont m_font;
    std::optional<PenKey> m_selectedPen;
    std::optional<BrushKey> m_selectedBrush;
    std::optional<EmfRecorder::LogFont> m_selectedFont;
    std::optional<QRgb> m_textColor;
    int m_penSlot = 0, m_brushSlot = 0, m_fontSlot = 0;
    int m_fillMode = 0;
    std::optional<QRegion> m_clip;         // device pixels; none: no clipping
    std::optional<QRegion> m_selectedClip; // what the recording has
    bool m_clipKnown = true;
};
