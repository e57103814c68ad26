#include "pages/PrintLayoutCopy.h"

#include "editor/richtext/ResolutionDevice.h"
#include "platform/RichTextProperties.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>
#include <QUrl>

#include <QHash>

#include <algorithm>

namespace {

// The hidden text a paragraph of the copy lacks: where each hidden run collapsed (offset in the
// copy's paragraph) and how many characters were left out up to and including it.
class HiddenRuns : public QTextBlockUserData
{
public:
    std::vector<std::pair<int, int>> runs;
    int removed() const { return runs.empty() ? 0 : runs.back().second; }
    int toSource(int copyOffset) const
    {
        auto it = std::upper_bound(runs.begin(), runs.end(), copyOffset,
            [](int offset, const std::pair<int, int> &run) { return offset < run.first; });
        return copyOffset + (it == runs.begin() ? 0 : std::prev(it)->second);
    }
};

const HiddenRuns *hiddenRuns(const QTextBlock &block)
{
    return static_cast<const HiddenRuns *>(block.userData());
}

bool breaksBefore(const QTextBlock &b)
{
    if (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        return true;
    const QTextBlock prev = b.previous();
    return prev.isValid() && (prev.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter);
}

// Qt scales vertical block lengths, line heights and tab stops to the measuring device, but not
// the left and right margins and the first-line indent: those are scaled in the copy.
QTextBlockFormat copiedBlockFormat(QTextBlockFormat format, qreal fx, bool otherDocument = true)
{
    // The list a paragraph belongs to is an object of its own document.
    if (otherDocument)
        format.clearProperty(QTextFormat::ObjectIndex);
    if (!qFuzzyCompare(fx, 1.0)) {
        if (format.leftMargin() != 0)
            format.setLeftMargin(format.leftMargin() * fx);
        if (format.rightMargin() != 0)
            format.setRightMargin(format.rightMargin() * fx);
        if (format.textIndent() != 0)
            format.setTextIndent(format.textIndent() * fx);
    }
    return format;
}

QTextCharFormat copiedCharFormat(QTextCharFormat format)
{
    format.clearProperty(QTextFormat::ObjectIndex);
    return format;
}

QTextListFormat copiedListFormat(QTextListFormat format)
{
    format.clearProperty(QTextFormat::ObjectIndex);
    return format;
}

quint64 mix(quint64 hash, quint64 value)
{
    hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
    return hash;
}

} // namespace

PrintLayoutCopy::PrintLayoutCopy(const QTextDocument *source, QObject *parent)
    : QObject(parent)
    , m_source(source)
{
    if (source)
        connect(source, &QTextDocument::contentsChange, this, &PrintLayoutCopy::onSourceChanged);
}

PrintLayoutCopy::~PrintLayoutCopy() = default;

void PrintLayoutCopy::onSourceChanged(int position, int, int added)
{
    if (!m_built || (m_dirty && m_head == 0 && m_tail == 0)) {
        m_dirty = true;
        return;
    }
    const QTextDocument *source = m_source;
    const QTextBlock first = source->findBlock(position);
    QTextBlock last = source->findBlock(position + added);
    if (!last.isValid())
        last = source->lastBlock();
    const int head = first.isValid() ? first.blockNumber() : 0;
    const int tail = std::max(0, source->blockCount() - 1 - last.blockNumber());
    if (!m_dirty) {
        m_head = head;
        m_tail = tail;
    } else {
        m_head = std::min(m_head, head);
        m_tail = std::min(m_tail, tail);
    }
    m_dirty = true;
}

bool PrintLayoutCopy::outOfDate() const
{
    return m_dirty || !m_built;
}

bool PrintLayoutCopy::sourceHasFrames() const
{
    return m_source && !m_source->rootFrame()->childFrames().isEmpty();
}

void PrintLayoutCopy::sync(int dpiX, int dpiY, int widthTwips)
{
    if (!m_source)
        return;
    dpiX = dpiX > 0 ? dpiX : 96;
    dpiY = dpiY > 0 ? dpiY : 96;
    const bool sameGeometry = m_built && dpiX == m_dpiX && dpiY == m_dpiY && widthTwips == m_widthTwips;
    const bool sameDocumentSettings = m_built && m_copy->defaultFont() == m_source->defaultFont()
        && m_copy->indentWidth() == m_source->indentWidth() * m_dpiX / RichText::kLayoutDpi;
    if (sameGeometry && sameDocumentSettings && !m_dirty)
        return;
    m_dpiX = dpiX;
    m_dpiY = dpiY;
    m_widthTwips = widthTwips;
    m_widthPixels = std::max(1.0, widthTwips * dpiX / 1440.0);
    const bool linesWereValid = m_linesValid;
    if (!sameGeometry || !sameDocumentSettings || sourceHasFrames() || !m_built) {
        rebuild();
        m_replaced = false;
    } else {
        const int sourceBlocks = m_source->blockCount();
        const int copyBlocks = m_copy->blockCount();
        const int head = std::max(0, std::min({ m_head, sourceBlocks - 1, copyBlocks - 1 }));
        const int tail = std::max(0, std::min({ m_tail, sourceBlocks - 1 - head, copyBlocks - 1 - head }));
        // The lines of the paragraphs kept are taken over when they describe the copy as it was.
        m_replaced = linesWereValid && !m_lines.empty();
        m_replacedHead = head;
        m_replacedTail = tail;
        m_linesBlockCount = copyBlocks;
        replaceBlocks(head, tail);
    }
    m_dirty = false;
    m_head = 0;
    m_tail = 0;
    m_linesValid = false;
    ++m_generation;
    m_copy->documentLayout()->documentSize(); // lays out what changed
}

void PrintLayoutCopy::rebuild()
{
    // The whole document in one piece (Qt copies it much faster than paragraph by paragraph),
    // then what the copy changes: hidden text out, horizontal indents scaled, paragraph ids.
    m_device = std::make_unique<ResolutionDevice>(m_dpiX, m_dpiY);
    m_copy.reset(m_source->clone());
    m_built = true;
    QTextDocument &copy = *m_copy;
    copy.setUndoRedoEnabled(false);
    copy.setPageSize(QSizeF(0, 0)); // no layout until the copy is complete
    copy.setIndentWidth(m_source->indentWidth() * m_dpiX / RichText::kLayoutDpi);
    copy.setDocumentMargin(0);
    copy.documentLayout()->setPaintDevice(m_device.get());
    const qreal fx = m_dpiX / RichText::kLayoutDpi;
    QTextCursor c(&copy);
    c.beginEditBlock();
    for (QTextBlock b = copy.begin(); b.isValid(); b = b.next()) {
        QTextBlockFormat f = b.blockFormat();
        if (f.leftMargin() != 0 || f.rightMargin() != 0 || f.textIndent() != 0) {
            c.setPosition(b.position());
            c.setBlockFormat(copiedBlockFormat(f, fx, false));
        }
        std::vector<std::pair<int, int>> hidden;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && fragment.charFormat().boolProperty(RichText::Hidden))
                hidden.emplace_back(fragment.position() - b.position(), fragment.length());
        }
        if (!hidden.empty()) {
            auto *runs = new HiddenRuns;
            int total = 0;
            for (const auto &[offset, length] : hidden) {
                runs->runs.emplace_back(offset - total, total + length);
                total += length;
            }
            for (auto it = hidden.rbegin(); it != hidden.rend(); ++it) {
                c.setPosition(b.position() + it->first);
                c.setPosition(b.position() + it->first + it->second, QTextCursor::KeepAnchor);
                c.removeSelectedText();
            }
            b.setUserData(runs);
        }
        b.setUserState(int(m_nextId++));
    }
    c.endEditBlock();
    m_copiedBlocks += copy.blockCount();
    copy.setTextWidth(m_widthPixels);
}

