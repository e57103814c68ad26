#include "platform/rtf/RtfTextDecoder.h"

#include "platform/AnsiCodec.h"

#include <QStringDecoder>

namespace {

const char *icuName(int codePage)
{
    switch (codePage) {
    case 437:
        return "IBM437";
    case 737:
        return "ibm-737";
    case 775:
        return "IBM775";
    case 850:
        return "IBM850";
    case 852:
        return "IBM852";
    case 855:
        return "IBM855";
    case 857:
        return "IBM857";
    case 860:
        return "IBM860";
    case 861:
        return "IBM861";
    case 862:
        return "IBM862";
    case 863:
        return "IBM863";
    case 864:
        return "IBM864";
    case 865:
        return "IBM865";
    case 866:
        return "IBM866";
    case 869:
        return "IBM869";
    case 874:
        return "windows-874";
    case 932:
        return "windows-31j";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "windows-950";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    case 10000:
        return "macintosh";
    case 10001:
        return "windows-31j";
    case 10006:
        return "x-mac-greek";
    case 10007:
        return "x-mac-cyrillic";
    case 10029:
        return "x-mac-ce";
    case 10081:
        return "x-mac-turkish";
    case 20866:
        return "KOI8-R";
    case 21866:
        return "KOI8-U";
    case 20932:
    case 51932:
        return "EUC-JP";
    case 51949:
        return "EUC-KR";
    case 54936:
        return "GB18030";
    case 28591:
        return "ISO-8859-1";
    case 28592:
        return "ISO-8859-2";
    case 28595:
        return "ISO-8859-5";
    case 28597:
        return "ISO-8859-7";
    case 28599:
        return "ISO-8859-9";
    case 28605:
        return "ISO-8859-15";
    case 65001:
        return "UTF-8";
    default:
        return nullptr;
    }
}

} // namespace

RtfTextDecoder::RtfTextDecoder() = default;
RtfTextDecoder::~RtfTextDecoder() = default;

int RtfTextDecoder::codePageForCharset(int charset, int documentCodePage)
{
    switch (charset) {
    case 0:
        return kAnsiCodePage;
    case 2:
        return kSymbolCodePage;
    case 77:
        return 10000;
    case 78:
        return 10001;
    case 81:
        return 950;
    case 83:
        return 1255;
    case 84:
        return 1256;
    case 85:
        return 10006;
    case 86:
        return 10081;
    case 87:
        return 874;
    case 88:
        return 10029;
    case 89:
        return 10007;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return documentCodePage;
    }
}

QStringDecoder *RtfTextDecoder::decoderFor(int codePage)
{
    auto it = m_decoders.constFind(codePage);
    if (it != m_decoders.constEnd())
        return it->get();
    std::shared_ptr<QStringDecoder> decoder;
    if (const char *name = icuName(codePage)) {
        decoder = std::make_shared<QStringDecoder>(name, QStringConverter::Flag::Stateless);
        if (!decoder->isValid())
            decoder.reset();
    }
    m_decoders.insert(codePage, decoder);
    return decoder.get();
}

bool RtfTextDecoder::isSupported(int codePage)
{
    return codePage == kAnsiCodePage || codePage == kSymbolCodePage || decoderFor(codePage);
}

QString RtfTextDecoder::decode(QByteArrayView bytes, int codePage)
{
    if (bytes.isEmpty())
        return QString();
    if (codePage == kSymbolCodePage) {
        QString out(bytes.size(), Qt::Uninitialized);
        for (qsizetype i = 0; i < bytes.size(); ++i)
            out[i] = QChar(char16_t(quint8(bytes[i])));
        return out;
    }
    if (codePage != kAnsiCodePage) {
        if (QStringDecoder *decoder = decoderFor(codePage))
            return decoder->decode(bytes);
    }
    return AnsiCodec::toUnicode(bytes);
}
