#include "platform/crypto/ProtectedContainer.h"

#include "platform/crypto/DeviceIO.h"

#include <QBuffer>
#include <QIODevice>

#include <sodium.h>

#include <array>

namespace {

using Status = ProtectedContainer::Status;
using Key = std::array<unsigned char, crypto_secretstream_xchacha20poly1305_KEYBYTES>;

static_assert(ProtectedContainer::HeaderSize
    == 4 + 1 + 1 + 1 + 4 + 4 + crypto_pwhash_SALTBYTES + crypto_secretstream_xchacha20poly1305_HEADERBYTES);
static_assert(ProtectedContainer::ChunkOverhead == crypto_secretstream_xchacha20poly1305_ABYTES);

bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

void putWord(unsigned char *out, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = (value >> (8 * i)) & 0xFFu;
}

quint32 getWord(const unsigned char *in)
{
    quint32 value = 0;
    for (int i = 0; i < 4; ++i)
        value |= quint32(in[i]) << (8 * i);
    return value;
}

// Wipes the key when it goes out of scope.
struct KeyHolder
{
    Key key {};
    ~KeyHolder() { sodium_memzero(key.data(), key.size()); }
};

bool validPassword(QByteArrayView password)
{
    return password.size() >= ProtectedContainer::MinPasswordBytes
        && password.size() <= ProtectedContainer::MaxPasswordBytes;
}

Status derive(QByteArrayView password, const unsigned char *salt, const ProtectedContainer::KdfParameters &p, Key &key)
{
    if (crypto_pwhash(key.data(), key.size(), password.data(), quint64(password.size()), salt, p.opsLimit,
            size_t(p.memLimitKiB) * 1024u, crypto_pwhash_ALG_ARGON2ID13)
        != 0)
        return Status::OutOfMemory;
    return Status::Ok;
}

const unsigned char *bytes(const QByteArray &a)
{
    return reinterpret_cast<const unsigned char *>(a.constData());
}

} // namespace

ProtectedContainer::KdfParameters ProtectedContainer::KdfParameters::interactive()
{
    return { quint32(crypto_pwhash_argon2id_OPSLIMIT_INTERACTIVE),
        quint32(crypto_pwhash_argon2id_MEMLIMIT_INTERACTIVE / 1024) };
}

QString ProtectedContainer::message(Status status)
{
    switch (status) {
    case Status::Ok:
        return {};
    case Status::InvalidPassword:
        return QStringLiteral("Invalid Password. A password must be 1 to 1024 bytes long.");
    case Status::NotContainer:
        return QStringLiteral("The file is not a protected document.");
    case Status::UnsupportedVersion:
        return QStringLiteral("The file is protected in a way this version of the program does not know.");
    case Status::BadParameters:
        return QStringLiteral("The protected file is damaged: its key settings are out of range.");
    case Status::WrongPassword:
        return QStringLiteral("Bad password !\nThe password is wrong, or the protected file is damaged.");
    case Status::Damaged:
        return QStringLiteral("The protected file is damaged: it was changed, cut or extended.");
    case Status::Truncated:
        return QStringLiteral("The protected file is incomplete: it ends too early.");
    case Status::TrailingData:
        return QStringLiteral("The protected file is damaged: it has data after its end.");
    case Status::OutOfMemory:
        return QStringLiteral("Not enough memory to derive the key of the protected file.");
    case Status::ReadError:
        return QStringLiteral("The file could not be read.");
    case Status::WriteError:
        return QStringLiteral("The output could not be written.");
    }
    return {};
}

bool ProtectedContainer::hasMagic(QByteArrayView head)
{
    return head.size() >= 4 && head.first(4) == QByteArrayView(Magic, 4);
}

