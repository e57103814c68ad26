#pragma once

#include "pages/GmValueSize.h"

#include <QRectF>

#include <array>

// A rectangle of lengths: top-left and bottom-right points. Members are also addressed by index
// 1 = Left, 2 = Top, 3 = Right, 4 = Bottom.
class TGmValueRect
{
public:
    explicit TGmValueRect(TGmValue::ChangeCallback onChange = {});
    TGmValueRect(const TGmValueRect &) = delete;
    TGmValueRect &operator=(const TGmValueRect &) = delete;

    TGmValuePoint &TopLeft() { return m_topLeft; }
    TGmValuePoint &BottomRight() { return m_bottomRight; }
    TGmValue &Left() { return m_topLeft.X(); }
    TGmValue &Top() { return m_topLeft.Y(); }
    TGmValue &Right() { return m_bottomRight.X(); }
    TGmValue &Bottom() { return m_bottomRight.Y(); }
    const TGmValue &Left() const { return m_topLeft.X(); }
    const TGmValue &Top() const { return m_topLeft.Y(); }
    const TGmValue &Right() const { return m_bottomRight.X(); }
    const TGmValue &Bottom() const { return m_bottomRight.Y(); }

    // 1 = Left, 2 = Top, 3 = Right, 4 = Bottom; any other index gives Left.
    TGmValue &Value(int index);
    // Left, Top, Right, Bottom in inches.
    std::array<double, 4> AsInchArray() const;
    void SetInches(double left, double top, double right, double bottom);

    double Width(TGmMeasurement unit = gmInches) const;
    double Height(TGmMeasurement unit = gmInches) const;
    QRectF AsInchRect() const;

private:
    TGmValuePoint m_topLeft;
    TGmValuePoint m_bottomRight;
};
