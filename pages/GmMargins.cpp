#include "pages/GmMargins.h"

#include "pages/GmPenCodec.h"

#include <QStringList>

namespace {

// Splits a comma-separated list whose items may be double-quoted (quotes keep commas inside).
// Returns false for an unterminated quote.
bool splitStoredList(const QString &text, QStringList *items)
{
    QStringList result;
    QString current;
    bool quoted = false;
    bool wasQuoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            wasQuoted = true;
        } else if (c == QLatin1Char(',') && !quoted) {
            result << (wasQuoted ? current : current.trimmed());
            current.clear();
            wasQuoted = false;
        } else {
            current += c;
        }
    }
    if (quoted)
        return false;
    result << (wasQuoted ? current : current.trimmed());
    *items = result;
    return true;
}

} // namespace

TGmMargins::TGmMargins(std::function<void()> onChange)
    : m_left([this] { notify(); })
    , m_top([this] { notify(); })
    , m_right([this] { notify(); })
    , m_bottom([this] { notify(); })
    , m_values(m_left, m_top, m_right, m_bottom)
    , m_pen(DefaultPen())
    , m_printerMarginPen(DefaultPen())
{
    m_left.SetAsInches(0.5);
    m_top.SetAsInches(0.5);
    m_right.SetAsInches(0.5);
    m_bottom.SetAsInches(0.5);
    m_onChange = std::move(onChange);
}

QPen TGmMargins::DefaultPen()
{
    QPen pen(QColor(0xC0, 0xC0, 0xC0));
    pen.setStyle(Qt::DotLine);
    pen.setWidth(1);
    return pen;
}

void TGmMargins::SetPen(const QPen &pen)
{
    if (pen == m_pen)
        return;
    m_pen = pen;
    notify();
}

void TGmMargins::SetPrinterMarginPen(const QPen &pen)
{
    if (pen == m_printerMarginPen)
        return;
    m_printerMarginPen = pen;
    notify();
}

void TGmMargins::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    notify();
}

void TGmMargins::SetShowPrinterMargins(bool show)
{
    if (show == m_showPrinterMargins)
        return;
    m_showPrinterMargins = show;
    notify();
}

void TGmMargins::SetClipMargins(bool clip)
{
    if (clip == m_clipMargins)
        return;
    m_clipMargins = clip;
    notify();
}

void TGmMargins::Assign(const TGmMargins &other)
{
    m_left.Assign(other.m_left);
    m_top.Assign(other.m_top);
    m_right.Assign(other.m_right);
    m_bottom.Assign(other.m_bottom);
    SetPen(other.m_pen);
    SetPrinterMarginPen(other.m_printerMarginPen);
    SetShowPrinterMargins(other.m_showPrinterMargins);
    SetVisible(other.m_visible);
}

QRectF TGmMargins::MarginRect(double pageWidth, double pageHeight) const
{
    return QRectF(QPointF(m_left.AsInches(), m_top.AsInches()),
        QPointF(pageWidth - m_right.AsInches(), pageHeight - m_bottom.AsInches()));
}

QString TGmMargins::StoredValue() const
{
    return QStringLiteral("%1,%2,%3,%4,\"%5\",\"%6\"")
        .arg(m_left.AsTwips())
        .arg(m_top.AsTwips())
        .arg(m_right.AsTwips())
        .arg(m_bottom.AsTwips())
        .arg(GmPenCodec::encode(m_pen), GmPenCodec::encode(m_printerMarginPen));
}

bool TGmMargins::ReadStoredValue(const QString &text)
{
    QStringList items;
    if (!splitStoredList(text, &items) || items.size() < 4)
        return false;
    int twips[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        twips[i] = items.at(i).toInt(&ok);
        if (!ok)
            return false;
    }
    QPen pen = m_pen;
    QPen printerPen = m_printerMarginPen;
    if (items.size() != 4) {
        if (items.size() != 6 || !GmPenCodec::decode(items.at(4), &pen)
            || !GmPenCodec::decode(items.at(5), &printerPen))
            return false;
    }
    m_left.SetAsTwips(twips[0]);
    m_top.SetAsTwips(twips[1]);
    m_right.SetAsTwips(twips[2]);
    m_bottom.SetAsTwips(twips[3]);
    SetPen(pen);
    SetPrinterMarginPen(printerPen);
    return true;
}

void TGmMargins::notify()
{
    if (m_onChange)
        m_onChange();
}
