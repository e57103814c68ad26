// The program's small data files of any bytes: the options record ("WordOptions.bin") and the
// document history ("WrdFileList.dat"). The first byte picks the reader.
#include "app/DocumentHistory.h"
#include "app/StartupOptions.h"

#include <QBuffer>
#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static int argc = 1;
    static char name[] = "fuzz_data_files";
    static char *argv[] = { name, nullptr };
    static QCoreApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    if (data[0] & 1) {
        const StartupOptions::ReadResult r = StartupOptions::fromRecord(bytes);
        // A record that was read writes back to a record that reads the same.
        if (r.ok() && StartupOptions::fromRecord(r.options.toRecord()).options != r.options)
            std::abort();
        return 0;
    }
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    DocumentHistory history;
    history.read(in);
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    history.write(buffer);
    return 0;
}
