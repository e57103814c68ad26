#include "export/FrequencyPalette.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace {

int distance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

} // namespace

IndexedFrame IndexedFrame::fromImage(const QImage &image, int maxColors)
{
    IndexedFrame frame;
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const int w = pixels.width();
    const int h = pixels.height();
    frame.size = pixels.size();
    maxColors = std::clamp(maxColors, 1, 256);

    // Pages are mostly runs of one colour: count runs, not pixels one by one.
    QHash<QRgb, qint64> counts;
    for (int y = 0; y < h; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        int x = 0;
        while (x < w) {
            const QRgb c = line[x] & 0xFFFFFF;
            int run = 1;
            while (x + run < w && (line[x + run] & 0xFFFFFF) == c)
                ++run;
            counts[c] += run;
            x += run;
        }
    }
    std::vector<std::pair<QRgb, qint64>> ranked;
    ranked.reserve(std::size_t(counts.size()));
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        ranked.emplace_back(it.key(), it.value());
    std::sort(ranked.begin(), ranked.end(), [](const auto &a, const auto &b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    if (ranked.size() > std::size_t(maxColors))
        ranked.resize(std::size_t(maxColors));

    QHash<QRgb, uchar> lookup;
    for (std::size_t i = 0; i < ranked.size(); ++i) {
        frame.palette.append(ranked[i].first | 0xFF000000);
        lookup.insert(ranked[i].first, uchar(i));
    }

    auto indexFor = [&](QRgb c) -> uchar {
        const auto found = lookup.constFind(c);
        if (found != lookup.constEnd())
            return found.value();
        int best = 0;
        int bestDistance = distance(c, frame.palette[0]);
        for (int i = 1; i < frame.palette.size() && bestDistance > 0; ++i) {
            const int d = distance(c, frame.palette[i]);
            if (d < bestDistance) {
                best = i;
                bestDistance = d;
            }
        }
        lookup.insert(c, uchar(best));
        return uchar(best);
    };

    frame.indices.resize(qsizetype(w) * h);
    uchar *out = reinterpret_cast<uchar *>(frame.indices.data());
    for (int y = 0; y < h; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        QRgb last = 0;
        uchar lastIndex = 0;
        bool haveLast = false;
        for (int x = 0; x < w; ++x) {
            const QRgb c = line[x] & 0xFFFFFF;
            if (!haveLast || c != last) {
                last = c;
                lastIndex = indexFor(c);
                haveLast = true;
            }
            *out++ = lastIndex;
        }
    }
    return frame;
}

int IndexedFrame::indexOf(QRgb color) const
{
    for (int i = 0; i < palette.size(); ++i)
        if ((palette[i] & 0xFFFFFF) == (color & 0xFFFFFF))
            return i;
    return -1;
}
