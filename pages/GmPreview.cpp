#include "pages/GmPreview.h"

#include "pages/GmPaperImage.h"
#include "pages/PagePrinting.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

TGmPreview::TGmPreview(QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_pageList(new TGmPageList(this))
    , m_printer(new TGmPrinter(this))
    , m_paper(new TGmPaperImage(viewport()))
    , m_shadow([this] { m_paper->update(); })
    , m_grid([this] { m_paper->update(); })
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
    SetDeskColor(QColor(0xC0, 0xC0, 0xC0));
    horizontalScrollBar()->setSingleStep(LineIncrement);
    verticalScrollBar()->setSingleStep(LineIncrement);
    m_paper->SetMargins(&m_pageList->Margins());
    m_paper->SetShadow(&m_shadow);
    m_paper->SetPageGrid(&m_grid);
    m_paper->SetPrinter(m_printer);

    TGmPageList *list = m_pageList;
    connect(list, &TGmPageList::newPage, this, [this] {
        emit OnNewPage();
        if (TGmPage *page = m_pageList->CurrentPageObject()) {
            emit OnDrawHeader(m_pageList->HeaderPixelRect(page, 96, 96), &Canvas());
            emit OnDrawFooter(m_pageList->FooterPixelRect(page, 96, 96), &Canvas());
        }
    });
    connect(list, &TGmPageList::cleared, this, &TGmPreview::OnClear);
    connect(list, &TGmPageList::headerFooterChanged, this, [this] {
        m_paper->update();
        notifyCompanions(gmRepaint);
    });
    connect(list, &TGmPageList::marginsChanged, this, [this] {
        m_paper->update();
        notifyCompanions(gmRepaint);
    });
    connect(list, &TGmPageList::orientationChanged, this, [this] {
        notifyCompanions(gmOrientationChanged);
        m_paper->update();
        emit OnOrientationChanged();
    });
    connect(list, &TGmPageList::changed, this, [this] {
        showCurrentPage();
        notifyCompanions(gmPageContentChanged);
    });
    connect(list, &TGmPageList::pageCountChanged, this, [this] { notifyCompanions(gmPageCountChanged); });
    connect(list, &TGmPageList::pageChanged, this, [this] {
        showCurrentPage();
        emit OnPageChanged();
        notifyCompanions(gmCurrentPageChanged);
    });
    connect(list, &TGmPageList::paperSizeChanged, this, [this] {
        showCurrentPage();
        notifyCompanions(gmPaperSizeChanged);
    });
    connect(list, &TGmPageList::printProgress, this, &TGmPreview::OnPrintProgress);
    connect(m_printer, &TGmPrinter::AfterPrint, this, &TGmPreview::AfterPrint);
    connect(m_printer, &TGmPrinter::BeforePrint, this, &TGmPreview::BeforePrint);
    connect(m_printer, &TGmPrinter::OnAbortPrint, this, &TGmPreview::OnAbortPrint);
    connect(m_printer, &TGmPrinter::OnChangePrinter, this, [this] { notifyCompanions(gmPrinterChanged); });

    connect(m_paper, &TGmPaperImage::PageMouseDown, this, [this](Qt::MouseButton button, double x, double y) {
        setFocus(Qt::MouseFocusReason);
        emit OnMouseDown(button);
        emit OnPageMouseDown(button, x, y);
    });
    connect(m_paper, &TGmPaperImage::PageMouseMove, this, &TGmPreview::OnPageMouseMove);
    connect(m_paper, &TGmPaperImage::PageMouseUp, this, [this](Qt::MouseButton button, double x, double y) {
        StopPanning();
        emit OnMouseUp(button);
        emit OnPageMouseUp(button, x, y);
    });
    connect(m_paper, &TGmPaperImage::MouseEnter, this, &TGmPreview::OnMouseEnter);
    connect(m_paper, &TGmPaperImage::MouseLeave, this, &TGmPreview::OnMouseLeave);
    m_paper->installEventFilter(this);

    resize(240, 300);
    m_pageList->AddPage();
    showCurrentPage();
}

TGmPreview::~TGmPreview()
{
    StopPanning();
    const QList<TGmPreviewCompanion *> companions = m_companions;
    m_companions.clear();
    for (TGmPreviewCompanion *companion : companions)
        companion->PreviewDestroyed(this);
    // The paper image refers to the page list; let it go first.
    delete m_paper;
    m_paper = nullptr;
}

bool TGmPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_paper && event->type() == QEvent::MouseMove && m_panning)
        panTo(m_paper->mapTo(viewport(), static_cast<QMouseEvent *>(event)->position().toPoint()));
    return QAbstractScrollArea::eventFilter(watched, event);
}

const QList<int> &TGmPreview::ZoomSteps()
{
    static const QList<int> steps { 7, 10, 14, 20, 30, 45, 60, 80, 120, 170, 250, 350, 500, 650, 800 };
    return steps;
}

int TGmPreview::Zoom() const
{
    return m_paper->Zoom();
}

