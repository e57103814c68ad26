#pragma once

#include <QMdiArea>
#include <QPixmap>

// The frame's multiple-document client area: the document windows over a white background with
// a picture centred, unscaled, in the visible area.
class FrameClientArea : public QMdiArea
{
    Q_OBJECT
public:
    explicit FrameClientArea(QWidget *parent = nullptr);

    void setPicture(const QPixmap &picture);
    QPixmap picture() const { return m_picture; }
    // Where the picture goes for a client area of the given size.
    static QPoint picturePosition(const QSize &client, const QSize &picture);

protected:
    void paintEvent(QPaintEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QPixmap m_picture;
};
