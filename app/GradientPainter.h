#pragma once

#include <QColor>
#include <QList>
#include <QRect>

class QPainter;

// The program's gradient fill, shared by the owner-drawn menus and list rows.
//
// The rectangle is filled one line at a time through n + 1 colours in n bands of equal size; the
// last band also takes the lines left over by the division. Inside a band red, green and blue are
// interpolated linearly, so the band's first line has its start colour and its last line its end
// colour (a band of one line has its start colour). Qt::Vertical runs the colours from the top
// line to the bottom one (each line is horizontal), Qt::Horizontal from the left column to the
// right one. Lines are painted with QPainter::fillRect, so the painter's clip and transform apply.
namespace GradientPainter {

// Returns false and paints nothing when fewer than two colours are given or the rectangle is
// empty.
bool fill(QPainter &painter, const QRect &rect, const QList<QColor> &colors, Qt::Orientation orientation);

// The colour of line `line` (0-based, counted along the gradient) of a gradient `length` lines
// long; what fill() paints there. Invalid for fewer than two colours or a line outside the length.
QColor colorAt(const QList<QColor> &colors, int length, int line);

} // namespace GradientPainter
