#include "pages/GmValue.h"

TGmValue::TGmValue(ChangeCallback onChange)
    : m_onChange(std::move(onChange))
{ }

void TGmValue::SetAsInches(double inches)
{
    if (inches == m_inches)
        return;
    m_inches = inches;
    notify();
}

double TGmValue::AsUnit(TGmMeasurement unit) const
{
    return ConvertUnits(gmInches, unit, m_inches);
}

void TGmValue::SetAsUnit(TGmMeasurement unit, double value)
{
    SetAsInches(ConvertUnits(unit, gmInches, value));
}

double TGmValue::AsMillimeters() const
{
    return AsUnit(gmMillimeters);
}

void TGmValue::SetAsMillimeters(double mm)
{
    SetAsUnit(gmMillimeters, mm);
}

int TGmValue::AsTwips() const
{
    return GmRound(m_inches * 1440);
}

void TGmValue::SetAsTwips(int twips)
{
    SetAsUnit(gmTwips, twips);
}

int TGmValue::AsPixels(int ppi) const
{
    return GmRound(ppi * m_inches);
}

void TGmValue::Assign(const TGmValue &other)
{
    m_inches = other.m_inches;
    notify();
}

void TGmValue::notify()
{
    if (m_onChange)
        m_onChange();
}
