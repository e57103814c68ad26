#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

class QPainter;

// What the exports render: the document's text, page by page, and its display lines. Positions
// count characters with a paragraph break as one.
class ExportPageSource
{
public:
    virtual ~ExportPageSource() = default;

    // The number of positions of the text.
    virtual int textLength() const = 0;
    // Draws the characters from start that fit into rectTwips (twips of the painter's device,
    // which also measures the text); returns the first position that did not fit.
    virtual int renderPage(QPainter &painter, const QRect &rectTwips, int start) = 0;
    // Drops whatever the source keeps between pages of one export.
    virtual void releaseCache() { }
    // The text's lines as currently wrapped on screen.
    virtual QStringList displayLines() const = 0;

    // What the document says about itself (empty where it says nothing).
    struct DocumentInfo
    {
        QString title;
        QString author;
        QString subject;
        QString keywords;
    };
    virtual DocumentInfo documentInfo() const { return {}; }
};
