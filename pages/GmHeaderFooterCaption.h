#pragma once

#include <QDateTime>
#include <QFont>
#include <QString>

#include <functional>

// One caption of a header or footer: text that may carry the tokens {DATE}, {TIME}, {PAGE} and
// {NUMPAGES}, and its font (default "Arial", 12 point). Changes reach the owner callback.
class TGmHeaderFooterCaption
{
public:
    explicit TGmHeaderFooterCaption(std::function<void()> onChange = {});
    TGmHeaderFooterCaption(const TGmHeaderFooterCaption &) = delete;
    TGmHeaderFooterCaption &operator=(const TGmHeaderFooterCaption &) = delete;

    void setOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);
    QFont Font() const { return m_font; }
    void SetFont(const QFont &font);
    // The font's size in points; a font given in pixels counts at 96 per inch.
    double PointSize() const;

    void Assign(const TGmHeaderFooterCaption &other);

    // Rewrites the tokens, case-sensitively and each at every occurrence, in the order
    // {DATE} (dd/mm/yyyy), {TIME} (hh/mm, 24-hour), {PAGE}, {NUMPAGES}. "/" stands for
    // dateSeparator.
    static QString ExpandTokens(
        const QString &text, int page, int pageCount, const QDateTime &now, const QString &dateSeparator);
    // The date separator of the default locale's short date format ("/" when it has none).
    static QString LocaleDateSeparator();

private:
    void notify();

    QString m_caption;
    QFont m_font;
    std::function<void()> m_onChange;
};
