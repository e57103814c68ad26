#pragma once

#include "pages/GmObjectList.h"
#include "pages/GmTypes.h"

#include <functional>

class TGmPageList;

// The character range a page shows of a rich text; kept on every page, left empty here.
struct TGmPageRtfInfo
{
    int firstChar = -1;
    int lastChar = -1;
};

// One page: its own size (inches) and orientation, its drawing objects and two show flags.
// A page's number is its position in the page list plus one.
class TGmPage
{
public:
    explicit TGmPage(TGmPageList *pageList = nullptr);
    TGmPage(const TGmPage &) = delete;
    TGmPage &operator=(const TGmPage &) = delete;

    TGmObjectList &Objects() { return m_objects; }
    const TGmObjectList &Objects() const { return m_objects; }
    TGmPageList *PageList() const { return m_pageList; }
    TGmPageRtfInfo &RtfInfo() { return m_rtfInfo; }

    TGmOrientation Orientation() const { return m_orientation; }
    // Stores the orientation and puts the longer side across (landscape) or down (portrait).
    void SetOrientation(TGmOrientation orientation);
    double Width() const { return m_width; }
    double Height() const { return m_height; }
    // Always sends the size-changed notification.
    void SetSize(double width, double height);

    bool ShowHeader() const { return m_showHeader; }
    void SetShowHeader(bool show) { m_showHeader = show; }
    bool ShowFooter() const { return m_showFooter; }
    void SetShowFooter(bool show) { m_showFooter = show; }

    void setOnContentChanged(std::function<void()> callback) { m_onContentChanged = std::move(callback); }
    void setOnSizeChanged(std::function<void()> callback) { m_onSizeChanged = std::move(callback); }

private:
    void contentChanged();

    TGmObjectList m_objects;
    TGmPageList *m_pageList;
    TGmPageRtfInfo m_rtfInfo;
    TGmOrientation m_orientation = gmPortrait;
    double m_width = 8.26;
    double m_height = 11.69;
    bool m_showHeader = true;
    bool m_showFooter = true;
    std::function<void()> m_onContentChanged;
    std::function<void()> m_onSizeChanged;
};
