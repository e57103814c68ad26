#pragma once

#include "pages/GmMarginValues.h"
#include "pages/GmValue.h"

#include <QPen>
#include <QRectF>
#include <QString>

#include <functional>

// The four page margins of a page list (inches, 0.5 each by default) with the pens and flags the
// preview uses to show them. Every change of a value, a pen or a flag reaches the owner callback.
class TGmMargins
{
public:
    explicit TGmMargins(std::function<void()> onChange = {});
    TGmMargins(const TGmMargins &) = delete;
    TGmMargins &operator=(const TGmMargins &) = delete;

    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

    TGmValue &Left() { return m_left; }
    TGmValue &Top() { return m_top; }
    TGmValue &Right() { return m_right; }
    TGmValue &Bottom() { return m_bottom; }
    const TGmValue &Left() const { return m_left; }
    const TGmValue &Top() const { return m_top; }
    const TGmValue &Right() const { return m_right; }
    const TGmValue &Bottom() const { return m_bottom; }
    TGmMarginValues &Values() { return m_values; }

    QPen Pen() const { return m_pen; }
    void SetPen(const QPen &pen);
    QPen PrinterMarginPen() const { return m_printerMarginPen; }
    void SetPrinterMarginPen(const QPen &pen);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    bool ShowPrinterMargins() const { return m_showPrinterMargins; }
    void SetShowPrinterMargins(bool show);
    bool ClipMargins() const { return m_clipMargins; }
    void SetClipMargins(bool clip);

    // Copies the four values, both pens, ShowPrinterMargins and Visible (not ClipMargins).
    void Assign(const TGmMargins &other);

    // The margin rectangle of a page of the given size, in inches.
    QRectF MarginRect(double pageWidth, double pageHeight) const;

    // The stored "MarginValues" form: Left, Top, Right, Bottom in whole twips, then Pen and
    // PrinterMarginPen as quoted "colour,width,style,mode" items.
    QString StoredValue() const;
    // Reads the stored form; the pens are read only when the list has more than the four numbers.
    // Malformed text changes nothing and gives false.
    bool ReadStoredValue(const QString &text);

    static QPen DefaultPen();

private:
    void notify();

    TGmValue m_left;
    TGmValue m_top;
    TGmValue m_right;
    TGmValue m_bottom;
    TGmMarginValues m_values;
    QPen m_pen;
    QPen m_printerMarginPen;
    bool m_visible = false;
    bool m_showPrinterMargins = false;
    bool m_clipMargins = false;
    std::function<void()> m_onChange;
};
