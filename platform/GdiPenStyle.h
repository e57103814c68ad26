#pragma once

#include <Qt>

// The platform's pen style numbers (solid 0, dash 1, dot 2, dash-dot 3, dash-dot-dot 4, null 5,
// inside frame 6), as metafiles and stored pen descriptions carry them.
namespace GdiPenStyle {

inline int fromQt(Qt::PenStyle style)
{
    switch (style) {
    case Qt::DashLine: return 1;
    case Qt::DotLine: return 2;
    case Qt::DashDotLine: return 3;
    case Qt::DashDotDotLine: return 4;
    case Qt::NoPen: return 5;
    default: return 0;
    }
}

inline Qt::PenStyle toQt(int style)
{
    switch (style) {
    case 1: return Qt::DashLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashDotLine;
    case 4: return Qt::DashDotDotLine;
    case 5: return Qt::NoPen;
    default: return Qt::SolidLine; // solid and inside frame
    }
}

} // namespace GdiPenStyle
