#pragma once

#include <QByteArray>
#include <QPaintDevice>
#include <QSize>
#include <QString>

#include <memory>

class EmfPaintEngine;
class QIODevice;

// A paint surface that records an enhanced metafile (".emf"). Paint on it with a QPainter; when
// the painter ends, data() holds the complete file. Its metrics are those of the reference device
// (by default a 96 pixels-per-inch screen), so text laid out against it keeps the screen's sizes.
// Nothing fills the background: what is not drawn stays transparent in the picture.
class EmfPaintDevice : public QPaintDevice
{
public:
    struct Options
    {
        QString application;
        QString description;
        int dpiX = 96;
        int dpiY = 96;
        QSize referencePixels = QSize(1920, 1080);
        QSize referenceMillimeters = QSize(508, 286);
    };

    EmfPaintDevice(const QSize &sizePixels, const Options &options);
    ~EmfPaintDevice() override;

    QPaintEngine *paintEngine() const override;
    QSize size() const { return m_size; }
    const Options &options() const { return m_options; }

    // The recording of the last finished painter; empty while painting or before any.
    QByteArray data() const { return m_data; }
    bool save(QIODevice &device) const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    friend class EmfPaintEngine;
    void setData(const QByteArray &data) { m_data = data; }

    QSize m_size;
    Options m_options;
    QByteArray m_data;
    std::unique_ptr<EmfPaintEngine> m_engine;
};
