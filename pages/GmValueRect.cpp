#include "pages/GmValueRect.h"

TGmValueRect::TGmValueRect(TGmValue::ChangeCallback onChange)
    : m_topLeft(onChange)
    , m_bottomRight(onChange)
{ }

TGmValue &TGmValueRect::Value(int index)
{
    switch (index) {
    case 2:
        return Top();
    case 3:
        return Right();
    case 4:
        return Bottom();
    default:
        return Left();
    }
}

std::array<double, 4> TGmValueRect::AsInchArray() const
{
    return { Left().AsInches(), Top().AsInches(), Right().AsInches(), Bottom().AsInches() };
}

void TGmValueRect::SetInches(double left, double top, double right, double bottom)
{
    Left().SetAsInches(left);
    Top().SetAsInches(top);
    Right().SetAsInches(right);
    Bottom().SetAsInches(bottom);
}

double TGmValueRect::Width(TGmMeasurement unit) const
{
    return ConvertUnits(gmInches, unit, Right().AsInches() - Left().AsInches());
}

double TGmValueRect::Height(TGmMeasurement unit) const
{
    return ConvertUnits(gmInches, unit, Bottom().AsInches() - Top().AsInches());
}

QRectF TGmValueRect::AsInchRect() const
{
    return QRectF(QPointF(Left().AsInches(), Top().AsInches()), QPointF(Right().AsInches(), Bottom().AsInches()));
}
