#pragma once

#include "export/ExportPageGeometry.h"

#include <QColor>
#include <QString>
#include <QStringList>

class QPainter;

// The choices of the presentation options window: the page size, the viewing time per page and
// the optional coloured frame around every page.
struct PresentationOptions
{
    enum class PageSize { FullPage, HalfPage, Screen };

    PageSize pageSize = PageSize::FullPage;
    QString screenSize = QStringLiteral("800 x 600"); // one of screenSizes()
    int seconds = 15;                                 // 5 to 60
    bool frame = false;
    QColor frameColor = QColor(0, 128, 192);

    // The surface and text rectangle of the chosen page size.
    ExportPageGeometry geometry() const;

    // The 4:3 sizes in the order the arrows step through them.
    static QStringList screenSizes();
    // Draws the frame over the whole surface: a rectangle with an 8-pixel pen, then a rounded
    // rectangle (30 x 30 corners) with a 5-pixel pen, both filled white.
    static void drawFrame(QPainter &painter, QSize surface, const QColor &color);
};
