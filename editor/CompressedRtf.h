#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The ".rtc" container: a zlib stream (RFC 1950: two-byte header, deflate data, Adler-32) whose
// content is Rich Text Format. Documents are written at level 1, the fastest.
class CompressedRtf
{
public:
    static constexpr int WriteLevel = 1;
    // Decompressed documents larger than this are refused rather than exhausting memory.
    static constexpr qsizetype MaxDecompressedSize = qsizetype(1) << 30;

    static QByteArray compress(QByteArrayView data, int level = WriteLevel);
    // nullopt, with the reason in *error ("Decompression error: incorrect header check"), when
    // the bytes are not one complete zlib stream.
    static std::optional<QByteArray> decompress(QByteArrayView data, QString *error = nullptr);
};