ProtectedContainer::Status ProtectedContainer::parseHeader(QByteArrayView data, Header *header, const Limits &limits)
{
    if (!hasMagic(data))
        return Status::NotContainer;
    if (data.size() < 5)
        return Status::Truncated;
    const auto *b = reinterpret_cast<const unsigned char *>(data.data());
    if (b[4] != Version)
        return Status::UnsupportedVersion;
    if (data.size() < HeaderSize)
        return Status::Truncated;
    if (b[5] != KdfArgon2id || b[6] != CipherSecretStream)
        return Status::UnsupportedVersion;
    Header h;
    h.version = b[4];
    h.kdf = b[5];
    h.cipher = b[6];
    h.parameters.opsLimit = getWord(b + 7);
    h.parameters.memLimitKiB = getWord(b + 11);
    const quint32 minOps = quint32(crypto_pwhash_argon2id_OPSLIMIT_MIN);
    const quint32 minMemKiB = quint32((crypto_pwhash_argon2id_MEMLIMIT_MIN + 1023) / 1024);
    if (h.parameters.opsLimit < minOps || h.parameters.opsLimit > limits.maxOpsLimit
        || h.parameters.memLimitKiB < minMemKiB || h.parameters.memLimitKiB > limits.maxMemLimitKiB)
        return Status::BadParameters;
    h.salt = QByteArray(data.data() + 15, crypto_pwhash_SALTBYTES);
    h.streamHeader = QByteArray(data.data() + 31, crypto_secretstream_xchacha20poly1305_HEADERBYTES);
    if (header)
        *header = std::move(h);
    return Status::Ok;
}

ProtectedContainer::Status ProtectedContainer::seal(
    QIODevice &in, QIODevice &out, QByteArrayView password, const KdfParameters &parameters)
{
    if (!validPassword(password))
        return Status::InvalidPassword;
    if (!sodiumReady())
        return Status::OutOfMemory;

    std::array<unsigned char, HeaderSize> header {};
    std::copy(Magic, Magic + 4, header.begin());
    header[4] = Version;
    header[5] = KdfArgon2id;
    header[6] = CipherSecretStream;
    putWord(header.data() + 7, parameters.opsLimit);
    putWord(header.data() + 11, parameters.memLimitKiB);
    randombytes_buf(header.data() + 15, crypto_pwhash_SALTBYTES);

    KeyHolder k;
    const Status derived = derive(password, header.data() + 15, parameters, k.key);
    if (derived != Status::Ok)
        return derived;
    crypto_secretstream_xchacha20poly1305_state state;
    crypto_secretstream_xchacha20poly1305_init_push(&state, header.data() + 31, k.key.data());
    if (!DeviceIO::writeAll(out, reinterpret_cast<const char *>(header.data()), HeaderSize))
        return Status::WriteError;

    // One chunk is read ahead, so the last one is known when it is sealed.
    QByteArray current;
    QByteArray next;
    if (!DeviceIO::readUpTo(in, ChunkSize, &current))
        return Status::ReadError;
    QByteArray sealed(ChunkSize + ChunkOverhead, Qt::Uninitialized);
    bool first = true;
    for (;;) {
        if (current.size() == ChunkSize) {
            if (!DeviceIO::readUpTo(in, ChunkSize, &next))
                return Status::ReadError;
        } else {
            next.clear();
        }
        const bool last = next.isEmpty();
        unsigned long long sealedLength = 0;
        crypto_secretstream_xchacha20poly1305_push(&state, reinterpret_cast<unsigned char *>(sealed.data()),
            &sealedLength, bytes(current), quint64(current.size()), first ? header.data() : nullptr,
            first ? HeaderSize : 0,
            last ? crypto_secretstream_xchacha20poly1305_TAG_FINAL : crypto_secretstream_xchacha20poly1305_TAG_MESSAGE);
        first = false;
        if (!DeviceIO::writeAll(out, sealed.constData(), qint64(sealedLength)))
            return Status::WriteError;
        if (last)
            break;
        current.swap(next);
    }
    sodium_memzero(&state, sizeof state);
    return Status::Ok;
}

