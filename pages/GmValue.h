#pragma once

#include "pages/GmTypes.h"

#include <functional>

// One length, stored in inches. The owner's change callback runs only when a setter really
// changes the stored number (assign() always notifies).
class TGmValue
{
public:
    using ChangeCallback = std::function<void()>;

    explicit TGmValue(ChangeCallback onChange = {});
    TGmValue(const TGmValue &) = delete;
    TGmValue &operator=(const TGmValue &) = delete;

    void setOnChange(ChangeCallback onChange) { m_onChange = std::move(onChange); }

    double AsInches() const { return m_inches; }
    void SetAsInches(double inches);
    double AsUnit(TGmMeasurement unit) const;
    void SetAsUnit(TGmMeasurement unit, double value);
    double AsMillimeters() const;
    void SetAsMillimeters(double mm);
    // Round(inches x 1440), halves to even.
    int AsTwips() const;
    void SetAsTwips(int twips);
    // Round(ppi x inches), halves to even.
    int AsPixels(int ppi) const;

    // Copies the other value and notifies even when the number stays the same.
    void Assign(const TGmValue &other);

private:
    void notify();

    double m_inches = 0;
    ChangeCallback m_onChange;
};
