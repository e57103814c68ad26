#include "export/GifEncoder.h"

#include "export/ExportTexts.h"
#include "platform/AnsiCodec.h"

#include <QIODevice>

#include <gif_lib.h>

#include <memory>

namespace {

int writeToDevice(GifFileType *gif, const GifByteType *data, int length)
{
    auto *device = static_cast<QIODevice *>(gif->UserData);
    return int(device->write(reinterpret_cast<const char *>(data), length));
}

struct MapDeleter
{
    void operator()(ColorMapObject *map) const { GifFreeMapObject(map); }
};
using ColorMap = std::unique_ptr<ColorMapObject, MapDeleter>;

// giflib wants colour tables of a power-of-two size, two entries at least; the rest is black.
ColorMap makeMap(const QList<QRgb> &palette)
{
    int size = 2;
    while (size < palette.size())
        size *= 2;
    ColorMap map(GifMakeMapObject(size, nullptr));
    if (!map)
        return map;
    for (int i = 0; i < size; ++i) {
        const QRgb c = i < palette.size() ? palette[i] : 0;
        map->Colors[i].Red = GifByteType(qRed(c));
        map->Colors[i].Green = GifByteType(qGreen(c));
        map->Colors[i].Blue = GifByteType(qBlue(c));
    }
    return map;
}

} // namespace

QStringList GifEncoder::standardCommentLines()
{
    return ExportTexts::gifCommentLines();
}

void GifEncoder::addFrame(const QImage &page, int delayMilliseconds)
{
    const IndexedFrame indexed = IndexedFrame::fromImage(page);
    Frame frame;
    frame.size = indexed.size;
    frame.palette = indexed.palette;
    frame.packedIndices = qCompress(indexed.indices, 1);
    frame.delayHundredths = qBound(0, delayMilliseconds / 10, 0xFFFF);
    m_frames.append(frame);
}

bool GifEncoder::write(QIODevice &device)
{
    m_error.clear();
    if (m_frames.isEmpty()) {
        m_error = QStringLiteral("The GIF has no frames.");
        return false;
    }
    QSize screen;
    for (const Frame &f : m_frames)
        screen = screen.expandedTo(f.size);
    if (screen.width() > 0xFFFF || screen.height() > 0xFFFF) {
        m_error = QStringLiteral("The pages are too large for a GIF.");
        return false;
    }

    int error = 0;
    GifFileType *gif = EGifOpen(&device, writeToDevice, &error);
    if (!gif) {
        m_error = QString::fromLatin1(GifErrorString(error));
        return false;
    }
    bool ok = true;
    auto check = [&](int rc) {
        if (ok && rc == GIF_ERROR) {
            ok = false;
            m_error = QStringLiteral("Error Writing GIF File! ") + QString::fromLatin1(GifErrorString(gif->Error));
        }
        return ok;
    };

    EGifSetGifVersion(gif, true);
    const ColorMap global = makeMap(m_frames.first().palette);
    int background = 0;
    for (int i = 0; i < m_frames.first().palette.size(); ++i)
        if ((m_frames.first().palette[i] & 0xFFFFFF) == 0xFFFFFF) {
            background = i;
            break;
        }
    check(EGifPutScreenDesc(gif, screen.width(), screen.height(), 8, background, global.get()));

    if (ok && m_frames.size() > 1) {
        const GifByteType loop[3] = {1, GifByteType(m_loopCount & 0xFF), GifByteType((m_loopCount >> 8) & 0xFF)};
        check(EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE));
        check(EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0"));
        check(EGifPutExtensionBlock(gif, 3, loop));
        check(EGifPutExtensionTrailer(gif));
    }

    for (int f = 0; ok && f < m_frames.size(); ++f) {
        const Frame &frame = m_frames[f];
        const GifByteType control[4] = {0, GifByteType(frame.delayHundredths & 0xFF),
                                        GifByteType(frame.delayHundredths >> 8), 0};
        check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control));
        const ColorMap local = f == 0 ? ColorMap() : makeMap(frame.palette);
        check(EGifPutImageDesc(gif, 0, 0, frame.size.width(), frame.size.height(), false, local.get()));
        QByteArray indices = qUncompress(frame.packedIndices);
        for (int y = 0; ok && y < frame.size.height(); ++y)
            check(EGifPutLine(gif, reinterpret_cast<GifPixelType *>(indices.data()) + qsizetype(y) * frame.size.width(),
                              frame.size.width()));
    }

    if (ok) {
        check(EGifPutExtensionLeader(gif, COMMENT_EXT_FUNC_CODE));
        for (const QString &line : std::as_const(m_comments)) {
            const QByteArray bytes = AnsiCodec::fromUnicode(line).left(255);
            if (!bytes.isEmpty())
                check(EGifPutExtensionBlock(gif, int(bytes.size()), bytes.constData()));
        }
        check(EGifPutExtensionTrailer(gif));
    }

    if (EGifCloseFile(gif, &error) == GIF_ERROR && ok) {
        ok = false;
        m_error = QStringLiteral("Error Writing GIF File! ") + QString::fromLatin1(GifErrorString(error));
    }
    return ok;
}