void TGmPreview::SetZoom(int zoom)
{
    zoom = std::min(zoom, m_maxZoom);
    zoom = std::max(zoom, m_minZoom);
    if (zoom == Zoom())
        return;
    QScrollBar *h = horizontalScrollBar();
    QScrollBar *v = verticalScrollBar();
    const double ph = h->maximum() > 0 ? double(h->value()) / h->maximum() * 100 : 0;
    const double pv = v->maximum() >= 1 ? double(v->value()) / v->maximum() * 100 : 0;
    m_paper->SetZoom(zoom);
    updateScrollRanges();
    h->setValue(GmRound(h->maximum() * (ph / 100)));
    v->setValue(GmRound(v->maximum() * (pv / 100)));
    layoutPaper();
}

void TGmPreview::ZoomIn()
{
    int zoom = Zoom();
    if (m_zoomStyle == gmFixedZoom) {
        zoom += m_zoomIncrement;
    } else {
        const auto next = std::find_if(ZoomSteps().begin(), ZoomSteps().end(), [&](int step) { return step > zoom; });
        if (next == ZoomSteps().end())
            return;
        zoom = *next;
    }
    SetZoom(zoom);
}

void TGmPreview::ZoomOut()
{
    int zoom = Zoom();
    if (m_zoomStyle == gmFixedZoom) {
        zoom -= m_zoomIncrement;
    } else {
        const auto previous
            = std::find_if(ZoomSteps().rbegin(), ZoomSteps().rend(), [&](int step) { return step < zoom; });
        if (previous == ZoomSteps().rend())
            return;
        zoom = *previous;
    }
    SetZoom(zoom);
}

double TGmPreview::fitFactor(bool width) const
{
    const QMargins g = m_paper->Gutter();
    const TGmPage *page = m_pageList->CurrentPageObject();
    if (!page)
        return 0;
    if (width)
        return (this->width() - g.left() - g.right() - 20) / (page->Width() * 96);
    return (this->height() - g.top() - g.bottom() - 20) / (page->Height() * 96);
}

void TGmPreview::FitWidth()
{
    SetZoom(int(std::trunc(fitFactor(true) * 100)));
}

void TGmPreview::FitHeight()
{
    SetZoom(int(std::trunc(fitFactor(false) * 100)));
}

void TGmPreview::FitWholePage()
{
    SetZoom(int(std::trunc(std::min(fitFactor(false), fitFactor(true)) * 100)));
}

int TGmPreview::Gutter() const
{
    return m_paper->Gutter().left();
}

void TGmPreview::SetGutter(int gutter)
{
    m_paper->SetGutter(QMargins(gutter, gutter, gutter, gutter));
    updateScrollRanges();
}

QColor TGmPreview::DeskColor() const
{
    return viewport()->palette().color(QPalette::Window);
}

void TGmPreview::SetDeskColor(const QColor &color)
{
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Window, color);
    viewport()->setPalette(palette);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Window);
}

void TGmPreview::SetOrientation(TGmOrientation orientation)
{
    m_paper->Lock();
    m_pageList->SetOrientation(orientation);
    m_paper->Unlock();
    updateScrollRanges();
}

void TGmPreview::SetPagesPerSheet(TGmPagesPerSheet pages)
{
    m_pageList->SetPagesPerSheet(pages);
    notifyCompanions(gmPagesPerSheetChanged);
}

void TGmPreview::FirstPage()
{
    m_pageList->SetCurrentPage(1);
}

void TGmPreview::PrevPage()
{
    m_pageList->SetCurrentPage(CurrentPage() - 1);
}

void TGmPreview::NextPage()
{
    m_pageList->SetCurrentPage(CurrentPage() + 1);
}

void TGmPreview::LastPage()
{
    m_pageList->SetCurrentPage(PageCount());
}

void TGmPreview::GotoPage(int page)
{
    m_pageList->SetCurrentPage(page);
}

TGmPage *TGmPreview::AddPage()
{
    return m_pageList->AddPage();
}

void TGmPreview::DeleteCurrentPage()
{
    m_pageList->DeletePage(CurrentPage() - 1);
}

void TGmPreview::Clear()
{
    m_pageList->Clear();
}

void TGmPreview::BeginUpdate()
{
    notifyCompanions(gmBeginUpdate);
    m_pageList->BeginUpdate();
    m_paper->Lock();
}

void TGmPreview::EndUpdate()
{
    if (!m_pageList->Updating())
        return;
    m_pageList->EndUpdate();
    m_paper->Unlock();
    notifyCompanions(gmEndUpdate);
}

double TGmPreview::ContentWidth(TGmMeasurement unit)
{
    return m_pageList->ContentRect().Width(unit);
}

double TGmPreview::ContentHeight(TGmMeasurement unit)
{
    return m_pageList->ContentRect().Height(unit);
}

void TGmPreview::PaperSizeNames(QStringList &names)
{
    names = ::PaperSizeNames();
}

bool TGmPreview::PrintPages(const QList<int> &numbers)
{
    return PagePrinting::PrintPages(*m_pageList, *m_printer, numbers);
}

bool TGmPreview::PrintRange(int a, int b)
{
    return PrintPages(PagePrinting::RangeNumbers(a, b));
}

