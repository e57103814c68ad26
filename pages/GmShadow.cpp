#include "pages/GmShadow.h"

TGmShadow::TGmShadow(std::function<void()> onChange)
    : m_onChange(std::move(onChange))
{ }

void TGmShadow::SetColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    notify();
}

void TGmShadow::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    notify();
}

void TGmShadow::SetWidth(int width)
{
    if (width == m_width)
        return;
    m_width = width;
    notify();
}

void TGmShadow::notify()
{
    if (m_onChange)
        m_onChange();
}
