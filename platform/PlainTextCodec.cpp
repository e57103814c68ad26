#include "platform/PlainTextCodec.h"

#include "platform/AnsiCodec.h"

namespace PlainTextCodec {

bool isValidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra;
        char32_t min;
        char32_t cp;
        if ((c & 0xE0) == 0xC0) {
            extra = 1, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= n || (p[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

Encoding detect(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    if (bytes.size() >= 2 && p[0] == 0xFF && p[1] == 0xFE)
        return Encoding::Utf16LE;
    if (bytes.size() >= 2 && p[0] == 0xFE && p[1] == 0xFF)
        return Encoding::Utf16BE;
    if (bytes.size() >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        return Encoding::Utf8;
    return isValidUtf8(bytes) ? Encoding::Utf8 : Encoding::Ansi;
}

QString decode(QByteArrayView bytes, Encoding *detected)
{
    const Encoding enc = detect(bytes);
    if (detected)
        *detected = enc;
    switch (enc) {
    case Encoding::Utf16LE:
    case Encoding::Utf16BE: {
        const qsizetype units = (bytes.size() - 2) / 2;
        QString out(units, Qt::Uninitialized);
        const auto *p = reinterpret_cast<const unsigned char *>(bytes.data()) + 2;
        for (qsizetype i = 0; i < units; ++i) {
            const char16_t u = enc == Encoding::Utf16LE ? char16_t(p[2 * i] | (p[2 * i + 1] << 8))
                                                        : char16_t((p[2 * i] << 8) | p[2 * i + 1]);
            out[i] = QChar(u);
        }
        return out;
    }
    case Encoding::Utf8: {
        QByteArrayView body = bytes;
        if (body.size() >= 3 && body.startsWith("\xEF\xBB\xBF"))
            body = body.sliced(3);
        return QString::fromUtf8(body);
    }
    case Encoding::Ansi:
        break;
    }
    return AnsiCodec::toUnicode(bytes);
}

QByteArray encodeAnsi(QStringView text)
{
    return AnsiCodec::fromUnicode(text);
}

QByteArray encodeUtf16LE(QStringView text, bool withBom)
{
    QByteArray out;
    out.reserve(text.size() * 2 + 2);
    if (withBom)
        out.append("\xFF\xFE", 2);
    for (QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

} // namespace PlainTextCodec
