#include "pages/GmCanvas.h"

#include "pages/GmPageList.h"
#include "pages/GmResourceTable.h"

TGmCanvas::TGmCanvas(TGmPageList *pageList, TGmResourceTable *resources)
    : m_pageList(pageList)
    , m_resources(resources)
    , m_font(QStringLiteral("Arial"))
{
    m_font.setPointSize(10);
}

bool TGmCanvas::CompareGraphics() const
{
    return m_resources->GraphicList().Sharing();
}

void TGmCanvas::SetCompareGraphics(bool compare)
{
    m_resources->GraphicList().SetSharing(compare);
}

TGmGraphicObject *TGmCanvas::StretchDraw(
    const QPicture &picture, TGmMeasurement unit, double left, double top, double right, double bottom)
{
    auto *object = new TGmGraphicObject(m_resources);
    object->SetGraphic(m_resources->GraphicList().AddGraphic(picture));
    object->SetCopyMode(m_copyMode);
    object->SetBounds(ConvertUnits(unit, gmInches, left), ConvertUnits(unit, gmInches, top),
        ConvertUnits(unit, gmInches, right), ConvertUnits(unit, gmInches, bottom));
    m_pageList->AddObject(object);
    return object;
}
