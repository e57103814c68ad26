#pragma once

#include <QColor>
#include <QImage>
#include <QString>

#include <optional>

class QIODevice;

// Writes a page bitmap as PNG through libpng: 8 bits per sample, red-green-blue with alpha when a
// transparent colour is given (alpha 0 exactly on pixels of that colour, 255 elsewhere), else
// red-green-blue; no interlacing; one uncompressed "Software" text chunk.
class PngWriter
{
public:
    static constexpr char kSoftware[] = "Velmora Lumaro PNG page writer";

    // The colour the image export makes transparent.
    static QRgb pageTransparentColor() { return qRgb(0xF7, 0xF7, 0xF7); }

    bool write(QIODevice &device, const QImage &image, std::optional<QRgb> transparent);
    QString errorString() const { return m_error; }

private:
    QString m_error;
};
