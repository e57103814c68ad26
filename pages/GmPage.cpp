#include "pages/GmPage.h"

#include <algorithm>

TGmPage::TGmPage(TGmPageList *pageList)
    : m_objects([this] { contentChanged(); })
    , m_pageList(pageList)
{ }

void TGmPage::SetOrientation(TGmOrientation orientation)
{
    const double longer = std::max(m_width, m_height);
    const double shorter = std::min(m_width, m_height);
    m_orientation = orientation;
    if (orientation == gmLandscape)
        SetSize(longer, shorter);
    else
        SetSize(shorter, longer);
}

void TGmPage::SetSize(double width, double height)
{
    m_width = width;
    m_height = height;
    if (m_onSizeChanged)
        m_onSizeChanged();
}

void TGmPage::contentChanged()
{
    if (m_onContentChanged)
        m_onContentChanged();
}
