#include "pages/GmMarginValues.h"

#include "pages/GmValue.h"

TGmMarginValues::TGmMarginValues(TGmValue &left, TGmValue &top, TGmValue &right, TGmValue &bottom)
    : m_left(left)
    , m_top(top)
    , m_right(right)
    , m_bottom(bottom)
{ }

float TGmMarginValues::read(const TGmValue &value) const
{
    return float(value.AsUnit(m_measurement));
}

void TGmMarginValues::write(TGmValue &target, float value)
{
    target.SetAsUnit(m_measurement, double(value));
}

float TGmMarginValues::Left() const
{
    return read(m_left);
}
float TGmMarginValues::Top() const
{
    return read(m_top);
}
float TGmMarginValues::Right() const
{
    return read(m_right);
}
float TGmMarginValues::Bottom() const
{
    return read(m_bottom);
}
void TGmMarginValues::SetLeft(float value)
{
    write(m_left, value);
}
void TGmMarginValues::SetTop(float value)
{
    write(m_top, value);
}
void TGmMarginValues::SetRight(float value)
{
    write(m_right, value);
}
void TGmMarginValues::SetBottom(float value)
{
    write(m_bottom, value);
}
