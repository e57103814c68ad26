#include "pages/GmThumbnails.h"

#include "pages/GmPreview.h"
#include "pages/GmThumbnail.h"

#include <QScrollBar>

#include <algorithm>

TGmThumbnails::TGmThumbnails(QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_shadow([this] { repaintThumbnails(); })
{
    m_shadow.SetWidth(2);
    horizontalScrollBar()->setSingleStep(8);
    verticalScrollBar()->setSingleStep(8);
    resize(240, 115);
}

TGmThumbnails::~TGmThumbnails()
{
    if (m_preview)
        m_preview->UnregisterCompanion(this);
    dropThumbnails();
}

void TGmThumbnails::SetPreview(TGmPreview *preview)
{
    if (preview == m_preview)
        return;
    if (m_preview)
        m_preview->UnregisterCompanion(this);
    m_preview = preview;
    if (m_preview)
        m_preview->RegisterCompanion(this);
    Rebuild();
}

void TGmThumbnails::PreviewDestroyed(TGmPreview *preview)
{
    if (preview != m_preview)
        return;
    m_preview = nullptr;
    dropThumbnails();
    m_selected = -1;
    updateScrollRanges();
}

void TGmThumbnails::SetLayout(TGmThumbNailLayout layout)
{
    if (layout == m_layout)
        return;
    m_layout = layout;
    placeThumbnails();
}

void TGmThumbnails::SetGridWidth(int width)
{
    width = std::max(1, width);
    if (width == m_gridWidth)
        return;
    m_gridWidth = width;
    placeThumbnails();
}

void TGmThumbnails::SetThumbSize(int size)
{
    if (size == m_thumbSize)
        return;
    m_thumbSize = size;
    Rebuild();
}

void TGmThumbnails::SetThumbSpacing(int spacing)
{
    if (spacing == m_thumbSpacing)
        return;
    m_thumbSpacing = spacing;
    Rebuild();
}

void TGmThumbnails::SetShowCaption(bool show)
{
    if (show == m_showCaption)
        return;
    m_showCaption = show;
    Rebuild();
}

void TGmThumbnails::SetPageCaptions(const QString &pattern)
{
    m_pageCaptions = pattern;
    repaintThumbnails();
}

void TGmThumbnails::SetCaptionFont(const QFont &font)
{
    m_captionFont = font;
    Rebuild();
}

void TGmThumbnails::SetHighlight(bool highlight)
{
    m_highlight = highlight;
    const int selected = m_selected;
    m_selected = -1;
    SelectIndex(selected);
}

void TGmThumbnails::SetHighlightStyle(TGmHighlightStyle style)
{
    m_highlightStyle = style;
    repaintThumbnails();
}

void TGmThumbnails::SetSelectedColor(const QColor &color)
{
    m_selectedColor = color;
    repaintThumbnails();
}

void TGmThumbnails::SetPlainPages(bool plain)
{
    m_plainPages = plain;
    for (TGmThumbnail *t : m_thumbnails)
        t->SetDrawContent(!plain);
}

TGmThumbnail *TGmThumbnails::Thumbnail(int index) const
{
    return index >= 0 && index < ThumbnailCount() ? m_thumbnails[size_t(index)] : nullptr;
}

QString TGmThumbnails::CaptionFor(int pageNumber) const
{
    QString caption = m_pageCaptions;
    caption.replace(QLatin1Char('#'), QString::number(pageNumber));
    return caption;
}

void TGmThumbnails::dropThumbnails()
{
    for (TGmThumbnail *t : m_thumbnails)
        delete t;
    m_thumbnails.clear();
}

void TGmThumbnails::Rebuild()
{
    const bool updates = viewport()->updatesEnabled();
    viewport()->setUpdatesEnabled(false);
    // Thumbnails are kept and pointed at their new pages, so rebuilding a long list after each
    // pagination costs little.
    const int pages = m_preview ? m_preview->PageList().PageCount() : 0;
    while (int(m_thumbnails.size()) > pages) {
        delete m_thumbnails.back();
        m_thumbnails.pop_back();
    }
    m_selected = -1;
    if (m_preview) {
        TGmPageList &list = m_preview->PageList();
        int captionHeight = 0;
        if (m_showCaption) {
            const int pixels = m_captionFont.pixelSize() > 0 ? m_captionFont.pixelSize()
                                                             : GmRound(m_captionFont.pointSizeF() * 96 / 72);
            captionHeight = 4 + pixels;
        }
        const QMargins gutter(m_thumbSpacing, m_thumbSpacing, m_thumbSpacing, m_thumbSpacing + captionHeight);
        m_thumbnails.reserve(size_t(list.PageCount()));
        for (int p = 1; p <= list.PageCount(); ++p) {
            TGmThumbnail *thumbnail = nullptr;
            if (size_t(p) <= m_thumbnails.size()) {
                thumbnail = m_thumbnails[size_t(p - 1)];
                thumbnail->SetSelected(false);
            } else {
                thumbnail = new TGmThumbnail(this, viewport());
                connect(thumbnail, &TGmThumbnail::Clicked, this, &TGmThumbnails::thumbnailClicked);
                m_thumbnails.push_back(thumbnail);
            }
            thumbnail->SetPage(list.Pages(p));
            thumbnail->SetShadow(&m_shadow);
            thumbnail->SetDrawContent(!m_plainPages);
            thumbnail->SetGutter(gutter);
            thumbnail->SetZoom(m_thumbSize + 2);
            const QSize page = thumbnail->PagePixelSize();
            thumbnail->resize(
                page.width() + gutter.left() + gutter.right(), page.height() + gutter.top() + gutter.bottom());
            thumbnail->show();
            thumbnail->update();
        }
    }
    placeThumbnails();
    viewport()->setUpdatesEnabled(updates);
    if (m_preview)
        SelectIndex(m_preview->CurrentPage() - 1);
}

void TGmThumbnails::placeThumbnails()
{
    const int current = m_preview ? m_preview->CurrentPage() - 1 : -1;
    QPoint at(0, 0);
    QRect extent;
    std::vector<QPoint> positions;
    positions.reserve(m_thumbnails.size());
    for (size_t i = 0; i < m_thumbnails.size(); ++i) {
        TGmThumbnail *t = m_thumbnails[i];
        t->SetSelected(int(i) == current && m_highlight);
        positions.push_back(at);
        extent |= QRect(at, t->size());
        switch (m_layout) {
        case gmThumbHorz:
            at.rx() += t->width() - 1;
            break;
        case gmThumbVert:
            at.ry() += t->height() - 1;
            break;
        case gmThumbGrid:
            if ((i + 1) % size_t(m_gridWidth) == 0) {
                at.rx() = 0;
                at.ry() += t->height() - 1;
            } else {
                at.rx() += t->width() - 1;
            }
            break;
        }
    }
    m_extent = extent.size();
    updateScrollRanges();
    const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    for (size_t i = 0; i < m_thumbnails.size(); ++i) {
        m_thumbnails[i]->setProperty("gmPlace", positions[i]);
        m_thumbnails[i]->move(positions[i] - scroll);
    }
}

void TGmThumbnails::updateScrollRanges()
{
    const QSize client = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, m_extent.width() - client.width()));
    horizontalScrollBar()->setPageStep(client.width());
    verticalScrollBar()->setRange(0, std::max(0, m_extent.height() - client.height()));
    verticalScrollBar()->setPageStep(client.height());
}

