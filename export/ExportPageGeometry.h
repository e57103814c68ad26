#pragma once

#include <QRect>
#include <QSize>

// The fixed page layout of the exports: a surface of pixels and the rectangle the text goes
// into, given as left, top, right, bottom pixels (right and bottom exclusive, as the page
// rectangles of the format range request are).
struct ExportPageGeometry
{
    QSize surface;
    int left = 20;
    int top = 20;
    int right = 0;
    int bottom = 0;

    // 693 x 950 pixels, text from (20, 20) to (693, 950).
    static ExportPageGeometry pdfPage();
    // 693 x 950 pixels, text from (20, 20) to (673, 930): a 20-pixel border on every side.
    static ExportPageGeometry imagePage();
    // A surface of the given size with a 20-pixel border on every side.
    static ExportPageGeometry withBorder(QSize surface);

    // The text rectangle in twips at a screen resolution: pixels * 1440 div pixels per inch, the
    // horizontal resolution for left and right, the vertical one for top and bottom. The QRect
    // spans right - left by bottom - top twips.
    QRect rectTwips(int dpiX, int dpiY) const;
};
