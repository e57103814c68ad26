#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

class QIODevice;

// The password-protected document container ("version 2").
//
// Layout (integers little-endian):
//   0   4  magic ")VLP" (29 56 4C 50); read as a check word of the first scheme it would need a
//          password whose first byte is 0, so that scheme never produces it
//   4   1  version, 2
//   5   1  key derivation: 1 = Argon2id (libsodium crypto_pwhash, ARGON2ID13)
//   6   1  cipher: 1 = XChaCha20-Poly1305 secret stream (crypto_secretstream_xchacha20poly1305)
//   7   4  Argon2id operations limit
//   11  4  Argon2id memory limit in KiB
//   15  16 salt
//   31  24 secret-stream header
//   55  ... the content in chunks of 16 KiB (the last one shorter, possibly empty), each sealed
//          with 17 bytes of tag and authenticator; the last chunk carries the final tag, so a
//          cut-off file is detected. The 55 header bytes are the additional data of the first
//          chunk, so a changed header is detected too.
//
// Readers and writers work on devices: they read the input from its current position to its
// end and write the output as they go. On failure the output holds partial data that the caller
// throws away (the file writers write through QSaveFile and commit only on Ok).
namespace ProtectedContainer {

constexpr char Magic[] = ")VLP";
constexpr int Version = 2;
constexpr int KdfArgon2id = 1;
constexpr int CipherSecretStream = 1;
constexpr int HeaderSize = 55;
constexpr int ChunkSize = 16384;
constexpr int ChunkOverhead = 17;
constexpr int MinPasswordBytes = 1;
constexpr int MaxPasswordBytes = 1024;

struct KdfParameters
{
    quint32 opsLimit = 0;
    quint32 memLimitKiB = 0;
    // libsodium's interactive limits (2 passes over 64 MiB): what new files use.
    static KdfParameters interactive();
};

// What a reader accepts from a file before it spends time or memory on the key derivation.
struct Limits
{
    quint32 maxOpsLimit = 16;
    quint32 maxMemLimitKiB = 1024 * 1024; // 1 GiB
};

enum class Status {
    Ok,
    InvalidPassword, // not 1 to 1,024 bytes
    NotContainer, // no magic
    UnsupportedVersion, // a version or algorithm this program does not know
    BadParameters, // key-derivation parameters outside the limits
    WrongPassword, // the first chunk (with the header) fails: wrong password or damaged start
    Damaged, // a later chunk fails its authentication
    Truncated, // the data ends before the final chunk
    TrailingData, // bytes after the final chunk
    OutOfMemory, // the key derivation could not get its memory
    ReadError,
    WriteError,
};

// A sentence for the user (without the file name).
QString message(Status status);

// True when the bytes begin with the magic.
bool hasMagic(QByteArrayView head);

Status seal(QIODevice &in, QIODevice &out, QByteArrayView password,
    const KdfParameters &parameters = KdfParameters::interactive());
Status open(QIODevice &in, QIODevice &out, QByteArrayView password, const Limits &limits = {});

// In memory; *out is only set on Ok.
Status sealBytes(QByteArrayView plain, QByteArray *out, QByteArrayView password,
    const KdfParameters &parameters = KdfParameters::interactive());
Status openBytes(QByteArrayView file, QByteArray *out, QByteArrayView password, const Limits &limits = {});

// The header's fields, checked against the limits (no key derivation). For tools and tests.
struct Header
{
    int version = 0;
    int kdf = 0;
    int cipher = 0;
    KdfParameters parameters;
    QByteArray salt;
    QByteArray streamHeader;
};
Status parseHeader(QByteArrayView bytes, Header *header, const Limits &limits = {});

// The fixed cost of opening or sealing: one key derivation with the given parameters.
bool deriveKeyForTiming(QByteArrayView password, const KdfParameters &parameters);

} // namespace ProtectedContainer
