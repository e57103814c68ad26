#pragma once

#include <QByteArray>
#include <QtGlobal>

class QIODevice;

// Reading and writing whole blocks on devices that may hand over fewer bytes per call (pipes,
// sockets, files near their end).
namespace DeviceIO {

// Reads until `size` bytes came or the device has no more. The bytes read go to *out (replacing
// its content); false when the device reported an error.
bool readUpTo(QIODevice &device, qint64 size, QByteArray *out);
// Writes all bytes; false when the device took fewer.
bool writeAll(QIODevice &device, const char *data, qint64 size);
inline bool writeAll(QIODevice &device, const QByteArray &bytes)
{
    return writeAll(device, bytes.constData(), bytes.size());
}

} // namespace DeviceIO
