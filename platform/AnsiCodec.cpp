#include "platform/AnsiCodec.h"

#include <array>

namespace {

// 0x80..0x9F of Windows-1252; the undefined entries keep their C1 value.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int encodeOrMinus(char32_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return int(ch);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

namespace AnsiCodec {

char16_t decodeByte(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kHigh[byte - 0x80];
    return byte;
}

bool canEncode(char32_t ch)
{
    return encodeOrMinus(ch) >= 0;
}

char encodeChar(char32_t ch)
{
    const int b = encodeOrMinus(ch);
    return b < 0 ? '?' : char(b);
}

QByteArray fromUnicode(QStringView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t ch = text[i].unicode();
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ch = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        out.append(encodeChar(ch));
    }
    return out;
}

QString toUnicode(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = QChar(decodeByte(static_cast<unsigned char>(bytes[i])));
    return out;
}

} // namespace AnsiCodec
