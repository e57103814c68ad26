#include "pages/GmPenCodec.h"

#include "platform/GdiPenStyle.h"

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

QString encode(const QPen &pen)
{
    return QStringLiteral("%1,%2,%3,%4")
        .arg(colorRef(pen.color()))
        .arg(pen.width())
        .arg(GdiPenStyle::fromQt(pen.style()))
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
    result.setStyle(GdiPenStyle::toQt(numbers[2]));
    *pen = result;
    return true;
}

} // namespace GmPenCodec