void PrintLayoutCopy::copyResources(const QTextCharFormat &format)
{
    if (!format.isImageFormat())
        return;
    const QString name = format.toImageFormat().name();
    if (name.isEmpty())
        return;
    const QUrl url(name);
    if (m_copy->resource(QTextDocument::ImageResource, url).isValid())
        return;
    const QVariant image = m_source->resource(QTextDocument::ImageResource, url);
    if (image.isValid())
        m_copy->addResource(QTextDocument::ImageResource, url, image);
}

void PrintLayoutCopy::copyBlock(QTextCursor &cursor, const QTextBlock &source, bool intoCurrentBlock)
{
    const qreal fx = m_dpiX / RichText::kLayoutDpi;
    const QTextBlockFormat blockFormat = copiedBlockFormat(source.blockFormat(), fx);
    const QTextCharFormat charFormat = copiedCharFormat(source.charFormat());
    if (intoCurrentBlock) {
        QTextBlock current = cursor.block();
        if (QTextList *old = current.textList())
            old->remove(current);
        cursor.setBlockFormat(blockFormat);
        cursor.setBlockCharFormat(charFormat);
    } else {
        cursor.insertBlock(blockFormat, charFormat);
    }
    QTextBlock target = cursor.block();
    if (QTextList *list = source.textList()) {
        if (QTextList *mapped = listFor(list, target.blockNumber()))
            mapped->add(target);
        else
            cursor.createList(copiedListFormat(list->format()));
        target = cursor.block();
    }
    HiddenRuns *runs = nullptr;
    int removed = 0;
    for (auto it = source.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        const QTextCharFormat format = fragment.charFormat();
        if (format.boolProperty(RichText::Hidden)) {
            if (!runs)
                runs = new HiddenRuns;
            removed += fragment.length();
            runs->runs.emplace_back(cursor.position() - target.position(), removed);
            continue;
        }
        copyResources(format);
        cursor.insertText(fragment.text(), copiedCharFormat(format));
    }
    target.setUserData(runs);
    target.setUserState(int(m_nextId++));
    ++m_copiedBlocks;
}

