// Plain-text files of any bytes: detection and decoding never fail, and the Windows-1252 codec
// gives every decoded character back as one byte.
#include "platform/AnsiCodec.h"
#include "platform/PlainTextCodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    PlainTextCodec::Encoding encoding;
    const QString text = PlainTextCodec::decode(bytes, &encoding);
    if (encoding == PlainTextCodec::Encoding::Ansi && AnsiCodec::fromUnicode(text) != bytes)
        std::abort();
    const QByteArray utf16 = PlainTextCodec::encodeUtf16LE(text);
    if (PlainTextCodec::decode(utf16) != text)
        std::abort();
    return 0;
}
