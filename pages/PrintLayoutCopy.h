#pragma once

#include <QObject>
#include <QPicture>
#include <QPointer>
#include <QRect>
#include <QTextCharFormat>
#include <QTextDocument>

#include <memory>
#include <vector>

class QPainter;
class QTextList;
class ResolutionDevice;

// A private copy of a rich text document laid out at a printer's resolution, and the cut of that
// layout into pages. The copy is what pages are drawn from, so a page never mixes two states of
// the text: whatever happens to the source meanwhile, the copy changes only in sync().
//
// The copy follows its source paragraph by paragraph: sync() replaces only the paragraphs the
// source changed since the last sync and lets the layout redo just those, so keeping the pages
// of a long document current costs about the size of the edit, not of the document. Documents
// with tables are copied whole on every sync.
//
// Positions at the interface count characters of the source (a paragraph break counts as one).
// Hidden text takes no room and is not drawn. A paragraph that asks for a page break before it
// starts a page; every page holds at least one line, so a line taller than the page gets a page
// of its own.
class PrintLayoutCopy : public QObject
{
    Q_OBJECT

public:
    explicit PrintLayoutCopy(const QTextDocument *source, QObject *parent = nullptr);
    ~PrintLayoutCopy() override;

    // One page of the cut: source positions [start, end), its lines in the copy's line list, and
    // a signature that is equal for two pages exactly when they draw the same (same paragraphs
    // in the same state, the same lines of them, the same list numbers).
    struct Page
    {
        int start = 0;
        int end = 0;
        int firstLine = 0;
        int endLine = 0;
        quint64 signature = 0;
    };

    // Brings the copy to the source's current text, laid out for a text width in twips at a
    // resolution. Cheap when nothing changed.
    void sync(int dpiX, int dpiY, int widthTwips);
    // True when the source changed since the last sync (or there was none).
    bool outOfDate() const;
    // Cuts the copy (as of the last sync) into pages of the given height in twips. Never empty.
    std::vector<Page> cut(int heightTwips);
    // Grows with every sync that changed the copy; pages cut before belong to an older layout.
    quint64 generation() const { return m_generation; }
    // The number of source positions as of the last sync.
    int textLength() const { return m_length; }

    // Records a page as a picture of widthTwips x heightTwips whose bounding rectangle is that
    // rectangle in the picture's own units, set before anything is drawn.
    QPicture pagePicture(const Page &page, int widthTwips, int heightTwips) const;
    // Draws a page into rectTwips (twips of the painter's device).
    void drawPage(QPainter &painter, const Page &page, const QRect &rectTwips) const;

    // The full copy made since construction (for tests and benchmarks): how many paragraphs the
    // syncs copied in all.
    qint64 copiedParagraphs() const { return m_copiedBlocks; }

private:
    struct Line
    {
        qreal top;
        qreal bottom;
        int block;
        int lineInBlock;
        int start; // source position
        bool breakBefore;
        int blockStart; // source position of the paragraph
        quint32 blockId;
        const QTextList *list;
    };

    void onSourceChanged(int position, int removed, int added);
    void rebuild();
    void replaceBlocks(int head, int tail);
    void copyBlock(QTextCursor &cursor, const QTextBlock &source, bool intoCurrentBlock);
    void copyResources(const QTextCharFormat &format);
    QTextList *listFor(QTextList *sourceList, int replacedFrom);
    void collectLines();
    // Appends the lines of the copy's paragraphs [from, to); returns the source position after
    // them.
    int appendLines(int from, int to, int sourcePosition);
    bool sourceHasFrames() const;

    QPointer<const QTextDocument> m_source;
    std::unique_ptr<QTextDocument> m_copy;
    std::unique_ptr<ResolutionDevice> m_device;
    std::vector<Line> m_lines;
    int m_dpiX = 0;
    int m_dpiY = 0;
    int m_widthTwips = -1;
    qreal m_widthPixels = 0;
    int m_length = 0;
    bool m_built = false;
    bool m_linesValid = false;
    // What the last sync replaced, for collecting only its lines: paragraphs kept at the start
    // and at the end, and the paragraph count the lines were collected for.
    bool m_replaced = false;
    int m_replacedHead = 0;
    int m_replacedTail = 0;
    int m_linesBlockCount = 0;
    // Paragraphs unchanged since the last sync: the first m_head and the last m_tail.
    int m_head = 0;
    int m_tail = 0;
    bool m_dirty = true;
    int m_pendingTail = 0;
    quint32 m_nextId = 1;
    quint64 m_generation = 0;
    qint64 m_copiedBlocks = 0;
};
