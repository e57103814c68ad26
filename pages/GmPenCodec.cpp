#include "pages/GmPenCodec.h"

#include <QStringList>

namespace GmPenCodec {

namespace {
constexpr int kCopyMode = 4;
}

int colorRef(const QColor &color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

QColor fromColorRef(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int styleOrdinal(Qt::PenStyle style)
{
    switch (style) {
    case Qt::DashLine:
        return 1;
    case Qt::DotLine:
        return 2;
    case Qt::DashDotLine:
        return 3;
    case Qt::DashDotDotLine:
        return 4;
    case Qt::NoPen:
        return 5;
    default:
        return 0;
    }
}

Qt::PenStyle styleFromOrdinal(int ordinal)
{
    switch (ordinal) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    case 5:
        return Qt::NoPen;
    default:
        return Qt::SolidLine; // solid and inside-frame
    }
}

QString encode(const QPen &pen)
{
    return QStringLiteral("%1,%2,%3,%4")
        .arg(colorRef(pen.color()))
        .arg(pen.width())
        .arg(styleOrdinal(pen.style()))
        .arg(kCopyMode);
}

bool decode(const QString &text, QPen *pen)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    int numbers[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        numbers[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok)
            return false;
    }
    if (numbers[0] < 0 || numbers[1] < 0)
        return false;
    QPen result(fromColorRef(numbers[0]));
    result.setWidth(numbers[1]);
    result.setStyle(styleFromOrdinal(numbers[2]));
    *pen = result;
    return true;
}

} // namespace GmPenCodec
