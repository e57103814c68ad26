#pragma once

class QPainter;
class QPaintDevice;

// What an export does with its pages: it supplies a fresh surface for each page and receives it
// back once the text is drawn. Failures are raised as ExportError.
class ExportPageTarget
{
public:
    virtual ~ExportPageTarget() = default;

    // A fresh surface for page pageNumber (from 1); bitmaps start white.
    virtual QPaintDevice *beginPage(int pageNumber) = 0;
    // Drawn on the fresh surface before the text (the presentation's frame).
    virtual void decoratePage(QPainter &) { }
    // The finished surface, the painter closed; morePages: the text continues on another page.
    virtual void endPage(int pageNumber, bool morePages) = 0;
    // After the last page: waits for work still running on the pages and raises its failure.
    virtual void finish() { }
};
