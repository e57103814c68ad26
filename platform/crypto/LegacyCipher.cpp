#include "platform/crypto/LegacyCipher.h"

#include "platform/crypto/DeviceIO.h"

#include <QIODevice>

namespace {

void putWord(char *out, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = char((value >> (8 * i)) & 0xFFu);
}

quint32 getWord(const char *in)
{
    quint32 value = 0;
    for (int i = 0; i < 4; ++i)
        value |= quint32(quint8(in[i])) << (8 * i);
    return value;
}

// Adds (or subtracts) one draw per byte, in order.
void shift(char *data, qsizetype size, LegacyCipher::Generator &generator, bool add)
{
    for (qsizetype i = 0; i < size; ++i) {
        const int r = generator.next();
        const quint8 b = quint8(data[i]);
        data[i] = char(quint8(add ? b + r : b - r));
    }
}

LegacyCipher::Status transform(QIODevice &in, QIODevice &out, LegacyCipher::Generator &generator, bool add)
{
    QByteArray block;
    for (;;) {
        if (!DeviceIO::readUpTo(in, LegacyCipher::BlockSize, &block))
            return LegacyCipher::Status::ReadError;
        if (block.isEmpty())
            return LegacyCipher::Status::Ok;
        shift(block.data(), block.size(), generator, add);
        if (!DeviceIO::writeAll(out, block))
            return LegacyCipher::Status::WriteError;
    }
}

bool isZlibHeader(quint8 cmf, quint8 flg)
{
    return (cmf & 0x0F) == 8 && (cmf >> 4) <= 7 && ((cmf << 8) | flg) % 31 == 0;
}

} // namespace

quint32 LegacyCipher::passwordValue(QByteArrayView password)
{
    char bytes[4] = { 0, 0, 0, 0 };
    for (qsizetype i = 0; i < std::min<qsizetype>(4, password.size()); ++i)
        bytes[i] = password[i];
    return getWord(bytes);
}

quint32 LegacyCipher::checkWord(quint32 passwordValue, qint32 key)
{
    return passwordValue + quint32(key);
}

LegacyCipher::Status LegacyCipher::encrypt(QIODevice &in, QIODevice &out, quint32 passwordValue, qint32 key)
{
    char header[4];
    putWord(header, checkWord(passwordValue, key));
    if (!DeviceIO::writeAll(out, header, 4))
        return Status::WriteError;
    Generator generator(passwordValue);
    return transform(in, out, generator, true);
}

LegacyCipher::Status LegacyCipher::checkHeader(QIODevice &in, quint32 passwordValue, qint32 key)
{
    QByteArray header;
    if (!DeviceIO::readUpTo(in, HeaderSize, &header))
        return Status::ReadError;
    if (header.size() < HeaderSize)
        return Status::TooShort;
    if (getWord(header.constData()) - quint32(key) != passwordValue)
        return Status::BadPassword;
    return Status::Ok;
}

LegacyCipher::Status LegacyCipher::decrypt(QIODevice &in, QIODevice &out, quint32 passwordValue, qint32 key)
{
    const Status header = checkHeader(in, passwordValue, key);
    if (header != Status::Ok)
        return header;
    Generator generator(passwordValue);
    return transform(in, out, generator, false);
}

QByteArray LegacyCipher::encryptBytes(QByteArrayView plain, quint32 passwordValue, qint32 key)
{
    QByteArray out(HeaderSize + plain.size(), Qt::Uninitialized);
    putWord(out.data(), checkWord(passwordValue, key));
    std::copy(plain.begin(), plain.end(), out.begin() + HeaderSize);
    Generator generator(passwordValue);
    shift(out.data() + HeaderSize, plain.size(), generator, true);
    return out;
}

std::optional<QByteArray> LegacyCipher::decryptBytes(QByteArrayView file, quint32 passwordValue, qint32 key)
{
    if (file.size() < HeaderSize || getWord(file.data()) - quint32(key) != passwordValue)
        return std::nullopt;
    QByteArray out(file.data() + HeaderSize, file.size() - HeaderSize);
    Generator generator(passwordValue);
    shift(out.data(), out.size(), generator, false);
    return out;
}

std::optional<quint32> LegacyCipher::recognise(QByteArrayView head, qint32 key)
{
    if (head.size() < HeaderSize + 2)
        return std::nullopt;
    const quint32 p = getWord(head.data()) - quint32(key);
    int length = 0;
    while (length < 4 && ((p >> (8 * length)) & 0xFFu) != 0)
        ++length;
    if (length == 0 || (length < 4 && (p >> (8 * length)) != 0))
        return std::nullopt;

    char start[5] = { 0, 0, 0, 0, 0 };
    const qsizetype n = std::min<qsizetype>(5, head.size() - HeaderSize);
    std::copy(head.begin() + HeaderSize, head.begin() + HeaderSize + n, start);
    Generator generator(p);
    shift(start, n, generator, false);
    if (n == 5 && QByteArrayView(start, 5) == QByteArrayView("{\\rtf"))
        return p;
    if (isZlibHeader(quint8(start[0]), quint8(start[1])))
        return p;
    return std::nullopt;
}
