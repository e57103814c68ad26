#include "export/PresentationOptions.h"

#include <QPainter>

ExportPageGeometry PresentationOptions::geometry() const
{
    switch (pageSize) {
    case PageSize::FullPage:
        return ExportPageGeometry::withBorder(QSize(693, 950));
    case PageSize::HalfPage:
        return ExportPageGeometry::withBorder(QSize(693, 485));
    case PageSize::Screen:
        if (screenSize == QLatin1String("900 x 675"))
            return ExportPageGeometry::withBorder(QSize(900, 675));
        if (screenSize == QLatin1String("1000 x 750"))
            return ExportPageGeometry::withBorder(QSize(1000, 750));
        return ExportPageGeometry::withBorder(QSize(800, 600));
    }
    return ExportPageGeometry::withBorder(QSize(693, 950));
}

QStringList PresentationOptions::screenSizes()
{
    return {QStringLiteral("800 x 600"), QStringLiteral("900 x 675"), QStringLiteral("1000 x 750")};
}

void PresentationOptions::drawFrame(QPainter &painter, QSize surface, const QColor &color)
{
    painter.save();
    painter.setBrush(Qt::white);
    painter.setPen(QPen(color, 8));
    painter.drawRect(QRect(QPoint(0, 0), surface));
    painter.setPen(QPen(color, 5));
    painter.drawRoundedRect(QRect(QPoint(0, 0), surface), 15, 15);
    painter.restore();
}
