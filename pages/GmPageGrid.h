#pragma once

#include <QPen>

#include <functional>

enum TGmGridStyle { gmNoGrid, gmDots, gmLines };

// A grid over the paper every 10 mm; off unless a style is chosen.
class TGmPageGrid
{
public:
    explicit TGmPageGrid(std::function<void()> onChange = {});

    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }
    TGmGridStyle GridStyle() const { return m_style; }
    void SetGridStyle(TGmGridStyle style);
    QPen GridPen() const { return m_pen; }
    void SetGridPen(const QPen &pen);
    static constexpr double SpacingMillimeters() { return 10.0; }

private:
    TGmGridStyle m_style = gmNoGrid;
    QPen m_pen { QColor(0xC0, 0xC0, 0xC0) };
    std::function<void()> m_onChange;
};
