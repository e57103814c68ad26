#pragma once

#include "pages/GmPreviewCompanion.h"
#include "pages/GmShadow.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QPointer>

#include <vector>

#include <QMenu>
class TGmPreview;
class TGmThumbnail;

enum TGmThumbNailLayout { gmThumbHorz, gmThumbVert, gmThumbGrid };
enum TGmHighlightStyle { gmThinLine, gmThickLine, gmBackground };

// Shows every page of a preview small, marks the current one and switches pages on click.
// Neighbouring thumbnails overlap by one pixel.
class TGmThumbnails : public QAbstractScrollArea, public TGmPreviewCompanion
{
    Q_OBJECT

public:
    explicit TGmThumbnails(QWidget *parent = nullptr);
    ~TGmThumbnails() override;

    TGmPreview *Preview() const { return m_preview; }
    // Registers with the preview and rebuilds; null unregisters.
    void SetPreview(TGmPreview *preview);

    TGmThumbNailLayout Layout() const { return m_layout; }
    void SetLayout(TGmThumbNailLayout layout);
    int GridWidth() const { return m_gridWidth; }
    void SetGridWidth(int width);
    // Thumbnail zoom is ThumbSize + 2 percent.
    int ThumbSize() const { return m_thumbSize; }
    void SetThumbSize(int size);
    int ThumbSpacing() const { return m_thumbSpacing; }
    void SetThumbSpacing(int spacing);
    bool ShowCaption() const { return m_showCaption; }
    void SetShowCaption(bool show);
    // Every "#" is replaced by the page number.
    QString PageCaptions() const { return m_pageCaptions; }
    void SetPageCaptions(const QString &pattern);
    QFont CaptionFont() const { return m_captionFont; }
    void SetCaptionFont(const QFont &font);
    bool Highlight() const { return m_highlight; }
    void SetHighlight(bool highlight);
    TGmHighlightStyle HighlightStyle() const { return m_highlightStyle; }
    void SetHighlightStyle(TGmHighlightStyle style);
    QColor SelectedColor() const { return m_selectedColor; }
    void SetSelectedColor(const QColor &color);
    TGmShadow &Shadow() { return m_shadow; }
    bool PlainPages() const { return m_plainPages; }
    void SetPlainPages(bool plain);
    bool ScrollIntoView() const { return m_scrollIntoView; }
    void SetScrollIntoView(bool scroll) { m_scrollIntoView = scroll; }
    QMenu *ThumbPopup() const { return m_popup; }
    void SetThumbPopup(QMenu *menu) { m_popup = menu; }

    int ThumbnailCount() const { return int(m_thumbnails.size()); }
    TGmThumbnail *Thumbnail(int index) const;
    // -1 for none.
    int SelectedIndex() const { return m_selected; }
    bool Updating() const { return m_updateCount > 0; }
    // The caption under a page.
    QString CaptionFor(int pageNumber) const;

    void Rebuild();
    void SelectIndex(int index);

    void PreviewNotification(TGmPreview *preview, TGmPreviewNotification notification) override;
    void PreviewDestroyed(TGmPreview *preview) override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    friend class TGmThumbnail;
    void thumbnailClicked(TGmThumbnail *thumbnail);
    void dropThumbnails();
    void placeThumbnails();
    void updateScrollRanges();
    void repaintThumbnails();
    // Whether the thumbnails show exactly the preview's pages, in order.
    bool showsPagesOfPreview() const;

    TGmPreview *m_preview = nullptr;
    std::vector<TGmThumbnail *> m_thumbnails;
    TGmShadow m_shadow;
    TGmThumbNailLayout m_layout = gmThumbHorz;
    int m_gridWidth = 4;
    int m_thumbSize = 4;
    int m_thumbSpacing = 8;
    bool m_showCaption = true;
    QString m_pageCaptions = QStringLiteral("#");
    QFont m_captionFont;
    bool m_highlight = true;
    TGmHighlightStyle m_highlightStyle = gmThickLine;
    QColor m_selectedColor = QColor(0, 0, 0xFF);
    bool m_plainPages = false;
    bool m_scrollIntoView = true;
    QPointer<QMenu> m_popup;
    int m_selected = -1;
    int m_updateCount = 0;
    QSize m_extent;
};
