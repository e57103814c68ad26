#pragma once

#include <QByteArray>
#include <QString>

// The 8-bit ANSI code page of the program: Windows-1252. Every character outside it becomes "?"
// when encoding; every byte decodes to exactly one character (the five bytes the code page leaves
// undefined decode to the C1 control of the same value, so bytes round-trip unchanged).
namespace AnsiCodec {

QByteArray fromUnicode(QStringView text);
QString toUnicode(QByteArrayView bytes);

// The byte for one character, or '?' when the code page has none.
char encodeChar(char32_t ch);
char16_t decodeByte(unsigned char byte);
// True when the character has a byte of its own in the code page.
bool canEncode(char32_t ch);

} // namespace AnsiCodec
