#pragma once

#include <QPen>
#include <QString>

// Pens in the stored four-number form "colour,width,style,mode": colour as a 0x00BBGGRR number,
// style and mode as the ordinals the stored descriptions use (solid 0, dash 1, dot 2, dash-dot 3,
// dash-dot-dot 4, clear 5, inside-frame 6; mode 4 = copy). Qt pens have no mode; it is written as
// copy and ignored on reading.
namespace GmPenCodec {

QString encode(const QPen &pen);
// False for anything but four integers.
bool decode(const QString &text, QPen *pen);

int colorRef(const QColor &color);
QColor fromColorRef(int value);
int styleOrdinal(Qt::PenStyle style);
Qt::PenStyle styleFromOrdinal(int ordinal);

} // namespace GmPenCodec
