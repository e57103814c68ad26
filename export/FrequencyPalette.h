#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>

// A page reduced to at most 256 colours: the most frequent colours of the page form the palette
// (equally frequent colours in ascending RGB order), every pixel takes the nearest of them
// (least squared RGB distance, the lower index on a tie).
struct IndexedFrame
{
    QSize size;
    QList<QRgb> palette;  // opaque colours, most frequent first
    QByteArray indices;   // one byte per pixel, rows top to bottom

    static IndexedFrame fromImage(const QImage &image, int maxColors = 256);
    int indexOf(QRgb color) const; // -1 when the colour is not in the palette
};
