#pragma once

#include "pages/GmPaperImage.h"

class TGmThumbnails;

// One page of a thumbnail strip: a small paper image with a caption and a selection mark.
class TGmThumbnail : public TGmPaperImage
{
    Q_OBJECT

public:
    TGmThumbnail(TGmThumbnails *strip, QWidget *parent);

    bool Selected() const { return m_selected; }
    void SetSelected(bool selected);
    int PageNumber() const;
    QString CaptionText() const;

    // The contrast colour of a caption on the selection colour: each channel at most 128
    // becomes 255, else 0.
    static QColor ContrastColor(const QColor &color);

signals:
    void Clicked(TGmThumbnail *thumbnail);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    TGmThumbnails *m_strip;
    bool m_selected = false;
};
