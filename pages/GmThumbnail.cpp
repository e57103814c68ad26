#include "pages/GmThumbnail.h"

#include "pages/GmPage.h"
#include "pages/GmPageList.h"
#include "pages/GmThumbnails.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

TGmThumbnail::TGmThumbnail(TGmThumbnails *strip, QWidget *parent)
    : TGmPaperImage(parent)
    , m_strip(strip)
{
    setMouseTracking(false);
}

void TGmThumbnail::SetSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    update();
}

int TGmThumbnail::PageNumber() const
{
    return Page() && Page()->PageList() ? Page()->PageList()->IndexOf(Page()) + 1 : 0;
}

QString TGmThumbnail::CaptionText() const
{
    return m_strip->CaptionFor(PageNumber());
}

QColor TGmThumbnail::ContrastColor(const QColor &color)
{
    auto flip = [](int channel) { return channel <= 128 ? 255 : 0; };
    return QColor(flip(color.red()), flip(color.green()), flip(color.blue()));
}

void TGmThumbnail::paintEvent(QPaintEvent *)
{
    if (m_strip->Updating())
        return;
    QPainter painter(this);
    const TGmHighlightStyle style = m_strip->HighlightStyle();
    const QColor selectedColor = m_strip->SelectedColor();
    if (style == gmBackground && m_selected) {
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(selectedColor);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    PaintPaper(painter);
    const QRect page = PageRect();
    if (m_strip->ShowCaption()) {
        QColor color = Qt::black;
        if (m_selected)
            color = selectedColor;
        if (style == gmBackground && color == selectedColor)
            color = ContrastColor(color);
        painter.setFont(m_strip->CaptionFont());
        painter.setPen(color);
        const QString text = CaptionText();
        const QFontMetrics metrics(painter.font(), this);
        const int x = (width() - metrics.horizontalAdvance(text)) / 2;
        const int top = page.top() + page.height() + 4;
        painter.drawText(QPoint(x, top + metrics.ascent()), text);
    }
    if (m_selected && style != gmBackground) {
        QPen pen(selectedColor, style == gmThickLine ? 2 : 1);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(page.adjusted(0, 0, -1, -1));
    }
}

void TGmThumbnail::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit Clicked(this);
}

void TGmThumbnail::contextMenuEvent(QContextMenuEvent *event)
{
    if (QMenu *menu = m_strip->ThumbPopup())
        menu->popup(event->globalPos());
}
