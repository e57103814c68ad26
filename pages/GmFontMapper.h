#pragma once

#include <QFont>
#include <QHash>
#include <QImage>
#include <QList>
#include <QSizeF>
#include <QString>

class QPainter;
class QPaintDevice;

// Places every character of a text where it would stand on a very fine reference grid, so that
// text measures the same on every device. One instance serves the whole program.
class TGmFontMapper
{
public:
    static TGmFontMapper &instance();

    // The resolution of the fine grid, per inch.
    static constexpr int ReferenceResolution() { return 7200; }
    static constexpr int ScreenResolution() { return 96; }

    // The per-character rule: each reference width w is scaled to the target (w / R x T); every
    // character gets the whole part, the fractions add up and a carry of whole pixels goes to
    // the character where the running sum exceeds 1 (strictly).
    static QList<int> Advances(const QList<int> &referenceWidths, int referencePpi, int targetPpi);

    // Width and height of the whole text in inches, measured at the reference resolution.
    QSizeF MeasureText(const QFont &font, const QString &text);
    // The font's cell height (ascent plus descent) in whole pixels at the given resolution.
    int CellHeight(const QFont &font, int ppi);

    // Writes text with its top-left corner at (x, y) in painter units of targetPpi per inch,
    // unclipped, with the advances of the reference grid (96 when useScreenReference).
    void TextOut(QPainter *painter, int x, int y, const QString &text, const QFont &font, int targetPpi,
        bool useScreenReference = false);

    // The font in points (a pixel-sized font counts at 96 per inch).
    static double PointSizeOf(const QFont &font);
    // A copy of the font sized so that on the device it is as large as the font's point size at
    // ppi device units per inch (painters under a scaling transform draw in those units).
    static QFont FontForResolution(const QFont &font, int ppi, const QPaintDevice *device);

private:
    TGmFontMapper() = default;
    const QPaintDevice *referenceDevice(int ppi);
    QFont referenceFont(const QFont &font) const;

    QHash<int, QImage> m_references;
};
