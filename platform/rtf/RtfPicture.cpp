#include "platform/rtf/RtfPicture.h"

#include <QPainter>
#include <QtEndian>

namespace {

quint32 readLe32(const QByteArray &data, qsizetype at)
{
    if (at < 0 || at + 4 > data.size())
        return 0;
    return qFromLittleEndian<quint32>(data.constData() + at);
}

quint16 readLe16(const QByteArray &data, qsizetype at)
{
    if (at < 0 || at + 2 > data.size())
        return 0;
    return qFromLittleEndian<quint16>(data.constData() + at);
}

QImage deviceBitmap(const QByteArray &data, QSize size, int bitsPerPixel, int widthBytes)
{
    const int w = size.width();
    const int h = size.height();
    if (w <= 0 || h <= 0 || w > RtfPicture::kMaxPixels || h > RtfPicture::kMaxPixels)
        return QImage();
    QImage::Format format;
    switch (bitsPerPixel) {
    case 1:
        format = QImage::Format_Mono;
        break;
    case 24:
        format = QImage::Format_BGR888;
        break;
    case 32:
        format = QImage::Format_RGB32;
        break;
    default:
        return QImage();
    }
    const qint64 minStride = (qint64(w) * bitsPerPixel + 7) / 8;
    if (widthBytes < minStride)
        widthBytes = int((minStride + 1) & ~qint64(1));
    if (qint64(widthBytes) * h > data.size())
        return QImage();
    QImage image(reinterpret_cast<const uchar *>(data.constData()), w, h, widthBytes, format);
    if (format == QImage::Format_Mono) {
        image.setColorCount(2);
        image.setColor(0, qRgb(0, 0, 0));
        image.setColor(1, qRgb(255, 255, 255));
    }
    return image.copy();
}

} // namespace

namespace RtfPicture {

QByteArray bmpFileFromDib(const QByteArray &dib)
{
    const quint32 headerSize = readLe32(dib, 0);
    if (headerSize < 12 || headerSize > 1024 || qsizetype(headerSize) > dib.size())
        return QByteArray();
    quint32 bitCount = 0;
    quint32 compression = 0;
    quint32 coloursUsed = 0;
    if (headerSize == 12) {
        bitCount = readLe16(dib, 10);
    } else {
        bitCount = readLe16(dib, 14);
        compression = readLe32(dib, 16);
        coloursUsed = readLe32(dib, 32);
    }
    const quint32 entrySize = headerSize == 12 ? 3 : 4;
    quint32 paletteEntries = coloursUsed;
    if (paletteEntries == 0 && bitCount <= 8)
        paletteEntries = 1u << bitCount;
    if (paletteEntries > 256)
        paletteEntries = 256;
    quint32 masks = 0;
    if (headerSize == 40 && (compression == 3 || compression == 6))
        masks = compression == 3 ? 12 : 16;
    const quint64 offset = 14ull + headerSize + masks + quint64(paletteEntries) * entrySize;
    if (offset > quint64(dib.size()) + 14)
        return QByteArray();
    QByteArray file;
    file.reserve(dib.size() + 14);
    file.append("BM", 2);
    const quint32 total = quint32(qMin<quint64>(dib.size() + 14ull, 0xFFFFFFFFull));
    char buf[4];
    qToLittleEndian<quint32>(total, buf);
    file.append(buf, 4);
    file.append(4, '\0');
    qToLittleEndian<quint32>(quint32(offset), buf);
    file.append(buf, 4);
    file.append(dib);
    return file;
}

QImage decode(const QString &format, const QByteArray &data, QSize bitmapSize, int bitsPerPixel, int widthBytes)
{
    if (data.isEmpty())
        return QImage();
    QImage image;
    if (format == QLatin1String("png")) {
        image.loadFromData(data, "PNG");
    } else if (format == QLatin1String("jpeg")) {
        image.loadFromData(data, "JPEG");
    } else if (format == QLatin1String("dib")) {
        const QByteArray file = bmpFileFromDib(data);
        if (!file.isEmpty())
            image.loadFromData(file, "BMP");
    } else if (format == QLatin1String("bmp")) {
        image = deviceBitmap(data, bitmapSize, bitsPerPixel, widthBytes);
    }
    return image;
}

QImage placeholder(QSize size)
{
    // The picture is drawn at its own size from this image, so the image need not be large.
    int w = qMax(1, size.width());
    int h = qMax(1, size.height());
    const int side = 512;
    if (w > side || h > side) {
        const double scale = double(side) / qMax(w, h);
        w = qMax(1, int(w * scale));
        h = qMax(1, int(h * scale));
    }
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(245, 245, 245));
    QPainter painter(&image);
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(0, 0, w - 1, h - 1);
    if (w > 8 && h > 8) {
        painter.drawLine(0, 0, w - 1, h - 1);
        painter.drawLine(0, h - 1, w - 1, 0);
    }
    return image;
}

} // namespace RtfPicture