bool TGmPreview::PrintAll()
{
    BeginUpdate();
    bool printed = false;
    try {
        printed = PrintRange(1, PageCount());
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    return printed;
}

bool TGmPreview::PrintCurrentPage()
{
    return PrintRange(CurrentPage(), CurrentPage());
}

void TGmPreview::RegisterCompanion(TGmPreviewCompanion *companion)
{
    if (companion && !m_companions.contains(companion))
        m_companions << companion;
}

void TGmPreview::UnregisterCompanion(TGmPreviewCompanion *companion)
{
    m_companions.removeAll(companion);
}

void TGmPreview::notifyCompanions(TGmPreviewNotification notification)
{
    if (m_pageList->Updating())
        return;
    const QList<TGmPreviewCompanion *> companions = m_companions;
    for (TGmPreviewCompanion *companion : companions) {
        if (m_companions.contains(companion))
            companion->PreviewNotification(this, notification);
    }
}

void TGmPreview::showCurrentPage()
{
    if (!m_paper)
        return;
    m_paper->SetPage(m_pageList->CurrentPageObject());
    updateScrollRanges();
}

void TGmPreview::updateScrollRanges()
{
    const QSize page = m_paper->PagePixelSize();
    const QMargins g = m_paper->Gutter();
    const int rangeWidth = page.width() + g.left() + g.right();
    const int rangeHeight = page.height() + g.top() + g.bottom();
    // Showing or hiding one bar changes the room of the other; settle in a few rounds.
    for (int round = 0; round < 3; ++round) {
        const QSize client = viewport()->size();
        horizontalScrollBar()->setRange(0, std::max(0, rangeWidth - client.width()));
        horizontalScrollBar()->setPageStep(client.width());
        verticalScrollBar()->setRange(0, std::max(0, rangeHeight - client.height()));
        verticalScrollBar()->setPageStep(client.height());
        if (viewport()->size() == client)
            break;
    }
    layoutPaper();
}

void TGmPreview::layoutPaper()
{
    if (!m_paper)
        return;
    const QSize page = m_paper->PagePixelSize();
    const QMargins g = m_paper->Gutter();
    const QSize client = viewport()->size();
    m_paper->setGeometry(-horizontalScrollBar()->value(), -verticalScrollBar()->value(),
        std::max(client.width(), page.width() + g.left() + g.right()),
        std::max(client.height(), page.height() + g.top() + g.bottom()));
}

void TGmPreview::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRanges();
}

void TGmPreview::scrollContentsBy(int, int)
{
    layoutPaper();
}

void TGmPreview::keyPressEvent(QKeyEvent *event)
{
    QScrollBar *h = horizontalScrollBar();
    QScrollBar *v = verticalScrollBar();
    const bool hVisible = h->maximum() > 0;
    const bool vVisible = v->maximum() > 0;
    if (!hVisible && !vVisible) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    QScrollBar *paging = vVisible ? v : h;
    switch (event->key()) {
    case Qt::Key_PageUp:
        paging->setValue(paging->value() - 10 * paging->singleStep());
        break;
    case Qt::Key_PageDown:
        paging->setValue(paging->value() + 10 * paging->singleStep());
        break;
    case Qt::Key_Home:
        h->setValue(h->minimum());
        v->setValue(v->minimum());
        break;
    case Qt::Key_End:
        h->setValue(h->maximum());
        v->setValue(v->maximum());
        break;
    case Qt::Key_Left:
        h->setValue(h->value() - h->singleStep());
        break;
    case Qt::Key_Right:
        h->setValue(h->value() + h->singleStep());
        break;
    case Qt::Key_Up:
        v->setValue(v->value() - v->singleStep());
        break;
    case Qt::Key_Down:
        v->setValue(v->value() + v->singleStep());
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TGmPreview::wheelEvent(QWheelEvent *event)
{
    QScrollBar *bar = verticalScrollBar()->maximum() > 0 ? verticalScrollBar() : horizontalScrollBar();
    const int delta = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    if (delta < 0)
        bar->setValue(bar->value() + bar->singleStep());
    else if (delta > 0)
        bar->setValue(bar->value() - bar->singleStep());
    event->accept();
}

void TGmPreview::leaveEvent(QEvent *event)
{
    StopPanning();
    QAbstractScrollArea::leaveEvent(event);
}

void TGmPreview::StartPanning()
{
    StartPanning(viewport()->mapFromGlobal(QCursor::pos()));
}

void TGmPreview::StartPanning(const QPoint &viewportPosition)
{
    if (m_panning)
        return;
    m_panning = true;
    m_panStart = viewportPosition;
    m_panScrollStart = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    QGuiApplication::setOverrideCursor(Qt::OpenHandCursor);
}

void TGmPreview::StopPanning()
{
    if (!m_panning)
        return;
    m_panning = false;
    QGuiApplication::restoreOverrideCursor();
}

void TGmPreview::panTo(const QPoint &viewportPosition)
{
    const QPoint moved = m_panStart - viewportPosition;
    horizontalScrollBar()->setValue(m_panScrollStart.x() + moved.x());
    verticalScrollBar()->setValue(m_panScrollStart.y() + moved.y());
}
