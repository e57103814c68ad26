#include "export/PresentationTile.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

PresentationTile::PresentationTile(const QString &caption, QWidget *parent)
    : QFrame(parent)
    , m_caption(new QLabel(caption, this))
{
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setWordWrap(true);
    m_caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addStretch();
    layout->addWidget(m_caption);
    layout->addStretch();
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
    applyColors();
}

void PresentationTile::setDetail(const QString &text)
{
    if (!m_detail) {
        m_detail = new QLabel(this);
        m_detail->setObjectName(QStringLiteral("lblSize"));
        m_detail->setAlignment(Qt::AlignCenter);
        m_detail->setAttribute(Qt::WA_TransparentForMouseEvents);
        static_cast<QVBoxLayout *>(layout())->insertWidget(2, m_detail);
    }
    m_detail->setText(text);
    applyColors();
}

QString PresentationTile::detail() const
{
    return m_detail ? m_detail->text() : QString();
}

void PresentationTile::setSelected(bool selected)
{
    m_color = selected ? selectedColor() : normalColor();
    applyColors();
}

QColor PresentationTile::textColor() const
{
    return isSelected() ? QColor(Qt::white) : QColor(Qt::black);
}

void PresentationTile::applyColors()
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, m_color);
    pal.setColor(QPalette::WindowText, textColor());
    setPalette(pal);
    for (QLabel *label : {m_caption, m_detail})
        if (label) {
            QPalette lp = label->palette();
            lp.setColor(QPalette::WindowText, textColor());
            label->setPalette(lp);
        }
}

void PresentationTile::setHoverFrame(bool visible)
{
    if (m_hoverFrame != visible) {
        m_hoverFrame = visible;
        update();
    }
}

void PresentationTile::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
    QFrame::mousePressEvent(event);
}

void PresentationTile::enterEvent(QEnterEvent *event)
{
    emit hovered();
    QFrame::enterEvent(event);
}

void PresentationTile::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    if (m_hoverFrame) {
        QPainter p(this);
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
