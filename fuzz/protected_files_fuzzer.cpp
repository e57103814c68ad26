// Protected files of any bytes, through both readers: the first scheme's recognition and
// unprotecting, and the password container with its header checks and chunk loop. The container
// is opened with the password the seeds were sealed with, so mutations reach every chunk.
#include "platform/crypto/LegacyCipher.h"
#include "platform/crypto/ProtectedContainer.h"

#include <QBuffer>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));

    if (const auto p = LegacyCipher::recognise(input)) {
        const auto plain = LegacyCipher::decryptBytes(input, *p);
        if (!plain || plain->size() != input.size() - LegacyCipher::HeaderSize)
            __builtin_trap();
    }
    QBuffer legacyIn;
    legacyIn.setData(input);
    legacyIn.open(QIODevice::ReadOnly);
    QByteArray legacyOut;
    QBuffer legacySink(&legacyOut);
    legacySink.open(QIODevice::WriteOnly);
    LegacyCipher::decrypt(legacyIn, legacySink, LegacyCipher::passwordValue("ab"));

    // Small limits keep each run fast; the header checks are the same as with the real ones.
    ProtectedContainer::Limits limits;
    limits.maxOpsLimit = 2;
    limits.maxMemLimitKiB = 64;
    ProtectedContainer::parseHeader(input, nullptr, limits);
    QByteArray plain;
    const auto status = ProtectedContainer::openBytes(input, &plain, "fuzz", limits);
    if (status == ProtectedContainer::Status::Ok && plain.size() > input.size())
        __builtin_trap();
    return 0;
}
