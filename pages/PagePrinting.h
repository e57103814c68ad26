#pragma once

#include <QList>

class TGmPageList;
class TGmPrinter;

// Sends pages of a page list to a printer wrapper as one job.
namespace PagePrinting {

// The page numbers a, a+1, ..., b when a < b, and a, a-1, ..., b otherwise (a reversed range
// prints backwards).
QList<int> RangeNumbers(int a, int b);

// Prints the listed pages (1-based) in list order as one job: the orientation of the first
// listed page, the list's pages per sheet and paper size; each page clipped to its margins when
// the margins clip. Numbers outside the list are skipped. Sends the list's print progress after
// every page. An aborted job stops at once and is ended by the wrapper, so it can print again.
// True when the job was started and ran to its end.
bool PrintPages(TGmPageList &list, TGmPrinter &printer, const QList<int> &numbers);

} // namespace PagePrinting
