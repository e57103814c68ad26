#pragma once

#include "pages/RichTextPagination.h"

#include <QPoint>
#include <QString>

class TRxRichEdit;

// What the page views need of the document window that shows them. The window implements it;
// tests may implement it alone.
class PageViewHost
{
public:
    virtual ~PageViewHost() = default;

    virtual TRxRichEdit &pageViewEditor() = 0;
    // While "Full Width Outline Layout" is checked the view commands do nothing.
    virtual bool fullWidthOutlineLayout() const { return false; }
    // The page margins of the startup options.
    virtual PageMarginsMm optionMargins() const { return {}; }
    // Tells the window which view is on, so that it can tell the frame and place its side icons
    // (the print view in one panel, the export views in the other).
    virtual void pageViewsChanged(bool printView, bool pdfView, bool imageView) = 0;
    // Where the mouse pointer goes before a key-up refresh of the print view (screen coordinates).
    virtual QPoint thumbnailPointerPosition() const = 0;
    // Keeps the view settings ("DeskTopDock.ini", section "ThumbNails").
    virtual void saveViewSettings(bool printView, bool pdfView, bool imageView) = 0;
    virtual void saveMouseRepositioning(bool disabled) = 0;
};
