#include "editor/CompressedRtf.h"

#include <zlib.h>

#include <algorithm>

namespace {

QString zlibMessage(const z_stream &stream, int code)
{
    if (stream.msg)
        return QString::fromLatin1(stream.msg);
    switch (code) {
    case Z_BUF_ERROR:
        return QStringLiteral("unexpected end of compressed data");
    case Z_MEM_ERROR:
        return QStringLiteral("out of memory");
    case Z_DATA_ERROR:
        return QStringLiteral("invalid compressed data");
    default:
        return QStringLiteral("error %1").arg(code);
    }
}

} // namespace

QByteArray CompressedRtf::compress(QByteArrayView data, int level)
{
    z_stream stream {};
    if (deflateInit(&stream, level) != Z_OK)
        return {};
    QByteArray out(qsizetype(deflateBound(&stream, uLong(data.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    const int rc = deflate(&stream, Z_FINISH);
    const qsizetype written = qsizetype(stream.total_out);
    deflateEnd(&stream);
    if (rc != Z_STREAM_END)
        return {};
    out.resize(written);
    return out;
}

std::optional<QByteArray> CompressedRtf::decompress(QByteArrayView data, QString *error)
{
    const auto fail = [error](const QString &why) -> std::optional<QByteArray> {
        if (error)
            *error = QStringLiteral("Decompression error: %1").arg(why);
        return std::nullopt;
    };
    z_stream stream {};
    if (inflateInit(&stream) != Z_OK)
        return fail(QStringLiteral("cannot start"));
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.data()));
    stream.avail_in = uInt(data.size());

    QByteArray out;
    constexpr qsizetype chunk = 64 * 1024;
    int rc = Z_OK;
    while (rc == Z_OK) {
        if (out.size() >= MaxDecompressedSize) {
            inflateEnd(&stream);
            return fail(QStringLiteral("document too large"));
        }
        const qsizetype before = out.size();
        out.resize(before + std::min(chunk, MaxDecompressedSize - before + 1));
        stream.next_out = reinterpret_cast<Bytef *>(out.data() + before);
        stream.avail_out = uInt(out.size() - before);
        rc = inflate(&stream, Z_NO_FLUSH);
        out.resize(qsizetype(stream.total_out));
        if (rc == Z_BUF_ERROR && stream.avail_in == 0)
            break; // the input ended before the stream did
    }
    const QString why = rc == Z_STREAM_END ? QString() : zlibMessage(stream, rc);
    inflateEnd(&stream);
    if (rc != Z_STREAM_END)
        return fail(why);
    return out;
}
