#pragma once

#include <QImage>
#include <QString>

class QIODevice;

// Writes a baseline JFIF file through libjpeg from a 24-bit page bitmap at a fixed quality
// (100 for the image export).
class JpegWriter
{
public:
    bool write(QIODevice &device, const QImage &image, int quality = 100);
    QString errorString() const { return m_error; }

private:
    QString m_error;
};
