#pragma once

#include "platform/RtfCodec.h"

// The program's rich text codec: RtfReader and RtfWriter behind the RtfCodec interface.
class RtfDocumentCodec final : public RtfCodec
{
public:
    bool read(QByteArrayView rtf, QTextDocument &into, QString *error) override;
    QByteArray write(const QTextDocument &doc, int from = 0, int to = -1) override;
};
