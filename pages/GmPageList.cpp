#include "pages/GmPageList.h"

#include <QPainter>

#include <algorithm>

TGmPageList::TGmPageList(QObject *parent)
    : QObject(parent)
    , m_canvas(this, &m_resources)
    , m_header([this] {
        if (!Updating())
            emit headerFooterChanged();
    })
    , m_footer([this] {
        if (!Updating())
            emit headerFooterChanged();
    })
    , m_margins([this] {
        if (!Updating())
            emit marginsChanged();
    })
    , m_clock([] { return QDateTime::currentDateTime(); })
    , m_dateSeparator(TGmHeaderFooterCaption::LocaleDateSeparator())
{
    const QSizeF a4 = PaperSizeInches(A4);
    m_paperWidth = a4.width();
    m_paperHeight = a4.height();
}

TGmPageList::~TGmPageList() = default;

void TGmPageList::sendChanged()
{
    if (!Updating())
        emit changed();
}

void TGmPageList::sendPageCountChanged()
{
    if (!Updating())
        emit pageCountChanged();
}

void TGmPageList::applyPaperSizeToList()
{
    if (m_paperSize == Custom)
        return;
    QSizeF size = PaperSizeInches(m_paperSize);
    if (m_orientation == gmLandscape)
        size.transpose();
    m_paperWidth = size.width();
    m_paperHeight = size.height();
}

TGmPage *TGmPageList::AddPage(int insertBefore)
{
    auto owned = std::make_unique<TGmPage>(this);
    TGmPage *page = owned.get();
    page->SetOrientation(m_orientation);
    applyPaperSizeToList();
    page->SetSize(m_paperWidth, m_paperHeight);
    page->setOnContentChanged([this] { sendChanged(); });
    page->setOnSizeChanged([this] { sendChanged(); });
    if (insertBefore >= 0 && insertBefore < PageCount())
        m_pages.insert(m_pages.begin() + insertBefore, std::move(owned));
    else
        m_pages.push_back(std::move(owned));
    sendPageCountChanged();
    sendChanged();
    SetCurrentPage(PageCount());
    emit newPage();
    return page;
}

void TGmPageList::DeletePage(int index)
{
    if (index < 0 || index >= PageCount())
        return;
    m_pages.erase(m_pages.begin() + index);
    // The current page number never points past the list; when the list ran empty it gets one
    // fresh page.
    m_currentPage = std::min(m_currentPage, PageCount());
    if (m_currentPage == 0) {
        m_currentPage = 1;
        AddPage();
    }
    sendPageCountChanged();
    sendChanged();
}

void TGmPageList::Clear()
{
    m_pages.clear();
    m_resources.Clear();
    m_currentPage = 1;
    AddPage();
    emit cleared();
}

void TGmPageList::BeginUpdate()
{
    ++m_updateCount;
}

void TGmPageList::EndUpdate()
{
    if (m_updateCount == 0)
        return;
    if (--m_updateCount == 0) {
        emit pageCountChanged();
        emit changed();
    }
}

void TGmPageList::SetCurrentPage(int page)
{
    if (page == m_currentPage || page < 1 || page > PageCount())
        return;
    emit beforePageChange();
    m_currentPage = page;
    emit pageChanged();
}

TGmPage *TGmPageList::Pages(int page) const
{
    return page >= 1 && page <= PageCount() ? m_pages[size_t(page - 1)].get() : nullptr;
}

int TGmPageList::IndexOf(const TGmPage *page) const
{
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i].get() == page)
            return int(i);
    }
    return -1;
}

void TGmPageList::SetOrientation(TGmOrientation orientation)
{
    BeginUpdate();
    for (const auto &page : m_pages)
        page->SetOrientation(orientation);
    m_orientation = orientation;
    if (!m_pages.empty()) {
        m_paperWidth = m_pages.front()->Width();
        m_paperHeight = m_pages.front()->Height();
    }
    EndUpdate();
    emit orientationChanged();
}

void TGmPageList::SetPaperSize(TGmPaperSize size)
{
    if (size == m_paperSize)
        return;
    BeginUpdate();
    m_paperSize = size;
    applyPaperSizeToList();
    for (const auto &page : m_pages)
        page->SetSize(m_paperWidth, m_paperHeight);
    EndUpdate();
    emit paperSizeChanged();
}

