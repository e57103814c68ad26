#pragma once

#include <QImage>
#include <QString>

class QIODevice;

// Writes one uncompressed little-endian baseline RGB TIFF in a single strip, in a fixed layout:
// header, X and Y resolution (87.7 per inch), bits per sample, the software text, the pixel data
// (rows top to bottom, red, green, blue), then the 15-entry directory, whose offset the header
// gets last. Nothing is aligned to even offsets.
class TiffWriter
{
public:
    static constexpr char kSoftware[] = "Velmora Office";

    bool write(QIODevice &device, const QImage &image);
    QString errorString() const { return m_error; }

    // Offsets of the layout for an image of the given size.
    static quint32 pixelDataOffset();
    static quint32 directoryOffset(int width, int height);

private:
    QString m_error;
};
