#include "platform/rtf/RtfDocumentCodec.h"

#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

#include <QTextDocument>

bool RtfDocumentCodec::read(QByteArrayView rtf, QTextDocument &into, QString *error)
{
    RtfReader reader;
    return reader.read(rtf, into, error);
}

QByteArray RtfDocumentCodec::write(const QTextDocument &doc, int from, int to)
{
    RtfWriter writer(doc);
    return writer.write(from, to);
}

RtfCodec &defaultRtfCodec()
{
    static RtfDocumentCodec codec;
    return codec;
}
