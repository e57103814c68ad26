#pragma once

#include <QPaintDevice>

// A paint device that only answers metrics, at a resolution of its own: text laid out against it
// is measured at that resolution (the zoom of the view, the measuring device of a page), and it
// stays valid whatever happens to the device the text is finally drawn on.
class ResolutionDevice final : public QPaintDevice
{
public:
    ResolutionDevice(int dpiX, int dpiY);
    QPaintEngine *paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric m) const override;

private:
    int m_dpiX;
    int m_dpiY;
};
