#pragma once

#include "pages/GmGraphicList.h"
#include "pages/GmResourceList.h"

#include <QBrush>
#include <QFont>
#include <QPen>

using TGmBrushList = TGmResourceList<QBrush>;
using TGmFontList = TGmResourceList<QFont>;
using TGmPenList = TGmResourceList<QPen>;

// The drawing resources all pages of one page list share. Only the graphic list is filled by the
// program; the others exist for objects with pens, brushes and fonts.
class TGmResourceTable
{
public:
    TGmBrushList &BrushList() { return m_brushes; }
    TGmFontList &FontList() { return m_fonts; }
    TGmPenList &PenList() { return m_pens; }
    TGmGraphicList &GraphicList() { return m_graphics; }
    const TGmGraphicList &GraphicList() const { return m_graphics; }

    void Clear();

private:
    TGmBrushList m_brushes;
    TGmFontList m_fonts;
    TGmPenList m_pens;
    TGmGraphicList m_graphics;
};
