#pragma once

#include "pages/PrintLayoutCopy.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <memory>
#include <vector>

class TRxRichEdit;

// The column of page thumbnails of the PDF and image views: the pages as the PDF and image
// exports lay the text out, one row of 180 pixels per page, each a framed picture with its page
// number. It paints only the rows in view and keeps the pictures of the rows it has shown until
// the next rebuild.
class ExportPageStrip : public QWidget
{
    Q_OBJECT

public:
    enum class Mode { Pdf, Image };

    // One page of the strip: its frame in strip pixels, number and first position.
    struct TPageInfo
    {
        QRect frame;
        int pageNumber = 0;
        int firstChar = 0;
    };

    explicit ExportPageStrip(TRxRichEdit &editor, QWidget *parent = nullptr);
    ~ExportPageStrip() override;

    Mode mode() const { return m_mode; }
    void setMode(Mode mode) { m_mode = mode; }
    // Lays the text out again for the current mode (or, with neither view on, useStoredRect: the
    // control's stored page rectangle) and sizes the strip.
    void rebuild(bool useStoredRect = false);
    const std::vector<TPageInfo> &pages() const { return m_pages; }
    int highlightedPage() const { return m_highlighted; }
    void setHighlightedPage(int page);
    // The page whose frame holds strip y (frame top <= y <= bottom); 0 for none.
    int pageAt(int y) const;
    // The layout rectangle of a mode in twips at a screen resolution.
    static QRect layoutRectTwips(Mode mode, int dpiX, int dpiY);

    static constexpr int StripWidth = 173;
    static constexpr int RowHeight = 180;
    static const QColor Background;
    static const QColor Highlight;

signals:
    // The left button went down on a page's frame.
    void pageClicked(int pageNumber, int firstChar);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QRect pictureRect(int row) const;
    const QImage &pageImage(int index);

    QPointer<TRxRichEdit> m_editor;
    QPointer<QTextDocument> m_document;
    std::unique_ptr<PrintLayoutCopy> m_copy;
    std::vector<TPageInfo> m_pages;
    std::vector<PrintLayoutCopy::Page> m_cut;
    QHash<int, QImage> m_images;
    QRect m_layout;
    Mode m_mode = Mode::Pdf;
    int m_highlighted = 1;
    int m_dpiX = 96;
    int m_dpiY = 96;
};
