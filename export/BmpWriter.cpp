#include "export/BmpWriter.h"

#include <QIODevice>
#include <QtEndian>

namespace {

void put16(QByteArray &out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void put32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

} // namespace

bool BmpWriter::write(QIODevice &device, const QImage &image)
{
    m_error.clear();
    if (image.isNull()) {
        m_error = QStringLiteral("The page image is empty.");
        return false;
    }
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const quint32 width = quint32(pixels.width());
    const quint32 height = quint32(pixels.height());
    const quint32 imageBytes = width * height * 4;
    const quint32 headerBytes = 14 + 40;

    QByteArray header;
    header.reserve(int(headerBytes));
    header.append("BM", 2);
    put32(header, headerBytes + imageBytes);
    put32(header, 0);
    put32(header, headerBytes);
    put32(header, 40);
    put32(header, width);
    put32(header, height);
    put16(header, 1);  // planes
    put16(header, 32); // bits per pixel
    put32(header, 0);  // uncompressed
    put32(header, imageBytes);
    put32(header, 3780); // 96 pixels per inch, as pixels per metre
    put32(header, 3780);
    put32(header, 0);
    put32(header, 0);
    if (device.write(header) != header.size()) {
        m_error = device.errorString();
        return false;
    }

    QByteArray row(int(width * 4), Qt::Uninitialized);
    for (int y = int(height) - 1; y >= 0; --y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        uchar *out = reinterpret_cast<uchar *>(row.data());
        for (quint32 x = 0; x < width; ++x) {
            const QRgb p = line[x];
            *out++ = uchar(qBlue(p));
            *out++ = uchar(qGreen(p));
            *out++ = uchar(qRed(p));
            *out++ = 255;
        }
        if (device.write(row) != row.size()) {
            m_error = device.errorString();
            return false;
        }
    }
    return true;
}
