#pragma once

#include "pages/GmTypes.h"

class TGmValue;

// The four margins of a TGmMargins seen as single-precision numbers in ValueMeasurement
// (default gmInches). Reads and writes go straight to the margins' lengths.
class TGmMarginValues
{
public:
    TGmMarginValues(TGmValue &left, TGmValue &top, TGmValue &right, TGmValue &bottom);

    TGmMeasurement ValueMeasurement() const { return m_measurement; }
    void SetValueMeasurement(TGmMeasurement unit) { m_measurement = unit; }

    float Left() const;
    float Top() const;
    float Right() const;
    float Bottom() const;
    void SetLeft(float value);
    void SetTop(float value);
    void SetRight(float value);
    void SetBottom(float value);

private:
    float read(const TGmValue &value) const;
    void write(TGmValue &target, float value);

    TGmValue &m_left;
    TGmValue &m_top;
    TGmValue &m_right;
    TGmValue &m_bottom;
    TGmMeasurement m_measurement = gmInches;
};
