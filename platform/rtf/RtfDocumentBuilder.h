#pragma once

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextList>
#include <QTextListFormat>

class QTextDocument;
class QTextImageFormat;
class QTextList;
class QTextTable;

// Puts what the reader found into a document: text runs, paragraphs, lists, table cells and rows
// and pictures. Paragraph properties arrive when a paragraph ends, as in rich text. Table levels
// count from 1 for a table in the body; 0 is the body itself.
class RtfDocumentBuilder
{
public:
    // A paragraph's list: paragraphs with the same key share one QTextList.
    struct ListRef
    {
        QString key; // empty: not in a list
        QTextListFormat format;
    };

    static constexpr int kMaxTableLevel = 16;

    explicit RtfDocumentBuilder(QTextDocument &doc);

    void insertText(const QString &text, const QTextCharFormat &format, int tableLevel);
    void insertImage(const QTextImageFormat &format, int tableLevel);
    // \par: ends the current paragraph with the given properties.
    void endParagraph(const QTextBlockFormat &format, const ListRef &list, int tableLevel);
    // \cell / \nestcell: ends the paragraph and the cell at that level.
    void endCell(const QTextBlockFormat &format, const ListRef &list, int tableLevel);
    // \row / \nestrow: ends the row; cell right edges in twips from the row's left.
    void endRow(int tableLevel, const QList<int> &cellRightEdges);
    // Ends the document: closes tables and gives the last paragraph its properties.
    void finish(const QTextBlockFormat &format, const ListRef &list);

    // True when the current paragraph holds text or a picture already.
    bool paragraphHasContent() const { return m_paragraphHasContent; }

private:
    struct TableContext
    {
        QTextTable *table = nullptr;
        int row = 0;
        int column = 0;
        bool moveToCell = false;
        int widthColumns = 0; // columns whose widths were set from a row definition
    };

    void ensureParagraph(int tableLevel);
    void openTable();
    void closeTable();
    void moveToCell(TableContext &ctx);
    void applyBlockFormat(const QTextBlockFormat &format, const ListRef &list);

    QTextDocument &m_doc;
    QTextCursor m_cursor;
    QList<TableContext> m_tables;
    QHash<QString, QPointer<QTextList>> m_lists;
    bool m_paragraphOpen = false;
    bool m_paragraphHasContent = false;
    bool m_needNewBlock = false;
};
