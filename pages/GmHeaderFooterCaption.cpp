#include "pages/GmHeaderFooterCaption.h"

#include <QLocale>

TGmHeaderFooterCaption::TGmHeaderFooterCaption(std::function<void()> onChange)
    : m_font(QStringLiteral("Arial"))
    , m_onChange(std::move(onChange))
{
    m_font.setPointSize(12);
}

void TGmHeaderFooterCaption::SetCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    notify();
}

void TGmHeaderFooterCaption::SetFont(const QFont &font)
{
    if (font == m_font)
        return;
    m_font = font;
    notify();
}

double TGmHeaderFooterCaption::PointSize() const
{
    if (m_font.pointSizeF() > 0)
        return m_font.pointSizeF();
    if (m_font.pixelSize() > 0)
        return m_font.pixelSize() * 72.0 / 96.0;
    return 12;
}

void TGmHeaderFooterCaption::Assign(const TGmHeaderFooterCaption &other)
{
    const bool changed = m_caption != other.m_caption || m_font != other.m_font;
    m_caption = other.m_caption;
    m_font = other.m_font;
    if (changed)
        notify();
}

QString TGmHeaderFooterCaption::ExpandTokens(
    const QString &text, int page, int pageCount, const QDateTime &now, const QString &dateSeparator)
{
    QString result = text;
    const QString date = now.date().toString(QStringLiteral("dd")) + dateSeparator
        + now.date().toString(QStringLiteral("MM")) + dateSeparator + now.date().toString(QStringLiteral("yyyy"));
    const QString time
        = now.time().toString(QStringLiteral("HH")) + dateSeparator + now.time().toString(QStringLiteral("mm"));
    result.replace(QStringLiteral("{DATE}"), date);
    result.replace(QStringLiteral("{TIME}"), time);
    result.replace(QStringLiteral("{PAGE}"), QString::number(page));
    result.replace(QStringLiteral("{NUMPAGES}"), QString::number(pageCount));
    return result;
}

QString TGmHeaderFooterCaption::LocaleDateSeparator()
{
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    for (const QChar c : format) {
        if (!c.isLetterOrNumber() && !c.isSpace() && c != QLatin1Char('\''))
            return QString(c);
    }
    return QStringLiteral("/");
}

void TGmHeaderFooterCaption::notify()
{
    if (m_onChange)
        m_onChange();
}
