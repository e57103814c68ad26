#include "pages/GmPageGrid.h"

TGmPageGrid::TGmPageGrid(std::function<void()> onChange)
    : m_onChange(std::move(onChange))
{ }

void TGmPageGrid::SetGridStyle(TGmGridStyle style)
{
    if (style == m_style)
        return;
    m_style = style;
    if (m_onChange)
        m_onChange();
}

void TGmPageGrid::SetGridPen(const QPen &pen)
{
    if (pen == m_pen)
        return;
    m_pen = pen;
    if (m_onChange)
        m_onChange();
}
