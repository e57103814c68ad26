#include "platform/rtf/RtfDocumentBuilder.h"

#include "platform/RichTextProperties.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument &doc)
    : m_doc(doc)
    , m_cursor(&doc)
{ }

void RtfDocumentBuilder::insertText(const QString &text, const QTextCharFormat &format, int tableLevel)
{
    if (text.isEmpty())
        return;
    ensureParagraph(tableLevel);
    m_cursor.insertText(text, format);
    m_paragraphHasContent = true;
}

void RtfDocumentBuilder::insertImage(const QTextImageFormat &format, int tableLevel)
{
    ensureParagraph(tableLevel);
    m_cursor.insertImage(format);
    m_paragraphHasContent = true;
}

void RtfDocumentBuilder::endParagraph(const QTextBlockFormat &format, const ListRef &list, int tableLevel)
{
    ensureParagraph(tableLevel);
    applyBlockFormat(format, list);
    m_paragraphOpen = false;
    m_paragraphHasContent = false;
    m_needNewBlock = true;
}

void RtfDocumentBuilder::endCell(const QTextBlockFormat &format, const ListRef &list, int tableLevel)
{
    tableLevel = qBound(1, tableLevel, kMaxTableLevel);
    if (m_paragraphOpen && int(m_tables.size()) < tableLevel)
        m_paragraphOpen = false; // the cell's text started outside a table: the cell begins here
    ensureParagraph(tableLevel);
    applyBlockFormat(format, list);
    TableContext &ctx = m_tables[tableLevel - 1];
    ++ctx.column;
    ctx.moveToCell = true;
    m_paragraphOpen = false;
    m_paragraphHasContent = false;
    m_needNewBlock = false;
}

void RtfDocumentBuilder::endRow(int tableLevel, const QList<int> &cellRightEdges)
{
    tableLevel = qBound(1, tableLevel, kMaxTableLevel);
    if (int(m_tables.size()) < tableLevel)
        return; // a row definition without cells
    while (int(m_tables.size()) > tableLevel)
        closeTable();
    TableContext &ctx = m_tables.back();
    QTextTable *table = ctx.table;
    const int cells = qMax(ctx.column, int(cellRightEdges.size()));
    if (cells > table->columns())
        table->appendColumns(cells - table->columns());
    if (int(cellRightEdges.size()) > ctx.widthColumns && cellRightEdges.size() >= table->columns()) {
        QList<QTextLength> widths;
        int left = 0;
        for (int edge : cellRightEdges) {
            const int width = qMax(0, edge - left);
            widths.append(QTextLength(QTextLength::FixedLength, RichText::twipsToPixels(width)));
            left = qMax(left, edge);
        }
        QTextTableFormat tf = table->format();
        tf.setColumnWidthConstraints(widths);
        table->setFormat(tf);
        ctx.widthColumns = int(cellRightEdges.size());
    }
    ++ctx.row;
    ctx.column = 0;
    ctx.moveToCell = true;
    m_paragraphOpen = false;
    m_paragraphHasContent = false;
    m_needNewBlock = false;
}

void RtfDocumentBuilder::finish(const QTextBlockFormat &format, const ListRef &list)
{
    if (m_paragraphOpen) {
        applyBlockFormat(format, list);
        m_paragraphOpen = false;
    }
    while (!m_tables.isEmpty())
        closeTable();
    if (m_needNewBlock) {
        // A closing paragraph mark leaves an empty last paragraph, as in the program that wrote it.
        m_cursor.insertBlock(QTextBlockFormat());
        applyBlockFormat(format, list);
        m_needNewBlock = false;
    }
}

void RtfDocumentBuilder::ensureParagraph(int tableLevel)
{
    if (m_paragraphOpen)
        return;
    tableLevel = qBound(0, tableLevel, kMaxTableLevel);
    while (int(m_tables.size()) > tableLevel)
        closeTable();
    if (!m_tables.isEmpty() && m_tables.back().moveToCell) {
        moveToCell(m_tables.back());
        m_needNewBlock = false;
    }
    if (int(m_tables.size()) < tableLevel) {
        while (int(m_tables.size()) < tableLevel)
            openTable();
    } else if (m_needNewBlock) {
        m_cursor.insertBlock(QTextBlockFormat());
    }
    m_needNewBlock = false;
    m_paragraphOpen = true;
    m_paragraphHasContent = false;
}

void RtfDocumentBuilder::openTable()
{
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setCellPadding(3);
    format.setCellSpacing(0);
    format.setBorderCollapse(true);
    TableContext ctx;
    ctx.table = m_cursor.insertTable(1, 1, format);
    m_tables.append(ctx);
}

void RtfDocumentBuilder::closeTable()
{
    const TableContext ctx = m_tables.takeLast();
    m_cursor.setPosition(ctx.table->lastPosition() + 1);
    m_needNewBlock = false;
}

void RtfDocumentBuilder::moveToCell(TableContext &ctx)
{
    QTextTable *table = ctx.table;
    if (ctx.row >= table->rows())
        table->appendRows(ctx.row - table->rows() + 1);
    if (ctx.column >= table->columns())
        table->appendColumns(ctx.column - table->columns() + 1);
    m_cursor = table->cellAt(ctx.row, ctx.column).firstCursorPosition();
    ctx.moveToCell = false;
}

void RtfDocumentBuilder::applyBlockFormat(const QTextBlockFormat &read, const ListRef &list)
{
    QTextBlockFormat format = read;
    if (!list.key.isEmpty())
        RichText::setFirstLineIndent(format, read.textIndent(), true);
    m_cursor.setBlockFormat(format);
    const QTextBlock block = m_cursor.block();
    QTextList *current = block.textList();
    if (list.key.isEmpty()) {
        if (current)
            current->remove(block);
        return;
    }
    QTextList *target = m_lists.value(list.key).data();
    if (current == target && target)
        return;
    if (current)
        current->remove(block);
    if (!target) {
        m_lists.insert(list.key, m_cursor.createList(list.format));
        return;
    }
    target->add(block);
}
