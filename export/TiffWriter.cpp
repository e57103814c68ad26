#include "export/TiffWriter.h"

#include <QIODevice>
#include <QtEndian>

namespace {

constexpr quint32 kSoftwareLength = sizeof(TiffWriter::kSoftware) - 1; // without the zero byte

enum Type : quint16 { Ascii = 2, Short = 3, Long = 4, Rational = 5 };

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

void entry(QByteArray &out, quint16 tag, quint16 type, quint32 count, quint32 value)
{
    put16(out, tag);
    put16(out, type);
    put32(out, count);
    if (type == Short && count == 1) {
        put16(out, quint16(value));
        put16(out, 0);
    } else {
        put32(out, value);
    }
}

} // namespace

quint32 TiffWriter::pixelDataOffset()
{
    return 31 + kSoftwareLength;
}

quint32 TiffWriter::directoryOffset(int width, int height)
{
    return pixelDataOffset() + quint32(width) * quint32(height) * 3;
}

bool TiffWriter::write(QIODevice &device, const QImage &image)
{
    m_error.clear();
    if (image.isNull() || image.width() > 0xFFFF || image.height() > 0xFFFF) {
        m_error = QStringLiteral("The page image cannot be written as TIFF.");
        return false;
    }
    const int w = image.width();
    const int h = image.height();
    const quint32 dataBytes = quint32(w) * quint32(h) * 3;
    const quint32 directory = directoryOffset(w, h);

    QByteArray head;
    head.append("II", 2);
    put16(head, 42);
    put32(head, directory);
    put32(head, 877);
    put32(head, 10);
    put32(head, 877);
    put32(head, 10);
    put16(head, 8);
    put16(head, 8);
    put16(head, 8);
    head.append(kSoftware, int(kSoftwareLength) + 1);
    if (device.write(head) != head.size()) {
        m_error = device.errorString();
        return false;
    }

    // Rows go out as they are converted, red, green, blue, straight from the bitmap.
    const QImage source = image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
    QByteArray row(qsizetype(w) * 3, Qt::Uninitialized);
    for (int y = 0; y < h; ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        char *out = row.data();
        for (int x = 0; x < w; ++x) {
            *out++ = char(qRed(in[x]));
            *out++ = char(qGreen(in[x]));
            *out++ = char(qBlue(in[x]));
        }
        if (device.write(row.constData(), row.size()) != row.size()) {
            m_error = device.errorString();
            return false;
        }
    }

    QByteArray ifd;
    put16(ifd, 15);
    entry(ifd, 254, Long, 1, 0);
    entry(ifd, 256, Short, 1, quint32(w));
    entry(ifd, 257, Short, 1, quint32(h));
    entry(ifd, 258, Short, 3, 24);
    entry(ifd, 259, Short, 1, 1);
    entry(ifd, 262, Short, 1, 2);
    entry(ifd, 273, Long, 1, pixelDataOffset());
    entry(ifd, 277, Short, 1, 3);
    entry(ifd, 278, Long, 1, quint32(h));
    entry(ifd, 279, Long, 1, dataBytes);
    entry(ifd, 282, Rational, 1, 8);
    entry(ifd, 283, Rational, 1, 16);
    entry(ifd, 284, Short, 1, 1);
    entry(ifd, 296, Short, 1, 2);
    entry(ifd, 305, Ascii, kSoftwareLength + 1, 30);
    put32(ifd, 0);
    if (device.write(ifd) != ifd.size()) {
        m_error = device.errorString();
        return false;
    }
    return true;
}