const TGmValueRect &TGmPageList::ContentRect()
{
    const TGmPage *page = CurrentPageObject();
    const double w = page ? page->Width() : m_paperWidth;
    const double h = page ? page->Height() : m_paperHeight;
    m_regionRect.SetInches(m_margins.Left().AsInches(), m_margins.Top().AsInches() + m_header.HeightInches(),
        w - m_margins.Right().AsInches(), h - m_margins.Bottom().AsInches() - m_footer.HeightInches());
    return m_regionRect;
}

const TGmValueRect &TGmPageList::HeaderRect()
{
    const TGmPage *page = CurrentPageObject();
    const double w = page ? page->Width() : m_paperWidth;
    const double top = m_margins.Top().AsInches();
    m_regionRect.SetInches(
        m_margins.Left().AsInches(), top, w - m_margins.Right().AsInches(), top + m_header.HeightInches());
    return m_regionRect;
}

const TGmValueRect &TGmPageList::FooterRect()
{
    const TGmPage *page = CurrentPageObject();
    const double w = page ? page->Width() : m_paperWidth;
    const double h = page ? page->Height() : m_paperHeight;
    const double bottom = h - m_margins.Bottom().AsInches();
    m_regionRect.SetInches(
        m_margins.Left().AsInches(), bottom - m_footer.HeightInches(), w - m_margins.Right().AsInches(), bottom);
    return m_regionRect;
}

namespace {
QRect rectFromEdges(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}
} // namespace

QRect TGmPageList::HeaderPixelRect(const TGmPage *page, int ppiX, int ppiY) const
{
    const double mL = m_margins.Left().AsInches();
    const double mT = m_margins.Top().AsInches();
    const double mR = m_margins.Right().AsInches();
    return rectFromEdges(GmRound(ppiX * mL), GmRound(ppiY * mT), GmRound(ppiX * (page->Width() - mR)),
        GmRound(ppiY * (mT + m_header.HeightInches())));
}

QRect TGmPageList::FooterPixelRect(const TGmPage *page, int ppiX, int ppiY) const
{
    const double mL = m_margins.Left().AsInches();
    const double mR = m_margins.Right().AsInches();
    const double mB = m_margins.Bottom().AsInches();
    const double h = page->Height();
    return rectFromEdges(GmRound(ppiX * mL), GmRound(ppiY * (h - mB - m_footer.HeightInches())),
        GmRound(ppiX * (page->Width() - mR)), GmRound(ppiY * (h - mB)));
}

void TGmPageList::AddObject(TGmBaseObject *object)
{
    TGmPage *page = CurrentPageObject();
    if (!object)
        return;
    if (!page) {
        delete object;
        return;
    }
    switch (m_canvas.CoordsRelativeTo()) {
    case gmFromUserMargins:
        object->OffsetBy(gmInches, m_margins.Left().AsInches(), m_margins.Top().AsInches());
        break;
    case gmFromHeaderLine:
        object->OffsetBy(gmInches, m_margins.Left().AsInches(), m_margins.Top().AsInches() + m_header.HeightInches());
        break;
    default:
        break;
    }
    page->Objects().Add(object);
}

void TGmPageList::DrawPage(TGmPage *page, QPainter *canvas, int ppiX, int ppiY)
{
    if (!page || !canvas)
        return;
    const bool printer = IsPrinterCanvas(canvas);
    const TGmObjectList &objects = page->Objects();
    for (int i = 0; i < objects.Count(); ++i) {
        TGmBaseObject *object = objects.At(i);
        if (printer && !object->Printable())
            continue;
        canvas->save();
        object->Draw(canvas, ppiX, ppiY);
        canvas->restore();
    }
    const int number = IndexOf(page) + 1;
    const QDateTime now = m_clock ? m_clock() : QDateTime::currentDateTime();
    if (m_header.Visible() && page->ShowHeader())
        m_header.Draw(canvas, HeaderPixelRect(page, ppiX, ppiY), ppiX, number, PageCount(), now, m_dateSeparator);
    if (m_footer.Visible() && page->ShowFooter())
        m_footer.Draw(canvas, FooterPixelRect(page, ppiX, ppiY), ppiX, number, PageCount(), now, m_dateSeparator);
}
