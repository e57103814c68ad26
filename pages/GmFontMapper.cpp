#include "pages/GmFontMapper.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>

TGmFontMapper &TGmFontMapper::instance()
{
    static TGmFontMapper mapper;
    return mapper;
}

QList<int> TGmFontMapper::Advances(const QList<int> &referenceWidths, int referencePpi, int targetPpi)
{
    QList<int> advances;
    advances.reserve(referenceWidths.size());
    double fraction = 0;
    for (const int width : referenceWidths) {
        const double w = double(width) / referencePpi * targetPpi;
        const double whole = std::trunc(w);
        int advance = int(whole);
        fraction += w - whole;
        if (fraction > 1) {
            const double carry = std::trunc(fraction);
            advance += int(carry);
            fraction -= carry;
        }
        advances << advance;
    }
    return advances;
}

double TGmFontMapper::PointSizeOf(const QFont &font)
{
    if (font.pointSizeF() > 0)
        return font.pointSizeF();
    if (font.pixelSize() > 0)
        return font.pixelSize() * 72.0 / ScreenResolution();
    return 12;
}

QFont TGmFontMapper::FontForResolution(const QFont &font, int ppi, const QPaintDevice *device)
{
    QFont result(font);
    const int deviceDpi = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : ScreenResolution();
    result.setPointSizeF(PointSizeOf(font) * ppi / deviceDpi);
    return result;
}

const QPaintDevice *TGmFontMapper::referenceDevice(int ppi)
{
    auto it = m_references.find(ppi);
    if (it == m_references.end()) {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMeter = int(std::lround(ppi / 0.0254));
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        it = m_references.insert(ppi, image);
    }
    return &it.value();
}

QFont TGmFontMapper::referenceFont(const QFont &font) const
{
    QFont result(font);
    result.setPointSizeF(PointSizeOf(font));
    return result;
}

QSizeF TGmFontMapper::MeasureText(const QFont &font, const QString &text)
{
    const int r = ReferenceResolution();
    const QFontMetrics metrics(referenceFont(font), const_cast<QPaintDevice *>(referenceDevice(r)));
    return QSizeF(double(metrics.horizontalAdvance(text)) / r, double(metrics.height()) / r);
}

int TGmFontMapper::CellHeight(const QFont &font, int ppi)
{
    const QFontMetrics metrics(referenceFont(font), const_cast<QPaintDevice *>(referenceDevice(ppi)));
    return metrics.height();
}

void TGmFontMapper::TextOut(
    QPainter *painter, int x, int y, const QString &text, const QFont &font, int targetPpi, bool useScreenReference)
{
    if (!painter || text.isEmpty())
        return;
    const int r = useScreenReference ? ScreenResolution() : ReferenceResolution();
    const QFontMetrics reference(referenceFont(font), const_cast<QPaintDevice *>(referenceDevice(r)));

    // One unit per character as the reference measures it; a surrogate pair is one character.
    QStringList units;
    QList<int> widths;
    for (int i = 0; i < text.size(); ++i) {
        int length = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            length = 2;
        const QString unit = text.mid(i, length);
        units << unit;
        widths << reference.horizontalAdvance(unit);
        i += length - 1;
    }
    const QList<int> advances = Advances(widths, r, targetPpi);

    painter->save();
    painter->setClipping(false);
    const QFont deviceFont = FontForResolution(font, targetPpi, painter->device());
    painter->setFont(deviceFont);
    const double baseline = y + QFontMetricsF(deviceFont, painter->device()).ascent();
    double pen = x;
    for (int i = 0; i < units.size(); ++i) {
        painter->drawText(QPointF(pen, baseline), units.at(i));
        pen += advances.at(i);
    }
    painter->restore();
}
