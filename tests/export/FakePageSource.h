#pragma once

#include "export/ExportPageSource.h"

#include <QFont>
#include <QList>
#include <QPaintDevice>
#include <QPainter>
#include <QRect>
#include <QStringList>

// A document of plain lines for the export tests: each line is drawn 20 pixels below the last in
// a 16-pixel font, a page takes the lines that fit into the rectangle, a line and its break count
// as its length + 1 positions. It records every request.
class FakePageSource : public ExportPageSource
{
public:
    explicit FakePageSource(QStringList lines = {})
        : m_lines(std::move(lines))
    {
    }

    static constexpr int kLineHeight = 20;

    struct Request
    {
        QRect rectTwips;
        int start;
        QSize deviceSize;
        int dpiX;
        int depth;
    };

    QStringList m_lines;
    QStringList m_displayLines; // when empty, the lines themselves
    QList<Request> m_requests;
    int m_releases = 0;
    bool m_stuck = false; // takes nothing, as a page that cannot hold its first line

    int textLength() const override
    {
        int n = 0;
        for (const QString &l : m_lines)
            n += int(l.size()) + 1;
        return m_lines.isEmpty() ? 0 : n - 1;
    }

    int renderPage(QPainter &painter, const QRect &rectTwips, int start) override
    {
        QPaintDevice *device = painter.device();
        m_requests.append({rectTwips, start, QSize(device->width(), device->height()), device->logicalDpiX(),
                           device->depth()});
        if (m_stuck)
            return start;
        const QRect px(rectTwips.left() * device->logicalDpiX() / 1440, rectTwips.top() * device->logicalDpiY() / 1440,
                       rectTwips.width() * device->logicalDpiX() / 1440, rectTwips.height() * device->logicalDpiY() / 1440);
        QFont font(QStringLiteral("Liberation Serif"));
        font.setPixelSize(16);
        painter.setFont(font);
        painter.setPen(Qt::black);
        int position = 0;
        int y = px.top();
        for (const QString &line : m_lines) {
            const int length = int(line.size()) + 1;
            if (position + length <= start) {
                position += length;
                continue;
            }
            if (y + kLineHeight > px.bottom() + 1)
                return position;
            painter.drawText(QPoint(px.left(), y + 15), line);
            y += kLineHeight;
            position += length;
        }
        return textLength();
    }

    void releaseCache() override { ++m_releases; }

    QStringList displayLines() const override { return m_displayLines.isEmpty() ? m_lines : m_displayLines; }

    static QStringList numberedLines(int count, const QString &prefix = QStringLiteral("Line"))
    {
        QStringList lines;
        for (int i = 1; i <= count; ++i)
            lines.append(prefix + QLatin1Char(' ') + QString::number(i));
        return lines;
    }
};
