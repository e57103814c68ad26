#include "pages/PagePrinting.h"

#include "pages/GmPageList.h"
#include "pages/GmPrinter.h"

#include <QPainter>

QList<int> PagePrinting::RangeNumbers(int a, int b)
{
    QList<int> numbers;
    if (a < b) {
        for (int p = a; p <= b; ++p)
            numbers << p;
    } else {
        for (int p = a; p >= b; --p)
            numbers << p;
    }
    return numbers;
}

bool PagePrinting::PrintPages(TGmPageList &list, TGmPrinter &printer, const QList<int> &numbers)
{
    QList<int> pages;
    for (int p : numbers) {
        if (list.Pages(p))
            pages << p;
    }
    if (pages.isEmpty())
        return false;
    printer.SetOrientation(list.Pages(pages.first())->Orientation());
    printer.SetPagesPerSheet(list.PagesPerSheet());
    printer.SetPaperSize(list.PaperSize());
    if (!printer.BeginDoc())
        return false;
    if (printer.Aborted()) {
        printer.AbortDoc();
        return false;
    }
    const TGmMargins &margins = list.Margins();
    for (qsizetype i = 0; i < pages.size(); ++i) {
        TGmPage *page = list.Pages(pages[i]);
        QPainter *canvas = printer.Canvas();
        if (!canvas || !page) {
            printer.AbortDoc();
            return false;
        }
        const int ppiX = printer.ResolutionX();
        const int ppiY = printer.ResolutionY();
        const double w = page->Width();
        const double h = page->Height();
        QRect clip;
        if (margins.ClipMargins()) {
            const int l = GmRound(ppiX * margins.Left().AsInches());
            const int t = GmRound(ppiY * margins.Top().AsInches());
            const int r = GmRound(ppiX * (w - margins.Right().AsInches()));
            const int b = GmRound(ppiY * (h - margins.Bottom().AsInches()));
            clip = QRect(l, t, r - l, b - t);
        } else {
            clip = QRect(0, 0, GmRound(ppiX * w), GmRound(ppiY * h));
        }
        canvas->save();
        canvas->setClipRect(clip);
        list.DrawPage(page, canvas, ppiX, ppiY);
        canvas->restore();
        if (i + 1 < pages.size())
            printer.NewPage();
        emit list.printProgress(int(i + 1), int(pages.size()));
        if (printer.Aborted()) {
            printer.AbortDoc();
            return false;
        }
    }
    printer.EndDoc();
    return true;
}
