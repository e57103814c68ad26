#include "pages/FallbackPrinterDevice.h"

#include "pages/GmPrinterInfo.h"

FallbackPrinterDevice::FallbackPrinterDevice() = default;

int FallbackPrinterDevice::metric(PaintDeviceMetric metric) const
{
    static const TGmPrinterInfo info = TGmPrinterInfo::Fallback();
    switch (metric) {
    case PdmWidth:
        return info.printableWidth;
    case PdmHeight:
        return info.printableHeight;
    case PdmWidthMM:
        return qRound(info.printableWidth * 25.4 / info.ppiX);
    case PdmHeightMM:
        return qRound(info.printableHeight * 25.4 / info.ppiY);
    case PdmDpiX:
    case PdmPhysicalDpiX:
        return info.ppiX;
    case PdmDpiY:
    case PdmPhysicalDpiY:
        return info.ppiY;
    default:
        return QPicture::metric(metric);
    }
}
