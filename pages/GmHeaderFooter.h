#pragma once

#include "pages/GmHeaderFooterCaption.h"
#include "pages/GmValue.h"

#include <QPen>
#include <QRect>

#include <functional>

class QPainter;

// Three captions (left, centre, right), a separator line and an explicit height (0 = automatic:
// the cell height of the largest caption font). Changes of captions, ShowLine, Visible and the
// height reach the owner callback; assigning the pen does not.
class TGmHeaderFooter
{
public:
    explicit TGmHeaderFooter(std::function<void()> onChange = {});
    TGmHeaderFooter(const TGmHeaderFooter &) = delete;
    TGmHeaderFooter &operator=(const TGmHeaderFooter &) = delete;
    virtual ~TGmHeaderFooter() = default;

    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

    TGmHeaderFooterCaption &CaptionLeft() { return m_left; }
    TGmHeaderFooterCaption &CaptionCenter() { return m_center; }
    TGmHeaderFooterCaption &CaptionRight() { return m_right; }
    const TGmHeaderFooterCaption &CaptionLeft() const { return m_left; }
    const TGmHeaderFooterCaption &CaptionCenter() const { return m_center; }
    const TGmHeaderFooterCaption &CaptionRight() const { return m_right; }
    QPen Pen() const { return m_pen; }
    void SetPen(const QPen &pen) { m_pen = pen; }
    bool ShowLine() const { return m_showLine; }
    void SetShowLine(bool show);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    // The explicit height; 0 means automatic.
    TGmValue &Height() { return m_height; }
    const TGmValue &Height() const { return m_height; }

    // The height in inches: the explicit height, else the cell height of the largest caption
    // font (by point size, the earliest on a tie) at 600 per inch, divided by 600.
    double HeightInches() const;

    // Copies the three captions (text and font) only.
    void Assign(const TGmHeaderFooter &other);

    // Draws the captions and the line into rect (device pixels at ppiX x ppiY); a header sets its
    // text on the bottom edge and draws the line there, a footer uses its top edge.
    void Draw(QPainter *painter, const QRect &rect, int ppiX, int page, int pageCount, const QDateTime &now,
        const QString &dateSeparator) const;

protected:
    virtual bool isHeader() const = 0;

private:
    void notify();

    TGmHeaderFooterCaption m_left;
    TGmHeaderFooterCaption m_center;
    TGmHeaderFooterCaption m_right;
    QPen m_pen;
    bool m_showLine = true;
    bool m_visible = false;
    TGmValue m_height;
    std::function<void()> m_onChange;
};

class TGmHeader : public TGmHeaderFooter
{
public:
    using TGmHeaderFooter::TGmHeaderFooter;

protected:
    bool isHeader() const override { return true; }
};

class TGmFooter : public TGmHeaderFooter
{
public:
    using TGmHeaderFooter::TGmHeaderFooter;

protected:
    bool isHeader() const override { return false; }
};
