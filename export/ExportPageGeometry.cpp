#include "export/ExportPageGeometry.h"

ExportPageGeometry ExportPageGeometry::pdfPage()
{
    ExportPageGeometry g;
    g.surface = QSize(693, 950);
    g.right = 693;
    g.bottom = 950;
    return g;
}

ExportPageGeometry ExportPageGeometry::imagePage()
{
    return withBorder(QSize(693, 950));
}

ExportPageGeometry ExportPageGeometry::withBorder(QSize surface)
{
    ExportPageGeometry g;
    g.surface = surface;
    g.right = surface.width() - 20;
    g.bottom = surface.height() - 20;
    return g;
}

QRect ExportPageGeometry::rectTwips(int dpiX, int dpiY) const
{
    const int l = left * 1440 / dpiX;
    const int t = top * 1440 / dpiY;
    const int r = right * 1440 / dpiX;
    const int b = bottom * 1440 / dpiY;
    return QRect(l, t, r - l, b - t);
}
