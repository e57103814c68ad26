#pragma once

#include <QImage>
#include <QString>

class QIODevice;

// Writes a Windows bitmap of 32 bits per pixel: the 14-byte file header, the 40-byte information
// header, then the uncompressed rows, bottom row first, each pixel blue, green, red and a fourth
// byte of 255.
class BmpWriter
{
public:
    bool write(QIODevice &device, const QImage &image);
    QString errorString() const { return m_error; }

private:
    QString m_error;
};