ProtectedContainer::Status ProtectedContainer::open(
    QIODevice &in, QIODevice &out, QByteArrayView password, const Limits &limits)
{
    if (!validPassword(password))
        return Status::InvalidPassword;
    if (!sodiumReady())
        return Status::OutOfMemory;

    QByteArray headerBytes;
    if (!DeviceIO::readUpTo(in, HeaderSize, &headerBytes))
        return Status::ReadError;
    Header header;
    const Status parsed = parseHeader(headerBytes, &header, limits);
    if (parsed != Status::Ok)
        return parsed;

    KeyHolder k;
    const Status derived = derive(password, bytes(header.salt), header.parameters, k.key);
    if (derived != Status::Ok)
        return derived;
    crypto_secretstream_xchacha20poly1305_state state;
    if (crypto_secretstream_xchacha20poly1305_init_pull(&state, bytes(header.streamHeader), k.key.data()) != 0)
        return Status::WrongPassword;

    QByteArray sealed;
    QByteArray plain(ChunkSize, Qt::Uninitialized);
    bool first = true;
    Status result = Status::Ok;
    for (;;) {
        if (!DeviceIO::readUpTo(in, ChunkSize + ChunkOverhead, &sealed)) {
            result = Status::ReadError;
            break;
        }
        if (sealed.isEmpty()) {
            result = Status::Truncated;
            break;
        }
        unsigned long long plainLength = 0;
        unsigned char tag = 0;
        if (sealed.size() < ChunkOverhead
            || crypto_secretstream_xchacha20poly1305_pull(&state, reinterpret_cast<unsigned char *>(plain.data()),
                   &plainLength, &tag, bytes(sealed), quint64(sealed.size()),
                   first ? reinterpret_cast<const unsigned char *>(headerBytes.constData()) : nullptr,
                   first ? HeaderSize : 0)
                != 0) {
            result = first ? Status::WrongPassword : Status::Damaged;
            break;
        }
        first = false;
        if (!DeviceIO::writeAll(out, plain.constData(), qint64(plainLength))) {
            result = Status::WriteError;
            break;
        }
        if (tag == crypto_secretstream_xchacha20poly1305_TAG_FINAL) {
            QByteArray rest;
            if (!DeviceIO::readUpTo(in, 1, &rest))
                result = Status::ReadError;
            else if (!rest.isEmpty())
                result = Status::TrailingData;
            break;
        }
        if (tag != crypto_secretstream_xchacha20poly1305_TAG_MESSAGE) {
            result = Status::Damaged;
            break;
        }
    }
    sodium_memzero(&state, sizeof state);
    sodium_memzero(plain.data(), size_t(plain.size()));
    return result;
}

ProtectedContainer::Status ProtectedContainer::sealBytes(
    QByteArrayView plain, QByteArray *out, QByteArrayView password, const KdfParameters &parameters)
{
    QByteArray input = plain.toByteArray();
    QBuffer source(&input);
    source.open(QIODevice::ReadOnly);
    QByteArray result;
    result.reserve(HeaderSize + plain.size() + (plain.size() / ChunkSize + 1) * ChunkOverhead);
    QBuffer sink(&result);
    sink.open(QIODevice::WriteOnly);
    const Status status = seal(source, sink, password, parameters);
    if (status == Status::Ok)
        *out = std::move(result);
    return status;
}

ProtectedContainer::Status ProtectedContainer::openBytes(
    QByteArrayView file, QByteArray *out, QByteArrayView password, const Limits &limits)
{
    QByteArray input = file.toByteArray();
    QBuffer source(&input);
    source.open(QIODevice::ReadOnly);
    QByteArray result;
    QBuffer sink(&result);
    sink.open(QIODevice::WriteOnly);
    const Status status = open(source, sink, password, limits);
    if (status == Status::Ok)
        *out = std::move(result);
    else
        sodium_memzero(result.data(), size_t(result.size()));
    return status;
}

bool ProtectedContainer::deriveKeyForTiming(QByteArrayView password, const KdfParameters &parameters)
{
    if (!sodiumReady())
        return false;
    unsigned char salt[crypto_pwhash_SALTBYTES] = {};
    KeyHolder k;
    return derive(password, salt, parameters, k.key) == Status::Ok;
}
