#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QRgb>
#include <QString>
#include <QTextObject>

class QTextBlock;
class QTextBlockFormat;
class QTextCharFormat;
class QTextDocument;
class QTextImageFormat;
class QTextTable;
class QTextTableCell;

// Writes a range of a QTextDocument as rich text: {\rtf1\ansi\ansicpg1252\deff0 with a font
// table, a colour table, list tables, the title, then one group per run of equal character
// formatting and the paragraph properties of every paragraph. Characters outside Windows-1252 are
// written as \uN?, symbol-font text as its bytes, pictures as their original data (new pictures
// as PNG), tables as \trowd ... \row, links as HYPERLINK fields. Numbers are written without any
// locale, so the output depends on the document only.
class RtfWriter
{
public:
    explicit RtfWriter(const QTextDocument &doc);

    // The characters [from, to) (positions as QTextCursor counts them); to = -1: to the end.
    QByteArray write(int from = 0, int to = -1);

private:
    struct FontKey
    {
        QString family;
        int charset = 0;
        bool operator==(const FontKey &) const = default;
    };
    friend size_t qHash(const FontKey &key, size_t seed) noexcept { return qHashMulti(seed, key.family, key.charset); }

    void collect();
    void collectFormat(const QTextCharFormat &format);
    int fontIndex(const QString &family, int charset);
    int colourIndex(QRgb rgb);
    QString familyOf(const QTextCharFormat &format) const;
    int charsetOf(const QTextCharFormat &format) const;

    void writeHeader();
    void writeFrameContent(const QTextFrame *frame, int tableLevel);
    void writeItems(QTextFrame::iterator it, int tableLevel, bool inCell);
    void writeTable(const QTextTable *table, int tableLevel);
    void writeBlock(const QTextBlock &block, int tableLevel, const QByteArray &terminator);
    void writeParagraphProperties(const QTextBlock &block, int tableLevel);
    void writeRuns(const QTextBlock &block);
    void writeCharProperties(const QTextCharFormat &format);
    // How a run's characters are written: Windows-1252 bytes (charset 0), the bytes of a symbol
    // font, or \uN for every character beyond ASCII (fonts of other charsets, whose bytes a reader
    // decodes in their own code page).
    enum class TextEncoding { Ansi, Symbol, Unicode };
    static TextEncoding encodingFor(int charset);
    void writeText(QStringView text, TextEncoding encoding = TextEncoding::Ansi);
    void writePicture(const QTextImageFormat &format);
    void writeRowDefinition(const QTextTable *table, int tableLevel);
    void writeNumbering(const QTextList *list);
    void writeListTables();
    void writeNumber(const char *word, qint64 value);

    bool intersects(int first, int last) const;

    const QTextDocument &m_doc;
    QByteArray m_out;
    int m_from = 0;
    int m_to = 0;
    int m_end = 0;
    QList<FontKey> m_fonts;
    QHash<FontKey, int> m_fontIndex;
    QList<QRgb> m_colours;
    QHash<QRgb, int> m_colourIndex;
    QList<const QTextList *> m_lists;
    QHash<const QTextList *, int> m_listIndex;
    int m_symbolFont = -1;
    QString m_defaultFamily;
    double m_defaultPointSize = 12;
};
