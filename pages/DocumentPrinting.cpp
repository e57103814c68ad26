#include "pages/DocumentPrinting.h"

#include "editor/richtext/RxRichEdit.h"
#include "pages/GmPreview.h"
#include "pages/PrintJobMonitor.h"
#include "platform/Dialogs.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>

#include <algorithm>

namespace {

void noPrinter()
{
    Dialogs::instance().message(Dialogs::Icon::None, Dialogs::applicationTitle(),
        QStringLiteral("Unable to print... No Printer available."), Dialogs::Buttons::Ok);
}

class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

void waitForJob(const QString &queue, int timeLimitMs)
{
    if (queue.isEmpty())
        return;
    WaitCursor wait;
    PrintJobMonitor::WaitForJobs(queue, timeLimitMs);
}

} // namespace

QString DocumentPrinting::CurrentPrinterName()
{
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    const QString chosen = TGmPrinter::ProgramPrinter();
    if (!chosen.isEmpty() && printers.contains(chosen))
        return chosen;
    const QString fallback = QPrinterInfo::defaultPrinterName();
    if (!fallback.isEmpty() && printers.contains(fallback))
        return fallback;
    return printers.value(0);
}

QRect DocumentPrinting::DirectPageRect(
    const TGmMargins &margins, int printableWidth, int printableHeight, int ppiX, int ppiY)
{
    auto edge = [](double millimetres, double less) {
        const int value = int(std::lround(millimetres - less));
        return value < 3 ? 10 : value;
    };
    const int l = edge(margins.Left().AsMillimeters(), 3);
    const int t = edge(margins.Top().AsMillimeters(), 5);
    const int r = edge(margins.Right().AsMillimeters(), 3);
    const int b = edge(margins.Bottom().AsMillimeters(), 3);
    // 24 pixels per unit at 600 pixels per inch, in proportion at the printer's own resolution.
    const double perUnitX = 24.0 * ppiX / 600.0;
    const double perUnitY = 24.0 * ppiY / 600.0;
    const int left = int(std::lround(l * perUnitX));
    const int top = int(std::lround(t * perUnitY));
    const int right = printableWidth - int(std::lround(r * perUnitX));
    const int bottom = printableHeight - int(std::lround(b * perUnitY));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

bool DocumentPrinting::PrintText(TRxRichEdit &editor, QPrinter &printer, QRect pageRect, int from, int to)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const int ppiX = printer.logicalDpiX();
    const int ppiY = printer.logicalDpiY();
    const int pw = printer.width();
    const int ph = printer.height();
    if (pageRect.isEmpty())
        pageRect = QRect(0, 0, pw, ph);
    const QRect render(pageRect.left() * 1440 / ppiX, pageRect.top() * 1440 / ppiY, pageRect.width() * 1440 / ppiX,
        pageRect.height() * 1440 / ppiY);
    const QRect page(0, 0, pw * 1440 / ppiX, ph * 1440 / ppiY);
    bool ok = true;
    try {
        int start = from;
        do {
            if (start > from && !printer.newPage()) {
                ok = false;
                break;
            }
            start = editor.formatRange(&painter, &printer, render, page, start, to, true);
        } while (start < to);
    } catch (...) {
        editor.releaseFormatCache();
        printer.abort();
        painter.end();
        throw;
    }
    editor.releaseFormatCache();
    painter.end();
    return ok;
}

void DocumentPrinting::Print(const Context &context, bool fromButton)
{
    TRxRichEdit &editor = *context.editor;
    TGmPreview &preview = *context.preview;
    const QString title = QFileInfo(context.documentPath).fileName();
    const bool selected = editor.selLength() > 0;

    if (context.stripVisible && !selected && fromButton) {
        // The strip may be older than the text.
        if (context.updatePages)
            context.updatePages();
        preview.GmPrinter().SetTitle(title);
        preview.GmPrinter().SetPrintColor(gmColor);
        const QString queue = preview.GmPrinter().Printer() ? preview.GmPrinter().Printer()->printerName() : QString();
        if (preview.PrintRange(1, preview.PageCount()))
            waitForJob(queue, context.jobTimeLimitMs);
        return;
    }

    Dialogs::PrintRequest request;
    request.printerName = CurrentPrinterName();
    request.selectionEnabled = true;
    request.selection = selected;
    request.printToFile = true;
    if (!Dialogs::instance().print(request))
        return;
    if (!request.printerName.isEmpty() && request.outputFile.isEmpty())
        TGmPrinter::SetProgramPrinter(request.printerName);

    QPrinter printer(QPrinter::HighResolution);
    if (!request.outputFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(request.outputFile);
    } else {
        const QString name = CurrentPrinterName();
        if (name.isEmpty()) {
            noPrinter();
            return;
        }
        printer.setPrinterName(name);
        if (printer.outputFormat() != QPrinter::NativeFormat || !printer.isValid()) {
            noPrinter();
            return;
        }
    }
    printer.setDocName(title);
    printer.setCopyCount(std::max(1, request.copies));
    printer.setCollateCopies(request.collate);
    printer.setFullPage(false);

    const QRect pageRect = DirectPageRect(
        preview.Margins(), printer.width(), printer.height(), printer.logicalDpiX(), printer.logicalDpiY());
    editor.setPageRect(pageRect);
    bool printed = false;
    {
        WaitCursor wait;
        if (request.selection && selected)
            printed = PrintText(editor, printer, pageRect, editor.selStart(), editor.selStart() + editor.selLength());
        else
            printed = PrintText(editor, printer, pageRect, 0, editor.textLength());
    }
    if (!printed) {
        noPrinter();
        return;
    }
    if (request.outputFile.isEmpty())
        waitForJob(printer.printerName(), context.jobTimeLimitMs);
}

void DocumentPrinting::PrinterSetup()
{
    Dialogs::PrintRequest request;
    request.printerName = CurrentPrinterName();
    request.setupOnly = true;
    request.printToFile = false;
    if (!Dialogs::instance().print(request))
        return;
    if (!request.printerName.isEmpty())
        TGmPrinter::SetProgramPrinter(request.printerName);
}
