#include "platform/crypto/DeviceIO.h"

#include <QIODevice>

bool DeviceIO::readUpTo(QIODevice &device, qint64 size, QByteArray *out)
{
    out->resize(size);
    qint64 got = 0;
    while (got < size) {
        const qint64 n = device.read(out->data() + got, size - got);
        if (n < 0) {
            out->resize(got);
            return false;
        }
        if (n == 0 && !device.waitForReadyRead(0))
            break;
        got += n;
    }
    out->resize(got);
    return true;
}

bool DeviceIO::writeAll(QIODevice &device, const char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 n = device.write(data + done, size - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}
