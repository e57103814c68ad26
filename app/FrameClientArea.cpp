#include "app/FrameClientArea.h"

#include <QPainter>
#include <QPaintEvent>

FrameClientArea::FrameClientArea(QWidget *parent)
    : QMdiArea(parent)
{
    setBackground(Qt::white);
}

void FrameClientArea::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    viewport()->update();
}

QPoint FrameClientArea::picturePosition(const QSize &client, const QSize &picture)
{
    return { (client.width() - picture.width()) / 2, (client.height() - picture.height()) / 2 };
}

void FrameClientArea::paintEvent(QPaintEvent *event)
{
    QMdiArea::paintEvent(event);
    if (m_picture.isNull())
        return;
    QPainter painter(viewport());
    const QSize logical = m_picture.size() / m_picture.devicePixelRatio();
    painter.drawPixmap(picturePosition(viewport()->size(), logical), m_picture);
}

void FrameClientArea::scrollContentsBy(int dx, int dy)
{
    QMdiArea::scrollContentsBy(dx, dy);
    // The picture stays in the middle of what is visible, so everything is drawn again.
    viewport()->update();
}
