#pragma once

#include "export/SearchablePdf.h"

#include <QPageLayout>
#include <QString>

class ExportPageSource;

// What the export commands need of the document window.
class ExportHost
{
public:
    virtual ~ExportHost() = default;
    // The document's path, "Untitled" for a document never saved.
    virtual QString documentFileName() const = 0;
    virtual ExportPageSource &pageSource() = 0;
    virtual int zoomStep() const = 0;
    // Sets the zoom step and applies it.
    virtual void setZoomStep(int step) = 0;
    virtual void setCaretToStart() = 0;
    // The paper and margins the document is laid out on for printing, which the searchable PDF
    // takes; A4 with half-inch margins until the window knows better.
    virtual QPageLayout pageSettings() const { return SearchablePdf::defaultPageSettings(); }
};
