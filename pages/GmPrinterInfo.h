#pragma once

#include <QMargins>

class QPrinter;

// Metrics of the current printer in printer pixels, always measured in portrait.
struct TGmPrinterInfo
{
    int physicalWidth = 0;
    int physicalHeight = 0;
    int printableWidth = 0;
    int printableHeight = 0;
    // Unprintable borders; the right border repeats the left offset.
    int borderLeft = 0;
    int borderTop = 0;
    int borderRight = 0;
    int borderBottom = 0;
    int ppiX = 0;
    int ppiY = 0;
    // Screen pixels per inch over the horizontal resolution.
    double screenRatio = 0;
    // Landscape rotation of the driver: 1 for 90 degrees, 2 for 270, 0 otherwise.
    int landscapeRotation = 0;
    bool valid = false;
    // Printers are listed but the current one cannot be reached.
    bool noDevice = false;

    // The fixed metrics used when no printer is usable: an A4 sheet at 300 dpi.
    static TGmPrinterInfo Fallback();
    // Reads the metrics of a printer that is set to portrait.
    static TGmPrinterInfo Measure(const QPrinter &printer);
};
