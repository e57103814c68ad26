#include "pages/GmValueSize.h"

TGmCustomValueSize::TGmCustomValueSize(TGmValue::ChangeCallback onChange)
    : m_first([this] { memberChanged(); })
    , m_second([this] { memberChanged(); })
    , m_onChange(std::move(onChange))
{ }

void TGmCustomValueSize::Assign(const TGmCustomValueSize &other)
{
    m_first.Assign(other.m_first);
    m_second.Assign(other.m_second);
}

void TGmCustomValueSize::memberChanged()
{
    if (m_onChange)
        m_onChange();
}
