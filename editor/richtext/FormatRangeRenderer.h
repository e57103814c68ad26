#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QRect>
#include <QTextDocument>

#include <memory>
#include <vector>

class QPainter;
class QPaintDevice;

// Cuts a rich text document into pages: formats the characters from a start position into a
// rectangle given in twips, measuring on one device and drawing on another, and returns the first
// character that did not fit. Positions count characters with a paragraph break as one.
//
// The document is laid out once for a given width and measuring resolution and kept (the
// formatting cache) until the document changes, another width or resolution is asked for, or
// release() is called; successive pages of a long document therefore cost the same each.
// Hidden text takes no room and is not drawn. A paragraph whose format asks for a page break
// before it starts a new page. Every page makes progress: a line taller than the page is put on
// a page of its own.
class FormatRangeRenderer
{
public:
    explicit FormatRangeRenderer(const QTextDocument *source);
    ~FormatRangeRenderer();
    FormatRangeRenderer(const FormatRangeRenderer &) = delete;
    FormatRangeRenderer &operator=(const FormatRangeRenderer &) = delete;

    // rectTwips: where the text goes on the painter's device, in twips of that device.
    // measure: the device whose metrics lay out the text; nullptr means the painter's device.
    // end: stop before this character (-1: the end of the text).
    // With render false (or no painter) nothing is drawn; the result is the same.
    int formatRange(QPainter *painter, QPaintDevice *measure, const QRect &rectTwips, int start,
                    int end = -1, bool render = true);

    // The number of positions of the text (a paragraph break counts as one).
    int textLength() const;

    // Drops the formatting cache.
    void release();
    bool hasCache() const { return m_cache != nullptr; }

private:
    struct Cache;
    Cache *cacheFor(int dpiX, int dpiY, qreal widthPx);

    QPointer<const QTextDocument> m_source;
    QMetaObject::Connection m_changed;
    std::unique_ptr<Cache> m_cache;
};
