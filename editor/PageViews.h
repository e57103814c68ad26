#pragma once

#include "editor/ExportPageStrip.h"
#include "pages/GmTypes.h"

#include <QList>
#include <QObject>
#include <QPointer>

class PageViewHost;
class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class QToolButton;
class QWidget;
class RichTextPagination;
class TGmPreview;
class TGmThumbnails;
class TRxRichEdit;

// The pages of a document window's text beside the text: the print view (a hidden preview and its
// thumbnail strip, as the pages will print) and the PDF and image views (the pages as the exports
// lay them out), the paper-size and orientation commands that work on the print view, and the
// refresh after changes of the text. The window embeds the widgets it hands out and forwards its
// RefreshPageViews; the handlers here are what the window's commands run.
//
// The print view follows typing in the background: a key-up or a refresh asks for a pagination
// that runs in short slices and changes the strip once, when it is complete.
class PageViews : public QObject
{
    Q_OBJECT

public:
    // parent: the widget that owns the view's widgets until the window places them.
    PageViews(PageViewHost &host, QWidget *parent);
    ~PageViews() override;

    // --- Widgets the window places -----------------------------------------------------------
    TGmPreview *GmPreview1() const { return m_preview; }
    TGmThumbnails *GmThumbnails1() const { return m_thumbnails; }
    QScrollArea *ScrollBox1() const { return m_scrollBox; }
    ExportPageStrip *Image3() const { return m_strip; }
    QLabel *lblViewMode() const { return m_viewLabel; }
    QToolButton *Image4() const { return m_paperButton; }
    QMenu *paperPopup() const { return m_paperPopup; }
    // The paper pop-up's items: "A4", "Letter", "Legal", "Envelope_09", "Envelope_10",
    // "Envelope_DL", "Envelope_DL_Maxi", "Portrait", "Landscape".
    QList<QAction *> paperActions() const { return m_paperActions; }

    // --- State ---------------------------------------------------------------------------------
    bool printView() const { return m_printView; }
    bool pdfView() const { return m_pdfView; }
    bool imageView() const { return m_imageView; }
    bool mouseRepositioningDisabled() const { return m_mouseRepositioningDisabled; }
    bool followThumbnail() const { return m_followThumbnail; }
    // Whether the page change of a thumbnail click scrolls the text (the window switches it on
    // while the mouse is over the strip's side and off over the text).
    void setFollowThumbnail(bool follow) { m_followThumbnail = follow; }
    TGmPaperSize paperSize() const { return m_paperSize; }
    TGmOrientation orientation() const { return m_orientation; }
    // The first position of every page of the print view.
    const QList<int> &pageStarts() const;
    RichTextPagination &pagination() { return *m_pagination; }

    // The view settings a new window starts with ("DeskTopDock.ini", section "ThumbNails").
    void applySettings(bool printView, bool pdfView, bool imageView, bool mouseRepositioningDisabled);

    // --- Handlers ------------------------------------------------------------------------------
    void PrintViewClick();
    void PdfViewClick();
    void ImageViewClick();
    void MouseRepositioningClick();
    void PaperSizeClick(TGmPaperSize size);
    void PortraitClick() { orientationClick(gmPortrait); }
    void LandscapeClick() { orientationClick(gmLandscape); }
    // The paper icon: the pop-up at the mouse.
    void Image4Click();
    // After a change of the text: the print view is paginated again in the background, the
    // export view rebuilt.
    void RefreshPageViews();
    // Makes the print view's pages current now (before printing them).
    void UpdatePrintPages();
    // A key went up in the text.
    void EditorKeyUp(int key);

    // The geometry of the export views and the selection a page click makes, for tests.
    void scrollTextToPage(int firstChar);

private:
    void buildWidgets(QWidget *parent);
    void buildPaperPopup();
    void repaginatePrintView();
    void rebuildExportStrip();
    void exportViewClick(bool pdf);
    void orientationClick(TGmOrientation orientation);
    void previewPageChanged();
    void exportPageClicked(int pageNumber, int firstChar);
    void saveViewSettings();
    void updatePaperChecks();
    void notifyHost();
    bool eventFilter(QObject *watched, QEvent *event) override;

    PageViewHost &m_host;
    QPointer<TRxRichEdit> m_editor;
    TGmPreview *m_preview = nullptr;
    TGmThumbnails *m_thumbnails = nullptr;
    QScrollArea *m_scrollBox = nullptr;
    ExportPageStrip *m_strip = nullptr;
    QLabel *m_viewLabel = nullptr;
    QToolButton *m_paperButton = nullptr;
    QMenu *m_paperPopup = nullptr;
    QList<QAction *> m_paperActions;
    RichTextPagination *m_pagination = nullptr;
    TGmPaperSize m_paperSize = A4;
    TGmOrientation m_orientation = gmPortrait;
    bool m_printView = false;
    bool m_pdfView = false;
    bool m_imageView = false;
    bool m_mouseRepositioningDisabled = false;
    bool m_followThumbnail = true;
    bool m_paperChanging = false;
};
