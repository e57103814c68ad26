#pragma once

#include "pages/GmCanvas.h"
#include "pages/GmHeaderFooter.h"
#include "pages/GmMargins.h"
#include "pages/GmPage.h"
#include "pages/GmResourceTable.h"
#include "pages/GmTypes.h"
#include "pages/GmValueRect.h"

#include <QDateTime>
#include <QObject>
#include <QRect>

#include <functional>
#include <memory>
#include <vector>

class QPainter;

// The document model of the page engine: an ordered, owning list of pages and what all pages
// share (paper size, orientation, pages per sheet, margins, header, footer, resources).
// Page numbers are 1-based unless a function says otherwise. A new list is empty; its owner adds
// the first page, and from then on the list never stays empty.
class TGmPageList : public QObject
{
    Q_OBJECT

public:
    explicit TGmPageList(QObject *parent = nullptr);
    ~TGmPageList() override;

    // Appends a page, or inserts it before the 0-based index insertBefore.
    TGmPage *AddPage(int insertBefore = -1);
    // 0-based; out-of-range indexes are ignored. Deleting the only page leaves one fresh page.
    void DeletePage(int index);
    // Removes all pages and shared resources, then adds one fresh page (current page 1).
    void Clear();

    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return m_updateCount > 0; }

    int CurrentPage() const { return m_currentPage; }
    // Ignores the same number and numbers outside 1..PageCount().
    void SetCurrentPage(int page);
    int PageCount() const { return int(m_pages.size()); }
    // 1 <= page <= PageCount(); nullptr otherwise.
    TGmPage *Pages(int page) const;
    TGmPage *CurrentPageObject() const { return Pages(m_currentPage); }
    int IndexOf(const TGmPage *page) const;

    TGmOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TGmOrientation orientation);
    TGmPaperSize PaperSize() const { return m_paperSize; }
    void SetPaperSize(TGmPaperSize size);
    TGmPagesPerSheet PagesPerSheet() const { return m_pagesPerSheet; }
    void SetPagesPerSheet(TGmPagesPerSheet pages) { m_pagesPerSheet = pages; }
    // The paper of the current paper size in the current orientation, inches.
    double PaperWidth() const { return m_paperWidth; }
    double PaperHeight() const { return m_paperHeight; }

    TGmCanvas &Canvas() { return m_canvas; }
    TGmHeader &Header() { return m_header; }
    TGmFooter &Footer() { return m_footer; }
    TGmMargins &Margins() { return m_margins; }
    const TGmMargins &Margins() const { return m_margins; }
    TGmResourceTable &Resources() { return m_resources; }

    // Regions of the current page in inches; the returned rectangle is overwritten by the next
    // query. Header and footer heights count whether or not they are visible.
    const TGmValueRect &ContentRect();
    const TGmValueRect &HeaderRect();
    const TGmValueRect &FooterRect();
    // The same regions in device pixels at ppiX x ppiY for a page.
    QRect HeaderPixelRect(const TGmPage *page, int ppiX, int ppiY) const;
    QRect FooterPixelRect(const TGmPage *page, int ppiX, int ppiY) const;

    // Places an object on the current page, offset as the canvas's CoordsRelativeTo says; takes
    // ownership.
    void AddObject(TGmBaseObject *object);

    // Draws a page (its objects, then header and footer) on a painter whose units are device
    // pixels at ppiX x ppiY per inch.
    void DrawPage(TGmPage *page, QPainter *canvas, int ppiX, int ppiY);

    // The clock and date separator used for {DATE} and {TIME}; tests fix them.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    void setDateSeparator(const QString &separator) { m_dateSeparator = separator; }

signals:
    void newPage();
    void cleared();
    void headerFooterChanged();
    void orientationChanged();
    void changed();
    void marginsChanged();
    void beforePageChange();
    void pageCountChanged();
    void pageChanged();
    void paperSizeChanged();
    void printProgress(int done, int total);

private:
    void sendChanged();
    void sendPageCountChanged();
    void applyPaperSizeToList();

    std::vector<std::unique_ptr<TGmPage>> m_pages;
    TGmResourceTable m_resources;
    TGmCanvas m_canvas;
    TGmHeader m_header;
    TGmFooter m_footer;
    TGmMargins m_margins;
    TGmValueRect m_regionRect;
    int m_currentPage = 1;
    TGmOrientation m_orientation = gmPortrait;
    TGmPagesPerSheet m_pagesPerSheet = gmOnePage;
    TGmPaperSize m_paperSize = A4;
    double m_paperWidth = 0;
    double m_paperHeight = 0;
    int m_updateCount = 0;
    std::function<QDateTime()> m_clock;
    QString m_dateSeparator;
};
