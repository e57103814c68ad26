// Compressed documents of any bytes: the zlib stream is refused or decompressed within its
// limit, and what comes out goes through the rich text reader.
#include "editor/CompressedRtf.h"
#include "platform/rtf/RtfReader.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_compressed_rtf";
    static char *argv[] = { name, nullptr };
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString error;
    const auto text = CompressedRtf::decompress(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), &error);
    if (!text)
        return 0;
    QTextDocument doc;
    RtfReader reader;
    reader.read(*text, doc, &error);
    return 0;
}
