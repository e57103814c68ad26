// Feeds arbitrary bytes to the rich text reader, writes what it read and reads that again.
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_rtf_reader";
    static char *argv[] = { name, nullptr };
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QTextDocument doc;
    RtfReader reader;
    QString error;
    if (!reader.read(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), doc, &error))
        return 0;
    RtfWriter writer(doc);
    const QByteArray written = writer.write();
    QTextDocument again;
    RtfReader second;
    if (!second.read(written, again, &error))
        abort(); // what the writer writes is always rich text
    return 0;
}
