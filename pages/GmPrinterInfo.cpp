#include "pages/GmPrinterInfo.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QScreen>

namespace {
double screenPpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}
} // namespace

TGmPrinterInfo TGmPrinterInfo::Fallback()
{
    TGmPrinterInfo info;
    info.physicalWidth = 2481;
    info.physicalHeight = 3507;
    info.borderLeft = 65;
    info.borderTop = 50;
    info.borderRight = 58;
    info.borderBottom = 50;
    info.printableWidth = info.physicalWidth - info.borderLeft - info.borderRight;
    info.printableHeight = info.physicalHeight - info.borderTop - info.borderBottom;
    info.ppiX = 300;
    info.ppiY = 300;
    info.screenRatio = screenPpi() / info.ppiX;
    info.landscapeRotation = 1;
    info.valid = true;
    return info;
}

TGmPrinterInfo TGmPrinterInfo::Measure(const QPrinter &printer)
{
    TGmPrinterInfo info;
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    info.physicalWidth = qRound(paper.width());
    info.physicalHeight = qRound(paper.height());
    info.printableWidth = qRound(page.width());
    info.printableHeight = qRound(page.height());
    info.borderLeft = qRound(page.left() - paper.left());
    info.borderTop = qRound(page.top() - paper.top());
    info.borderRight = info.borderLeft;
    info.borderBottom = info.physicalHeight - info.printableHeight - info.borderTop;
    info.ppiX = printer.logicalDpiX();
    info.ppiY = printer.logicalDpiY();
    info.screenRatio = info.ppiX > 0 ? screenPpi() / info.ppiX : 0;
    info.landscapeRotation = 1;
    info.valid = info.ppiX > 0 && info.ppiY > 0 && info.physicalWidth > 0;
    return info;
}
