#pragma once

#include <QFrame>

class QLabel;

// One coloured tile of the presentation options: a caption and, for the 4:3 tile, a size label.
// Selected tiles are blue with white text, the others yellow-orange with black text; a thin
// frame shows while the mouse is over the tile's choice.
class PresentationTile : public QFrame
{
    Q_OBJECT
public:
    static QColor selectedColor() { return QColor(0, 128, 192); }
    static QColor normalColor() { return QColor(255, 211, 94); }

    explicit PresentationTile(const QString &caption, QWidget *parent = nullptr);

    void setDetail(const QString &text); // the size label, below the caption
    QString detail() const;
    QLabel *detailLabel() const { return m_detail; }

    void setSelected(bool selected);
    // The colour the tile carries; the selection is read from it.
    QColor tileColor() const { return m_color; }
    bool isSelected() const { return m_color == selectedColor(); }
    QColor textColor() const;

    void setHoverFrame(bool visible);
    bool hasHoverFrame() const { return m_hoverFrame; }

signals:
    void clicked();
    void hovered();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applyColors();

    QLabel *m_caption;
    QLabel *m_detail = nullptr;
    QColor m_color = normalColor();
    bool m_hoverFrame = false;
};
