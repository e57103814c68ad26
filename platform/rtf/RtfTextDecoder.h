#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <memory>

class QStringDecoder;

// Decodes the 8-bit text of rich text by Windows code page number (double-byte code pages
// included). Code page kSymbolCodePage keeps every byte as the character of the same value, which
// is how symbol fonts are addressed.
class RtfTextDecoder
{
public:
    static constexpr int kSymbolCodePage = 2;
    static constexpr int kAnsiCodePage = 1252;

    RtfTextDecoder();
    ~RtfTextDecoder();

    QString decode(QByteArrayView bytes, int codePage);

    // The code page of a \fcharset value: 0 (ANSI) is Windows-1252, 1 (default), unknown values and
    // fonts without a charset (-1) use the document's code page.
    static int codePageForCharset(int charset, int documentCodePage);
    // True when the code page has a decoder here (1252, the symbol page and those ICU knows).
    bool isSupported(int codePage);

private:
    QStringDecoder *decoderFor(int codePage);

    QHash<int, std::shared_ptr<QStringDecoder>> m_decoders;
};
