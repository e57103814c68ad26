#include "pages/GmResourceTable.h"

void TGmResourceTable::Clear()
{
    m_brushes.Clear();
    m_fonts.Clear();
    m_pens.Clear();
    m_graphics.Clear();
}
