#pragma once

#include <QRect>
#include <QString>

#include <functional>

class QPrinter;
class TGmMargins;
class TGmPreview;
class TRxRichEdit;

// The document window's printing: "&Print..." and the "Print All" button, and "P&rinter Setup...".
// Works on the window's rich text control and its embedded preview.
class DocumentPrinting
{
public:
    struct Context
    {
        TRxRichEdit *editor = nullptr;
        TGmPreview *preview = nullptr;
        QString documentPath;
        // Whether the print thumbnail strip is showing.
        bool stripVisible = false;
        // Brings the preview's pages to the text's current state (called before the preview's
        // pages are printed).
        std::function<void()> updatePages;
        // How long to wait for the print system to finish the job, milliseconds.
        int jobTimeLimitMs = 60000;
    };

    // Print: with the strip showing, nothing selected and fromButton, the preview's pages go to
    // the printer without a dialog; otherwise the print dialog decides between the selection and
    // the whole text, which print straight from the control. Then waits for the job.
    static void Print(const Context &context, bool fromButton);
    // Lets the user choose the program's printer and its settings.
    static void PrinterSetup();

    // The page rectangle of direct printing in printer pixels, from the preview's margins
    // (millimetres) and the printable size PW x PH at the printer's resolution.
    static QRect DirectPageRect(const TGmMargins &margins, int printableWidth, int printableHeight, int ppiX, int ppiY);
    // Prints the positions [from, to) of the text page by page into pageRect (printer pixels; the
    // whole printable page when empty). False when the printer could not be started.
    static bool PrintText(TRxRichEdit &editor, QPrinter &printer, QRect pageRect, int from, int to);

    // The printer the program prints on: the program's choice, else the system's default; empty
    // when there is none.
    static QString CurrentPrinterName();
};
