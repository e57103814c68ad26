#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Turns the data of a rich text picture into an image to show. Pictures Qt cannot decode
// (metafiles, damaged data) get a framed placeholder of the picture's size.
namespace RtfPicture {

// Largest side, in pixels, of an image made here (placeholders; damaged sizes).
inline constexpr int kMaxPixels = 8000;

// format: "png", "jpeg", "dib" (a bitmap without file header), "bmp" (device-dependent bitmap
// given as bitsPerPixel / widthBytes / size), "emf", "wmf". Returns a null image when the data
// cannot be decoded.
QImage decode(const QString &format, const QByteArray &data, QSize bitmapSize = QSize(), int bitsPerPixel = 0,
    int widthBytes = 0);

// A light frame with the proportions of the given size (at most 512 pixels a side).
QImage placeholder(QSize size);

// A DIB with a file header in front, as Qt's BMP reader wants it; empty when the header is damaged.
QByteArray bmpFileFromDib(const QByteArray &dib);

} // namespace RtfPicture
