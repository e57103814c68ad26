#pragma once

#include "pages/GmClasses.h"
#include "pages/GmTypes.h"

#include <QBrush>
#include <QFont>
#include <QPen>

class QPicture;
class TGmPageList;
class TGmResourceTable;

// The recording canvas of a page list: what is drawn through it becomes drawing objects on the
// page list's current page.
class TGmCanvas
{
public:
    TGmCanvas(TGmPageList *pageList, TGmResourceTable *resources);
    TGmCanvas(const TGmCanvas &) = delete;
    TGmCanvas &operator=(const TGmCanvas &) = delete;

    // Reads and writes the graphic list's sharing flag.
    bool CompareGraphics() const;
    void SetCompareGraphics(bool compare);
    TGmCoordsRelative CoordsRelativeTo() const { return m_coordsRelative; }
    void SetCoordsRelativeTo(TGmCoordsRelative relative) { m_coordsRelative = relative; }
    TGmMeasurement DefaultMeasurement() const { return m_defaultMeasurement; }
    void SetDefaultMeasurement(TGmMeasurement unit) { m_defaultMeasurement = unit; }
    quint32 CopyMode() const { return m_copyMode; }
    void SetCopyMode(quint32 mode) { m_copyMode = mode; }
    QBrush Brush() const { return m_brush; }
    QFont Font() const { return m_font; }
    QPen Pen() const { return m_pen; }

    // Records the picture stretched into (left, top, right, bottom), given in unit, on the
    // current page. The picture is stored in the graphic list; the caller keeps its own.
    TGmGraphicObject *StretchDraw(
        const QPicture &picture, TGmMeasurement unit, double left, double top, double right, double bottom);

private:
    TGmPageList *m_pageList;
    TGmResourceTable *m_resources;
    TGmCoordsRelative m_coordsRelative = gmFromPage;
    TGmMeasurement m_defaultMeasurement = gmMillimeters;
    quint32 m_copyMode = GmSrcCopy;
    QBrush m_brush { Qt::NoBrush };
    QFont m_font;
    QPen m_pen;
};
