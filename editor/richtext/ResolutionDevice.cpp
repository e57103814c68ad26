#include "editor/richtext/ResolutionDevice.h"

#include <climits>

ResolutionDevice::ResolutionDevice(int dpiX, int dpiY)
    : m_dpiX(dpiX > 0 ? dpiX : 96)
    , m_dpiY(dpiY > 0 ? dpiY : 96)
{
}

int ResolutionDevice::metric(PaintDeviceMetric m) const
{
    constexpr int kSize = 100000;
    switch (m) {
    case PdmDpiX:
    case PdmPhysicalDpiX: return m_dpiX;
    case PdmDpiY:
    case PdmPhysicalDpiY: return m_dpiY;
    case PdmWidth:
    case PdmHeight: return kSize;
    case PdmWidthMM: return int(kSize * 25.4 / m_dpiX);
    case PdmHeightMM: return int(kSize * 25.4 / m_dpiY);
    case PdmNumColors: return INT_MAX;
    case PdmDepth: return 32;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
    }
    return 0;
}
