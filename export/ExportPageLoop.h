#pragma once

#include "export/ExportPageGeometry.h"

#include <functional>

class ExportPageSource;
class ExportPageTarget;

// Lays the text out page after page: a fresh surface per page, the source draws what fits into
// the geometry's rectangle, the target takes the finished page. An empty text gives one empty
// page. The progress callback gets truncate(next / total * 100) after each page (100 for an
// empty text) and is the place to let pending events run.
class ExportPageLoop
{
public:
    using Progress = std::function<void(int percent)>;

    ExportPageLoop(ExportPageSource &source, const ExportPageGeometry &geometry);

    // The screen resolution at which the rectangle is converted to twips; the surfaces are
    // expected to have the same. The primary screen's by default, 96 without a screen.
    void setScreenDpi(int dpiX, int dpiY);
    int screenDpiX() const { return m_dpiX; }
    int screenDpiY() const { return m_dpiY; }
    void setProgress(Progress progress) { m_progress = std::move(progress); }

    // Returns the number of pages handed to the target.
    int run(ExportPageTarget &target);

    // The primary screen's logical resolution, 96 without a screen.
    static int defaultDpiX();
    static int defaultDpiY();

private:
    ExportPageSource &m_source;
    ExportPageGeometry m_geometry;
    int m_dpiX;
    int m_dpiY;
    Progress m_progress;
};