void TGmThumbnails::scrollContentsBy(int, int)
{
    const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    for (TGmThumbnail *t : m_thumbnails)
        t->move(t->property("gmPlace").toPoint() - scroll);
}

void TGmThumbnails::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRanges();
    scrollContentsBy(0, 0);
}

void TGmThumbnails::SelectIndex(int index)
{
    if (index == m_selected)
        return;
    if (TGmThumbnail *old = Thumbnail(m_selected))
        old->SetSelected(false);
    m_selected = Thumbnail(index) ? index : -1;
    TGmThumbnail *now = Thumbnail(m_selected);
    if (!now)
        return;
    if (m_highlight)
        now->SetSelected(true);
    if (m_scrollIntoView) {
        const QRect place(now->property("gmPlace").toPoint(), now->size());
        QScrollBar *h = horizontalScrollBar();
        QScrollBar *v = verticalScrollBar();
        const QSize client = viewport()->size();
        if (place.left() < h->value())
            h->setValue(place.left());
        else if (place.left() + place.width() > h->value() + client.width())
            h->setValue(place.left() + place.width() - client.width());
        if (place.top() < v->value())
            v->setValue(place.top());
        else if (place.top() + place.height() > v->value() + client.height())
            v->setValue(place.top() + place.height() - client.height());
    }
}

void TGmThumbnails::thumbnailClicked(TGmThumbnail *thumbnail)
{
    if (Updating() || !m_preview)
        return;
    const auto it = std::find(m_thumbnails.begin(), m_thumbnails.end(), thumbnail);
    if (it == m_thumbnails.end())
        return;
    const int index = int(it - m_thumbnails.begin());
    SelectIndex(index);
    m_preview->GotoPage(index + 1);
}

bool TGmThumbnails::showsPagesOfPreview() const
{
    if (!m_preview)
        return m_thumbnails.empty();
    TGmPageList &list = m_preview->PageList();
    if (int(m_thumbnails.size()) != list.PageCount())
        return false;
    for (int p = 1; p <= list.PageCount(); ++p) {
        const TGmThumbnail *thumbnail = m_thumbnails[size_t(p - 1)];
        const TGmPage *page = list.Pages(p);
        if (thumbnail->Page() != page || thumbnail->PageWidthInches() != page->Width()
            || thumbnail->PageHeightInches() != page->Height())
            return false;
    }
    return true;
}

void TGmThumbnails::repaintThumbnails()
{
    for (TGmThumbnail *t : m_thumbnails)
        t->update();
}

void TGmThumbnails::PreviewNotification(TGmPreview *preview, TGmPreviewNotification notification)
{
    if (preview != m_preview)
        return;
    switch (notification) {
    case gmRepaint:
        repaintThumbnails();
        break;
    case gmPageContentChanged:
        if (!Updating()) {
            SelectIndex(-1);
            SelectIndex(m_preview->CurrentPage() - 1);
            repaintThumbnails();
        }
        break;
    case gmCurrentPageChanged:
        SelectIndex(m_preview->CurrentPage() - 1);
        break;
    case gmBeginUpdate:
        ++m_updateCount;
        break;
    case gmEndUpdate:
        if (m_updateCount > 0 && --m_updateCount == 0) {
            if (showsPagesOfPreview()) {
                // The same pages with new content: only a repaint (a long list is rebuilt
                // after every pagination otherwise).
                SelectIndex(-1);
                SelectIndex(m_preview->CurrentPage() - 1);
            } else {
                Rebuild();
            }
            repaintThumbnails();
        }
        break;
    case gmPageCountChanged:
    case gmPaperSizeChanged:
        // A running update rebuilds once at its end.
        if (!Updating())
            Rebuild();
        break;
    default:
        break;
    }
}
