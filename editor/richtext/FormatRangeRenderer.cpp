#include "editor/richtext/FormatRangeRenderer.h"

#include "editor/richtext/ResolutionDevice.h"
#include "platform/RichTextProperties.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextList>

#include <algorithm>

namespace {

struct RemovedRun
{
    int clonePos;        // where the run collapsed in the copy
    int removedThrough;  // characters removed up to and including this run
};

} // namespace

struct FormatRangeRenderer::Cache
{
    struct Line
    {
        qreal top;
        qreal bottom;
        int start; // position in the copy
        bool breakBefore;
    };

    int dpiX = 0;
    int dpiY = 0;
    qreal width = 0;
    ResolutionDevice device{96, 96};
    std::unique_ptr<QTextDocument> doc;
    std::vector<Line> lines;
    std::vector<RemovedRun> removed;
    int length = 0; // positions of the copy

    Cache(int x, int y)
        : dpiX(x)
        , dpiY(y)
        , device(x, y)
    {
    }

    int toOriginal(int clonePos) const
    {
        // Runs collapsed at or before clonePos lie before the character there.
        auto it = std::upper_bound(removed.begin(), removed.end(), clonePos,
                                   [](int p, const RemovedRun &r) { return p < r.clonePos; });
        return clonePos + (it == removed.begin() ? 0 : std::prev(it)->removedThrough);
    }

    int toClone(int original) const
    {
        // The copy position of the first visible character at or after original.
        int lo = 0;
        int hi = length;
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (toOriginal(mid) < original)
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo;
    }

    int lineOf(int clonePos) const
    {
        auto it = std::upper_bound(lines.begin(), lines.end(), clonePos,
                                   [](int p, const Line &l) { return p < l.start; });
        return it == lines.begin() ? 0 : int(std::distance(lines.begin(), it) - 1);
    }
};

FormatRangeRenderer::FormatRangeRenderer(const QTextDocument *source)
    : m_source(source)
{
    if (source) {
        m_changed = QObject::connect(source, &QTextDocument::contentsChange, source,
                                     [this](int, int, int) { m_cache.reset(); });
    }
}

FormatRangeRenderer::~FormatRangeRenderer()
{
    QObject::disconnect(m_changed);
}

int FormatRangeRenderer::textLength() const
{
    return m_source ? std::max(0, m_source->characterCount() - 1) : 0;
}

void FormatRangeRenderer::release()
{
    m_cache.reset();
}

namespace {

void removeHiddenText(QTextDocument &doc, const QTextDocument &source, std::vector<RemovedRun> &removed)
{
    struct Run
    {
        int start;
        int length;
    };
    std::vector<Run> runs;
    for (QTextBlock b = source.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.isValid() && f.charFormat().boolProperty(RichText::Hidden)) {
                if (!runs.empty() && runs.back().start + runs.back().length == f.position())
                    runs.back().length += f.length();
                else
                    runs.push_back({f.position(), f.length()});
            }
        }
        // The paragraph mark at the end of a block carries the character format Qt keeps as the
        // next block's format.
        const QTextBlock next = b.next();
        if (next.isValid() && next.charFormat().boolProperty(RichText::Hidden)) {
            const int mark = b.position() + b.length() - 1;
            if (!runs.empty() && runs.back().start + runs.back().length == mark)
                runs.back().length += 1;
            else
                runs.push_back({mark, 1});
        }
    }
    if (runs.empty())
        return;
    QTextCursor c(&doc);
    for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
        c.setPosition(it->start);
        c.setPosition(it->start + it->length, QTextCursor::KeepAnchor);
        c.removeSelectedText();
    }
    int total = 0;
    for (const Run &r : runs) {
        total += r.length;
        removed.push_back({r.start - (total - r.length), total});
    }
}

// Qt scales vertical block lengths, line heights and tab stops to the measuring device, but not
// the left and right margins and the first-line indent: those are scaled in the copy.
void scaleHorizontalIndents(QTextDocument &doc, qreal fx)
{
    if (qFuzzyCompare(fx, 1.0))
        return;
    QTextCursor c(&doc);
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QTextBlockFormat f = b.blockFormat();
        if (f.leftMargin() == 0 && f.rightMargin() == 0 && f.textIndent() == 0)
            continue;
        f.setLeftMargin(f.leftMargin() * fx);
        f.setRightMargin(f.rightMargin() * fx);
        f.setTextIndent(f.textIndent() * fx);
        c.setPosition(b.position());
        c.setBlockFormat(f);
    }
}

bool breaksBefore(const QTextBlock &b)
{
    if (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        return true;
    const QTextBlock prev = b.previous();
    return prev.isValid() && (prev.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter);
}

} // namespace

