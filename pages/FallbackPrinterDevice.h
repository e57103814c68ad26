#pragma once

#include <QPicture>

// What the program measures and draws against when no printer exists: a recording surface with
// the metrics of the fallback printer (300 dpi, printable 2358 x 3407 pixels), so that pagination
// and preview work on every machine.
class FallbackPrinterDevice : public QPicture
{
public:
    FallbackPrinterDevice();

protected:
    int metric(PaintDeviceMetric metric) const override;
};
