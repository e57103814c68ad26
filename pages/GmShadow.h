#pragma once

#include <QColor>

#include <functional>

// The shadow drawn beside and below a sheet of paper; any change repaints the owner.
class TGmShadow
{
public:
    explicit TGmShadow(std::function<void()> onChange = {});

    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }
    QColor Color() const { return m_color; }
    void SetColor(const QColor &color);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    // Pixels.
    int Width() const { return m_width; }
    void SetWidth(int width);

private:
    void notify();

    QColor m_color = Qt::black;
    bool m_visible = true;
    int m_width = 3;
    std::function<void()> m_onChange;
};
