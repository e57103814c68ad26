#pragma once

#include "platform/crypto/ProtectedContainer.h"

#include <QByteArray>

namespace ProtectionTestData {

// Bytes that do not repeat in any 16-byte window, so a leak of the content shows in any run.
inline QByteArray distinctBytes(qsizetype size, quint32 seed = 1)
{
    QByteArray out(size, Qt::Uninitialized);
    quint32 s = seed;
    for (qsizetype i = 0; i < size; ++i) {
        s = s * 1664525u + 1013904223u;
        out[i] = char(s >> 24);
    }
    return out;
}

// The cheapest key derivation libsodium allows, for tests that seal many files; the program
// itself never writes these.
inline ProtectedContainer::KdfParameters fastKdf()
{
    return { 1, 8 };
}

} // namespace ProtectionTestData
