#pragma once

#include "pages/GmPageGrid.h"
#include "pages/GmPageList.h"
#include "pages/GmPreviewCompanion.h"
#include "pages/GmPrinter.h"
#include "pages/GmShadow.h"

#include <QAbstractScrollArea>
#include <QList>
#include <QPoint>

class TGmPaperImage;

enum TGmZoomStyle { gmFixedZoom, gmVariableZoom };

// Shows one page of its page list as paper on a desk, zoomed and scrollable, and is the facade
// through which windows drive the page list. It creates the list with its first page, so there
// is always a page to show. Companion controls register to hear of its changes.
class TGmPreview : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit TGmPreview(QWidget *parent = nullptr);
    ~TGmPreview() override;

    TGmPageList &PageList() { return *m_pageList; }
    TGmPaperImage *PaperImage() const { return m_paper; }

    // Percent, clamped into MinZoom..MaxZoom; the scroll positions keep their percentage.
    int Zoom() const;
    void SetZoom(int zoom);
    int MinZoom() const { return m_minZoom; }
    void SetMinZoom(int zoom) { m_minZoom = zoom; }
    int MaxZoom() const { return m_maxZoom; }
    void SetMaxZoom(int zoom) { m_maxZoom = zoom; }
    int ZoomIncrement() const { return m_zoomIncrement; }
    void SetZoomIncrement(int increment) { m_zoomIncrement = increment; }
    TGmZoomStyle ZoomStyle() const { return m_zoomStyle; }
    void SetZoomStyle(TGmZoomStyle style) { m_zoomStyle = style; }
    static const QList<int> &ZoomSteps();
    void ZoomIn();
    void ZoomOut();
    void FitWidth();
    void FitHeight();
    void FitWholePage();

    int Gutter() const;
    void SetGutter(int gutter);
    TGmShadow &Shadow() { return m_shadow; }
    TGmPageGrid &PageGrid() { return m_grid; }
    QColor DeskColor() const;
    void SetDeskColor(const QColor &color);

    TGmCanvas &Canvas() { return m_pageList->Canvas(); }
    TGmHeader &Header() { return m_pageList->Header(); }
    TGmFooter &Footer() { return m_pageList->Footer(); }
    TGmMargins &Margins() { return m_pageList->Margins(); }
    TGmPrinter &GmPrinter() { return *m_printer; }
    TGmOrientation Orientation() const { return m_pageList->Orientation(); }
    void SetOrientation(TGmOrientation orientation);
    TGmPaperSize PaperSize() const { return m_pageList->PaperSize(); }
    void SetPaperSize(TGmPaperSize size) { m_pageList->SetPaperSize(size); }
    TGmPagesPerSheet PagesPerSheet() const { return m_pageList->PagesPerSheet(); }
    void SetPagesPerSheet(TGmPagesPerSheet pages);

    void FirstPage();
    void PrevPage();
    void NextPage();
    void LastPage();
    void GotoPage(int page);
    TGmPage *AddPage();
    void DeleteCurrentPage();
    void Clear();
    void BeginUpdate();
    void EndUpdate();
    int PageCount() const { return m_pageList->PageCount(); }
    int CurrentPage() const { return m_pageList->CurrentPage(); }
    double ContentWidth(TGmMeasurement unit);
    double ContentHeight(TGmMeasurement unit);
    static void PaperSizeNames(QStringList &names);

    // Printing of the page list through the preview's printer wrapper (page numbers 1-based).
    // True when the job was started and ran to its end.
    bool PrintPages(const QList<int> &numbers);
    // a..b, backwards when a > b.
    bool PrintRange(int a, int b);
    bool PrintAll();
    bool PrintCurrentPage();

    void RegisterCompanion(TGmPreviewCompanion *companion);
    void UnregisterCompanion(TGmPreviewCompanion *companion);

    // Starts panning at the cursor (or at a position in the viewport): mouse moves over the page
    // then drag the view.
    void StartPanning();
    void StartPanning(const QPoint &viewportPosition);
    void StopPanning();
    bool Panning() const { return m_panning; }

    // Line increment of both scroll bars, pixels.
    static constexpr int LineIncrement = 8;

signals:
    void OnNewPage();
    void OnPageChanged();
    void OnOrientationChanged();
    void OnClear();
    void OnDrawHeader(const QRect &pixels, TGmCanvas *canvas);
    void OnDrawFooter(const QRect &pixels, TGmCanvas *canvas);
    void OnPrintProgress(int done, int total);
    void AfterPrint();
    void BeforePrint();
    void OnAbortPrint();
    void OnMouseDown(Qt::MouseButton button);
    void OnMouseUp(Qt::MouseButton button);
    void OnPageMouseDown(Qt::MouseButton button, double xInches, double yInches);
    void OnPageMouseMove(double xInches, double yInches);
    void OnPageMouseUp(Qt::MouseButton button, double xInches, double yInches);
    void OnMouseEnter();
    void OnMouseLeave();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void notifyCompanions(TGmPreviewNotification notification);
    void showCurrentPage();
    void updateScrollRanges();
    void layoutPaper();
    void panTo(const QPoint &viewportPosition);
    double fitFactor(bool width) const;

    TGmPageList *m_pageList;
    TGmPrinter *m_printer;
    TGmPaperImage *m_paper;
    TGmShadow m_shadow;
    TGmPageGrid m_grid;
    QList<TGmPreviewCompanion *> m_companions;
    int m_minZoom = 5;
    int m_maxZoom = 400;
    int m_zoomIncrement = 10;
    TGmZoomStyle m_zoomStyle = gmVariableZoom;
    bool m_panning = false;
    QPoint m_panStart;
    QPoint m_panScrollStart;
};
