#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// Reads and writes Rich Text Format for the rich text control. The reader replaces the content of
// a document; the writer writes a range of characters of a document (positions count characters,
// a paragraph break counts as one).
class RtfCodec
{
public:
    virtual ~RtfCodec() = default;

    // False, with a message in *error, when the bytes are not rich text; the document is then left
    // empty. Damaged rich text is read as far as it goes and returns true.
    virtual bool read(QByteArrayView rtf, QTextDocument &into, QString *error) = 0;

    // The characters [from, to) of the document; to = -1 means to the end.
    virtual QByteArray write(const QTextDocument &doc, int from = 0, int to = -1) = 0;

    // The codec the program uses; tests may install another one (nullptr restores the default).
    static RtfCodec &instance();
    static void setInstance(RtfCodec *codec);
};

// Provided by platform/rtf: the program's rich text reader and writer.
RtfCodec &defaultRtfCodec();
