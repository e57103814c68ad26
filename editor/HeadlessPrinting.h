#pragma once

#include "pages/RichTextPagination.h"

#include <QString>

// Printing documents without a window (the command line's --print): each file is loaded as the
// document window loads it, paginated into a preview's pages by the window's own pagination and
// printed through the preview's printer wrapper, as "Print All" does with the strip showing.
class HeadlessPrinting
{
public:
    struct Outcome
    {
        bool ok = false;
        int pages = 0;
        QString message; // why nothing was printed, when not ok
    };

    // The queue to print on: the named one, or the system's default printer (else the first one)
    // when name is empty. Empty, with the reason in *error, when there is no such printer or the
    // queue does not take jobs.
    static QString choosePrinter(const QString &name, QString *error);

    explicit HeadlessPrinting(QString queue, PageMarginsMm margins = {});
    // Loads, paginates and prints one file as one job titled with its file name.
    Outcome print(const QString &path);

private:
    QString m_queue;
    PageMarginsMm m_margins;
};
