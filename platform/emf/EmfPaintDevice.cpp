#include "platform/emf/EmfPaintDevice.h"

#include "platform/emf/EmfPaintEngine.h"

#include <QIODevice>

#include <climits>

EmfPaintDevice::EmfPaintDevice(const QSize &sizePixels, const Options &options)
    : m_size(sizePixels)
    , m_options(options)
    , m_engine(std::make_unique<EmfPaintEngine>(this))
{
}

EmfPaintDevice::~EmfPaintDevice() = default;

QPaintEngine *EmfPaintDevice::paintEngine() const
{
    return m_engine.get();
}

bool EmfPaintDevice::save(QIODevice &device) const
{
    return !m_data.isEmpty() && device.write(m_data) == m_data.size();
}

int EmfPaintDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return m_size.width();
    case PdmHeight:
        return m_size.height();
    case PdmWidthMM:
        return int(m_size.width() * 25.4 / m_options.dpiX);
    case PdmHeightMM:
        return int(m_size.height() * 25.4 / m_options.dpiY);
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmPhysicalDpiX:
        return m_options.dpiX;
    case PdmDpiY:
    case PdmPhysicalDpiY:
        return m_options.dpiY;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(QPaintDevice::devicePixelRatioFScale());
    }
    return 0;
}
