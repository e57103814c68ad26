#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

class QIODevice;

// The first protection scheme of the program ("version 1"), kept so that files protected with it
// still open. It hides nothing from a determined reader: the password sits in the file's check
// word and every byte moves by at most 9. New protection uses ProtectedContainer.
//
// File: a 4-byte check word H = (P + key) mod 2^32, little-endian, then every byte of the source
// plus the next draw (0 to 9) of a linear congruential generator seeded with P, modulo 256. P is
// the password's first four bytes read as a little-endian unsigned number (zero-filled).
namespace LegacyCipher {

constexpr qint32 DefaultKey = 58204713;
constexpr int BlockSize = 16384;
constexpr int HeaderSize = 4;
constexpr int MaxPasswordLength = 4;

// P for a password of at most four bytes (longer ones are cut to four).
quint32 passwordValue(QByteArrayView password);
quint32 checkWord(quint32 passwordValue, qint32 key);

// The generator of the byte offsets; one per operation, seeded with P.
class Generator
{
public:
    explicit Generator(quint32 seed)
        : m_state(seed)
    { }
    // 0 to 9.
    int next()
    {
        m_state = m_state * 134775813u + 1u;
        return int((quint64(m_state) * 10u) >> 32);
    }

private:
    quint32 m_state;
};

enum class Status {
    Ok,
    BadPassword, // the check word does not match the password
    TooShort, // fewer than four bytes: no check word
    ReadError,
    WriteError,
};

// Transforms `in` from its current position to its end into `out`, in blocks. `encrypt` writes
// the check word first; `decrypt` reads and checks it before it writes anything.
Status encrypt(QIODevice &in, QIODevice &out, quint32 passwordValue, qint32 key = DefaultKey);
Status decrypt(QIODevice &in, QIODevice &out, quint32 passwordValue, qint32 key = DefaultKey);
// Reads the check word alone (Ok when it matches); the device is left after it.
Status checkHeader(QIODevice &in, quint32 passwordValue, qint32 key = DefaultKey);

// Transforms in memory (the same bytes the stream functions produce).
QByteArray encryptBytes(QByteArrayView plain, quint32 passwordValue, qint32 key = DefaultKey);
std::optional<QByteArray> decryptBytes(QByteArrayView file, quint32 passwordValue, qint32 key = DefaultKey);

// Recognises a file of this scheme from its first bytes: P = H - key must be one to four
// non-zero bytes followed by zero bytes, and the five bytes after the check word, unprotected
// with P, must begin a rich text file ("{\rtf") or a zlib stream. Returns P then.
std::optional<quint32> recognise(QByteArrayView head, qint32 key = DefaultKey);

} // namespace LegacyCipher
