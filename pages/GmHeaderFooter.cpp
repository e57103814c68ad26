#include "pages/GmHeaderFooter.h"

#include "pages/GmFontMapper.h"
#include "pages/GmTypes.h"

#include <QPainter>

TGmHeaderFooter::TGmHeaderFooter(std::function<void()> onChange)
    : m_left([this] { notify(); })
    , m_center([this] { notify(); })
    , m_right([this] { notify(); })
    , m_height([this] { notify(); })
    , m_onChange(std::move(onChange))
{ }

void TGmHeaderFooter::SetShowLine(bool show)
{
    if (show == m_showLine)
        return;
    m_showLine = show;
    notify();
}

void TGmHeaderFooter::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    notify();
}

double TGmHeaderFooter::HeightInches() const
{
    if (m_height.AsInches() != 0)
        return m_height.AsInches();
    const TGmHeaderFooterCaption *largest = &m_left;
    for (const TGmHeaderFooterCaption *c : { &m_center, &m_right }) {
        if (c->PointSize() > largest->PointSize())
            largest = c;
    }
    return TGmFontMapper::instance().CellHeight(largest->Font(), 600) / 600.0;
}

void TGmHeaderFooter::Assign(const TGmHeaderFooter &other)
{
    m_left.Assign(other.m_left);
    m_center.Assign(other.m_center);
    m_right.Assign(other.m_right);
}

void TGmHeaderFooter::Draw(QPainter *painter, const QRect &rect, int ppiX, int page, int pageCount,
    const QDateTime &now, const QString &dateSeparator) const
{
    // rect follows the (left, top, right, bottom) convention: right and bottom are exclusive.
    const int left = rect.left();
    const int top = rect.top();
    const int right = rect.left() + rect.width();
    const int bottom = rect.top() + rect.height();
    TGmFontMapper &mapper = TGmFontMapper::instance();
    const TGmHeaderFooterCaption *captions[3] = { &m_left, &m_center, &m_right };
    for (int i = 0; i < 3; ++i) {
        const QString text
            = TGmHeaderFooterCaption::ExpandTokens(captions[i]->Caption(), page, pageCount, now, dateSeparator);
        if (text.isEmpty())
            continue;
        const QSizeF size = mapper.MeasureText(captions[i]->Font(), text);
        const int textWidth = GmRound(ppiX * size.width());
        int x = left;
        if (i == 1)
            x = (left + right - textWidth) / 2;
        else if (i == 2)
            x = right - textWidth;
        const int y = isHeader() ? bottom - GmRound(ppiX * size.height()) : top;
        mapper.TextOut(painter, x, y, text, captions[i]->Font(), ppiX);
    }
    if (m_showLine) {
        painter->save();
        QPen pen = m_pen;
        if (pen.width() <= 1)
            pen.setCosmetic(true);
        painter->setPen(pen);
        const int y = isHeader() ? bottom : top;
        painter->drawLine(left, y, right, y);
        painter->restore();
    }
}

void TGmHeaderFooter::notify()
{
    if (m_onChange)
        m_onChange();
}