QTextList *PrintLayoutCopy::listFor(QTextList *sourceList, int replacedFrom)
{
    // The copy's list is the one that holds the copy of another item of the same source list
    // already copied (items before this paragraph are in the copy already, items after it that
    // were not replaced too).
    const int count = sourceList->count();
    if (count == 0)
        return nullptr;
    const int firstNumber = sourceList->item(0).blockNumber();
    if (firstNumber < replacedFrom) {
        if (QTextList *list = m_copy->findBlockByNumber(firstNumber).textList())
            return list;
    }
    // Items after the replaced paragraphs: their copies sit at the same distance from the end.
    if (m_pendingTail > 0) {
        const int distance = m_source->blockCount() - 1 - sourceList->item(count - 1).blockNumber();
        if (distance < m_pendingTail) {
            if (QTextList *list = m_copy->findBlockByNumber(m_copy->blockCount() - 1 - distance).textList())
                return list;
        }
    }
    return nullptr;
}

void PrintLayoutCopy::replaceBlocks(int head, int tail)
{
    QTextDocument &copy = *m_copy;
    const int copyLast = copy.blockCount() - 1 - tail;
    const int sourceLast = m_source->blockCount() - 1 - tail;
    const QTextBlock firstCopy = copy.findBlockByNumber(head);
    const QTextBlock lastCopy = copy.findBlockByNumber(copyLast);
    QTextCursor cursor(&copy);
    cursor.beginEditBlock();
    cursor.setPosition(firstCopy.position());
    cursor.setPosition(lastCopy.position() + lastCopy.length() - 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    m_pendingTail = tail;
    bool first = true;
    for (QTextBlock b = m_source->findBlockByNumber(head); b.isValid() && b.blockNumber() <= sourceLast; b = b.next()) {
        copyBlock(cursor, b, first);
        first = false;
    }
    m_pendingTail = 0;
    cursor.endEditBlock();
}

int PrintLayoutCopy::appendLines(int from, int to, int sourcePosition)
{
    QAbstractTextDocumentLayout *layout = m_copy->documentLayout();
    for (QTextBlock b = m_copy->findBlockByNumber(from); b.isValid() && b.blockNumber() < to; b = b.next()) {
        const QTextLayout *tl = b.layout();
        const HiddenRuns *runs = hiddenRuns(b);
        const QRectF r = layout->blockBoundingRect(b);
        const bool breakBlock = breaksBefore(b);
        const int number = b.blockNumber();
        const quint32 id = quint32(b.userState());
        const QTextList *list = b.textList();
        auto toSource = [&](int offset) { return sourcePosition + (runs ? runs->toSource(offset) : offset); };
        const int lines = tl ? tl->lineCount() : 0;
        for (int i = 0; i < lines; ++i) {
            // A line's slot starts where the one before it ended (a fixed line height puts the
            // glyphs lower inside the slot).
            const QTextLine line = tl->lineAt(i);
            const qreal top = i == 0 ? r.top() : r.top() + tl->lineAt(i - 1).y() + tl->lineAt(i - 1).height();
            m_lines.push_back({ top, r.top() + line.y() + line.height(), number, i, toSource(line.textStart()),
                i == 0 && breakBlock, sourcePosition, id, list });
        }
        if (lines == 0)
            m_lines.push_back({ r.top(), r.bottom(), number, 0, sourcePosition, breakBlock, sourcePosition, id, list });
        sourcePosition += b.length() + (runs ? runs->removed() : 0);
    }
    return sourcePosition;
}

void PrintLayoutCopy::collectLines()
{
    if (m_linesValid)
        return;
    const int blocks = m_copy->blockCount();
    if (!m_replaced || m_replacedHead + m_replacedTail > std::min(blocks, m_linesBlockCount)) {
        m_lines.clear();
        m_length = std::max(0, appendLines(0, blocks, 0) - 1);
    } else {
        // Only the replaced paragraphs are measured again: the lines before them stay, the lines
        // after them move by what the replacement changed.
        const int head = m_replacedHead;
        const int tail = m_replacedTail;
        const int oldBlocks = m_linesBlockCount;
        std::vector<Line> old;
        old.swap(m_lines);
        auto firstLineOf = [&](int block) {
            return std::lower_bound(old.begin(), old.end(), block, [](const Line &l, int b) { return l.block < b; });
        };
        const auto headEnd = firstLineOf(head);
        const auto tailBegin = tail > 0 ? firstLineOf(oldBlocks - tail) : old.end();
        m_lines.reserve(old.size() + 64);
        m_lines.insert(m_lines.end(), old.begin(), headEnd);
        const int middleStart = headEnd != old.end() ? headEnd->blockStart : 0;
        const int afterMiddle = appendLines(head, blocks - tail, middleStart);
        if (tail > 0 && tailBegin != old.end()) {
            const QTextBlock firstTail = m_copy->findBlockByNumber(blocks - tail);
            const qreal dy = m_copy->documentLayout()->blockBoundingRect(firstTail).top() - tailBegin->top;
            const int dChars = afterMiddle - tailBegin->blockStart;
            const int dBlocks = blocks - oldBlocks;
            const bool breakFirst = breaksBefore(firstTail);
            for (auto it = tailBegin; it != old.end(); ++it) {
                Line line = *it;
                line.top += dy;
                line.bottom += dy;
                line.block += dBlocks;
                line.start += dChars;
                line.blockStart += dChars;
                if (it->block == tailBegin->block && line.lineInBlock == 0)
                    line.breakBefore = breakFirst;
                m_lines.push_back(line);
            }
            m_length = m_length + dChars;
        } else {
            m_length = std::max(0, afterMiddle - 1);
        }
    }
    m_linesBlockCount = blocks;
    m_replaced = false;
    m_linesValid = true;
}

std::vector<PrintLayoutCopy::Page> PrintLayoutCopy::cut(int heightTwips)
{
    std::vector<Page> pages;
    if (!m_built) {
        pages.push_back({});
        return pages;
    }
    collectLines();
    const qreal height = std::max(1.0, heightTwips * m_dpiY / 1440.0);
    const std::size_t count = m_lines.size();
    // List numbers count the items before a paragraph, so a page's signature takes them in.
    QHash<const QTextList *, int> listItems;
    int lastCounted = -1;
    std::size_t first = 0;
    while (first < count) {
        const qreal limit = m_lines[first].top + height;
        std::size_t next = first + 1;
        while (next < count && !m_lines[next].breakBefore && m_lines[next].bottom <= limit + 0.01)
            ++next;
        Page page;
        page.start = m_lines[first].start;
        page.end = next < count ? m_lines[next].start : m_length;
        page.firstLine = int(first);
        page.endLine = int(next);
        quint64 hash = mix(0, quint64(m_lines[first].lineInBlock));
        hash = mix(hash, quint64(m_lines[next - 1].lineInBlock));
        int previousBlock = -1;
        for (std::size_t l = first; l < next; ++l) {
            const Line &line = m_lines[l];
            if (line.block == previousBlock)
                continue;
            previousBlock = line.block;
            hash = mix(hash, line.blockId);
            if (line.list) {
                int &items = listItems[line.list];
                if (line.block > lastCounted)
                    ++items;
                hash = mix(hash, quint64(items) << 32 | quint32(line.list->format().style() + 100));
            }
            lastCounted = std::max(lastCounted, line.block);
        }
        page.signature = hash;
        pages.push_back(page);
        first = next;
    }
    if (pages.empty())
        pages.push_back({});
    return pages;
}

void PrintLayoutCopy::drawPage(QPainter &painter, const Page &page, const QRect &rectTwips) const
{
    if (!m_built || page.firstLine >= page.endLine || std::size_t(page.endLine) > m_lines.size())
        return;
    const qreal pageTop = m_lines[std::size_t(page.firstLine)].top;
    const qreal height = std::max(1.0, rectTwips.height() * m_dpiY / 1440.0);
    qreal cut = pageTop + height;
    if (std::size_t(page.endLine) < m_lines.size())
        cut = std::min(cut, m_lines[std::size_t(page.endLine)].top);
    cut = std::max(cut, m_lines[std::size_t(page.endLine - 1)].bottom);
    const QPaintDevice *target = painter.device();
    const qreal tx = target ? target->logicalDpiX() : RichText::kLayoutDpi;
    const qreal ty = target ? target->logicalDpiY() : RichText::kLayoutDpi;
    painter.save();
    painter.translate(rectTwips.left() * tx / 1440.0, rectTwips.top() * ty / 1440.0);
    painter.scale(tx / m_dpiX, ty / m_dpiY);
    painter.translate(0, -pageTop);
    const QRectF clip(0, pageTop, m_widthPixels, cut - pageTop);
    painter.setClipRect(clip, Qt::IntersectClip);
    QAbstractTextDocumentLayout::PaintContext context;
    // The layout draws every paragraph and line that touches the clip: drawn on the neighbouring
    // page and only clipped away, their text would still be in a printed page's content (and in
    // what a PDF reader finds on it). A hair inside the page leaves them out.
    context.clip = clip.height() > 1 ? clip.adjusted(0, 0.5, 0, -0.5) : clip;
    context.cursorPosition = -1;
    context.palette.setColor(QPalette::Text, Qt::black);
    m_copy->documentLayout()->draw(&painter, context);
    painter.restore();
}

QPicture PrintLayoutCopy::pagePicture(const Page &page, int widthTwips, int heightTwips) const
{
    QPicture picture;
    const QRect frame(0, 0, qRound(widthTwips * picture.logicalDpiX() / 1440.0),
        qRound(heightTwips * picture.logicalDpiY() / 1440.0));
    picture.setBoundingRect(frame);
    QPainter painter(&picture);
    drawPage(painter, page, QRect(0, 0, widthTwips, heightTwips));
    painter.end();
    // Recording ends by measuring what was drawn; the frame stays the page's rectangle.
    picture.setBoundingRect(frame);
    return picture;
}
