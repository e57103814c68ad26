#include "app/GradientPainter.h"

#include <QPainter>

namespace GradientPainter {

namespace {

int interpolate(int from, int to, int step, int steps)
{
    // steps > 0; rounded to the nearest integer, halves away from the start colour.
    const int delta = to - from;
    const int scaled = delta * step;
    return from + (scaled >= 0 ? (scaled + steps / 2) / steps : -((-scaled + steps / 2) / steps));
}

} // namespace

QColor colorAt(const QList<QColor> &colors, int length, int line)
{
    const int bands = int(colors.size()) - 1;
    if (bands < 1 || length <= 0 || line < 0 || line >= length)
        return {};
    const int bandSize = length / bands;
    // When there are more bands than lines the first bands are empty and the last one holds
    // every line.
    int band = bandSize > 0 ? qMin(line / bandSize, bands - 1) : bands - 1;
    const int bandStart = band * bandSize;
    const int bandLength = band == bands - 1 ? length - bandStart : bandSize;
    const int step = line - bandStart;
    const QColor &a = colors.at(band);
    const QColor &b = colors.at(band + 1);
    if (bandLength <= 1)
        return QColor(a.red(), a.green(), a.blue());
    const int steps = bandLength - 1;
    return QColor(interpolate(a.red(), b.red(), step, steps), interpolate(a.green(), b.green(), step, steps),
        interpolate(a.blue(), b.blue(), step, steps));
}

bool fill(QPainter &painter, const QRect &rect, const QList<QColor> &colors, Qt::Orientation orientation)
{
    if (colors.size() < 2 || rect.isEmpty())
        return false;
    const bool vertical = orientation == Qt::Vertical;
    const int length = vertical ? rect.height() : rect.width();
    for (int line = 0; line < length; ++line) {
        const QColor color = colorAt(colors, length, line);
        if (vertical)
            painter.fillRect(QRect(rect.left(), rect.top() + line, rect.width(), 1), color);
        else
            painter.fillRect(QRect(rect.left() + line, rect.top(), 1, rect.height()), color);
    }
    return true;
}

} // namespace GradientPainter