FormatRangeRenderer::Cache *FormatRangeRenderer::cacheFor(int dpiX, int dpiY, qreal widthPx)
{
    if (m_cache && m_cache->dpiX == dpiX && m_cache->dpiY == dpiY && qFuzzyCompare(m_cache->width, widthPx))
        return m_cache.get();
    auto cache = std::make_unique<Cache>(dpiX, dpiY);
    cache->width = widthPx;
    cache->doc.reset(m_source->clone());
    QTextDocument &doc = *cache->doc;
    doc.setUndoRedoEnabled(false);
    removeHiddenText(doc, *m_source, cache->removed);
    scaleHorizontalIndents(doc, dpiX / RichText::kLayoutDpi);
    doc.setDocumentMargin(0);
    doc.documentLayout()->setPaintDevice(&cache->device);
    doc.setTextWidth(widthPx);
    QAbstractTextDocumentLayout *layout = doc.documentLayout();
    layout->documentSize(); // lays out the whole document once
    cache->length = std::max(0, doc.characterCount() - 1);
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextLayout *tl = b.layout();
        if (!tl)
            continue;
        const QRectF r = layout->blockBoundingRect(b);
        const bool breakBlock = breaksBefore(b);
        for (int i = 0; i < tl->lineCount(); ++i) {
            // A line's slot starts where the one before it ended (a fixed line height puts the
            // glyphs lower inside the slot).
            const QTextLine line = tl->lineAt(i);
            const qreal top = i == 0 ? r.top() : r.top() + tl->lineAt(i - 1).y() + tl->lineAt(i - 1).height();
            cache->lines.push_back({top, r.top() + line.y() + line.height(), b.position() + line.textStart(),
                                    i == 0 && breakBlock});
        }
        if (tl->lineCount() == 0)
            cache->lines.push_back({r.top(), r.bottom(), b.position(), breakBlock});
    }
    m_cache = std::move(cache);
    return m_cache.get();
}

int FormatRangeRenderer::formatRange(QPainter *painter, QPaintDevice *measure, const QRect &rectTwips,
                                     int start, int end, bool render)
{
    const int total = textLength();
    if (!m_source)
        return 0;
    if (end < 0 || end > total)
        end = total;
    start = std::clamp(start, 0, total);
    if (start >= end)
        return end;
    QPaintDevice *device = measure ? measure : (painter ? painter->device() : nullptr);
    const int dpiX = device ? device->logicalDpiX() : int(RichText::kLayoutDpi);
    const int dpiY = device ? device->logicalDpiY() : int(RichText::kLayoutDpi);
    const qreal width = std::max(1.0, rectTwips.width() * dpiX / 1440.0);
    const qreal height = std::max(1.0, rectTwips.height() * dpiY / 1440.0);

    Cache *cache = cacheFor(dpiX, dpiY, width);
    const int cloneStart = cache->toClone(start);
    if (cloneStart >= cache->length || cache->lines.empty())
        return end;

    const int first = cache->lineOf(cloneStart);
    const qreal pageTop = cache->lines[first].top;
    const qreal limit = pageTop + height;
    std::size_t next = std::size_t(first) + 1;
    while (next < cache->lines.size()) {
        const auto &line = cache->lines[next];
        if (line.breakBefore || line.bottom > limit + 0.01)
            break;
        if (cache->toOriginal(line.start) >= end)
            break;
        ++next;
    }
    int result = next < cache->lines.size() ? cache->toOriginal(cache->lines[next].start) : total;
    result = std::min(result, end);
    if (result <= start) // the page always makes progress
        result = start + 1;

    if (render && painter) {
        qreal cut = limit;
        if (next < cache->lines.size())
            cut = std::min(cut, cache->lines[next].top);
        cut = std::max(cut, cache->lines[next - 1].bottom);
        QPaintDevice *target = painter->device();
        const qreal tx = target ? target->logicalDpiX() : RichText::kLayoutDpi;
        const qreal ty = target ? target->logicalDpiY() : RichText::kLayoutDpi;
        painter->save();
        painter->translate(rectTwips.left() * tx / 1440.0, rectTwips.top() * ty / 1440.0);
        painter->scale(tx / dpiX, ty / dpiY);
        painter->translate(0, -pageTop);
        const QRectF clip(0, pageTop, width, cut - pageTop);
        painter->setClipRect(clip, Qt::IntersectClip);
        QAbstractTextDocumentLayout::PaintContext ctx;
        ctx.clip = clip;
        ctx.cursorPosition = -1;
        ctx.palette.setColor(QPalette::Text, Qt::black);
        cache->doc->documentLayout()->draw(painter, ctx);
        painter->restore();
    }
    return result;
}
