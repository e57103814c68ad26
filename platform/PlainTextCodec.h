#pragma once

#include <QByteArray>
#include <QString>

// Plain-text files: ANSI files are Windows-1252, Unicode files UTF-16LE with a byte-order mark.
// Reading detects a UTF-16 (LE/BE) or UTF-8 byte-order mark, then valid UTF-8, else Windows-1252,
// so UTF-8 text written on Linux opens correctly.
namespace PlainTextCodec {

enum class Encoding { Ansi, Utf8, Utf16LE, Utf16BE };

Encoding detect(QByteArrayView bytes);
QString decode(QByteArrayView bytes, Encoding *detected = nullptr);

QByteArray encodeAnsi(QStringView text);
QByteArray encodeUtf16LE(QStringView text, bool withBom = true);

bool isValidUtf8(QByteArrayView bytes);

} // namespace PlainTextCodec
