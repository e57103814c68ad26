#pragma once

#include "export/FrequencyPalette.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

// Builds an animated GIF89a from page bitmaps (giflib does the container and the LZW coding).
//
// Layout: header, logical screen of the largest frame with the first frame's palette as global
// colour table and the index of white as background (0 when white is absent); the "NETSCAPE2.0"
// loop extension only when there is more than one frame; per frame a graphic control extension
// (no transparency, delay in hundredths of a second), the image descriptor at (0, 0) (frames after
// the first with a local colour table) and the image data; after the last frame one comment
// extension with each non-empty comment line as a sub-block (cut to 255 bytes); the trailer.
//
// Frames wait in memory, deflated, until write().
class GifEncoder
{
public:
    void setCommentLines(const QStringList &lines) { m_comments = lines; }
    QStringList commentLines() const { return m_comments; }
    // 0 loops endlessly.
    void setLoopCount(int count) { m_loopCount = count; }

    // Reduces the page to at most 256 colours and appends it; the delay is in milliseconds.
    void addFrame(const QImage &page, int delayMilliseconds);
    int frameCount() const { return int(m_frames.size()); }

    bool write(QIODevice &device);
    QString errorString() const { return m_error; }

    // The comment lines of the program's GIF pages.
    static QStringList standardCommentLines();

private:
    struct Frame
    {
        QSize size;
        QList<QRgb> palette;
        QByteArray packedIndices; // deflated
        int delayHundredths = 0;
    };

    QList<Frame> m_frames;
    QStringList m_comments;
    int m_loopCount = 0;
    QString m_error;
};
