#include "export/BmpWriter.h"
#include "export/GifEncoder.h"
#include "export/JpegWriter.h"
#include "export/PngWriter.h"
#include "export/TiffWriter.h"
#include "tests/export/ExportTestTools.h"
#include "tests/support/TestMain.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>

using namespace ExportTestTools;

namespace {

// A page as the image export draws it: white, a line of text, a grey F7F7F7 band, colour blocks.
QImage samplePage(QSize size = QSize(693, 950))
{
    QImage page(size, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    p.fillRect(QRect(20, 100, size.width() - 40, 30), QColor(0xF7, 0xF7, 0xF7));
    p.fillRect(QRect(20, 200, 100, 50), QColor(200, 30, 40));
    p.fillRect(QRect(140, 200, 100, 50), QColor(20, 90, 200));
    p.setPen(Qt::black);
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(24);
    p.setFont(font);
    p.drawText(QPoint(20, 60), QStringLiteral("Page text"));
    return page;
}

quint32 le32(const QByteArray &b, int at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint16 le16(const QByteArray &b, int at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

template <typename Writer, typename... Args>
QByteArray encode(Writer &writer, const QImage &image, Args... args)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!writer.write(buffer, image, args...))
        return {};
    return bytes;
}

QString identify(const QString &path, const QString &format)
{
    const ToolResult r = run(QStringLiteral("identify"), {QStringLiteral("-format"), format, path});
    return r.exitCode == 0 ? QString::fromUtf8(r.out) : QString();
}

// A device that refuses every write after the first few bytes.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(qint64 room)
        : m_room(room)
    {
        open(QIODevice::WriteOnly);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 len) override
    {
        if (len > m_room)
            return -1;
        m_room -= len;
        return len;
    }

private:
    qint64 m_room;
};

} // namespace

class tst_ImageWriters : public QObject
{
    Q_OBJECT

private slots:
    void bmpHeaderAndRoundTrip()
    {
        const QImage page = samplePage(QSize(31, 17)); // odd width: 32-bit rows need no padding
        BmpWriter writer;
        const QByteArray bmp = encode(writer, page);
        QCOMPARE(bmp.size(), 54 + 31 * 17 * 4);
        QVERIFY(bmp.startsWith("BM"));
        QCOMPARE(le32(bmp, 2), quint32(bmp.size()));
        QCOMPARE(le32(bmp, 10), 54u); // pixel data offset
        QCOMPARE(le32(bmp, 14), 40u); // information header size
        QCOMPARE(le32(bmp, 18), 31u);
        QCOMPARE(le32(bmp, 22), 17u); // positive: bottom row first
        QCOMPARE(le16(bmp, 26), quint16(1));
        QCOMPARE(le16(bmp, 28), quint16(32));
        QCOMPARE(le32(bmp, 30), 0u); // uncompressed
        QCOMPARE(le32(bmp, 34), quint32(31 * 17 * 4));
        // The first stored pixel is the bottom-left one, blue first.
        const QRgb bottomLeft = page.pixel(0, 16);
        QCOMPARE(uchar(bmp[54]), uchar(qBlue(bottomLeft)));
        QCOMPARE(uchar(bmp[56]), uchar(qRed(bottomLeft)));

        const QImage back = QImage::fromData(bmp, "BMP").convertToFormat(QImage::Format_RGB32);
        QCOMPARE(back, page);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.bmp"));
        QVERIFY(writeFile(path, encode(writer, samplePage())));
        QCOMPARE(identify(path, QStringLiteral("%m %w %h")), QStringLiteral("BMP3 693 950"));
    }

    void pngMakesOnlyTheKeyColourTransparent()
    {
        const QImage page = samplePage();
        PngWriter writer;
        const QByteArray png = encode(writer, page, std::optional<QRgb>(PngWriter::pageTransparentColor()));
        QVERIFY(!png.isEmpty());
        // IHDR: 8 bits, colour type 6 (RGBA), no interlace.
        QCOMPARE(png.mid(12, 4), QByteArray("IHDR"));
        QCOMPARE(int(png[24]), 8);
        QCOMPARE(int(png[25]), 6);
        QCOMPARE(int(png[28]), 0);
        QVERIFY(png.contains(QByteArray("tEXtSoftware\0", 13) + PngWriter::kSoftware));

        const QImage back = QImage::fromData(png, "PNG").convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(back.size(), page.size());
        int transparent = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const QRgb original = page.pixel(x, y);
                const QRgb read = back.pixel(x, y);
                const bool key = (original & 0xFFFFFF) == 0xF7F7F7;
                QCOMPARE(qAlpha(read), key ? 0 : 255);
                if (key)
                    ++transparent;
                else
                    QCOMPARE(read, original);
            }
        QVERIFY(transparent >= 653 * 30);
        QCOMPARE(qAlpha(back.pixel(5, 5)), 255); // the white page stays opaque

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.png"));
        QVERIFY(writeFile(path, png));
        QCOMPARE(identify(path, QStringLiteral("%m %w %h %[channels]")), QStringLiteral("PNG 693 950 srgba"));
    }

    void pngWithoutKeyIsOpaqueRgb()
    {
        PngWriter writer;
        const QByteArray png = encode(writer, samplePage(QSize(40, 30)), std::optional<QRgb>());
        QCOMPARE(int(png[25]), 2);
        QVERIFY(!QImage::fromData(png, "PNG").hasAlphaChannel());
    }

    void pngReportsWriteFailure()
    {
        FailingDevice device(100);
        PngWriter writer;
        QVERIFY(!writer.write(device, samplePage(), PngWriter::pageTransparentColor()));
        QCOMPARE(writer.errorString(), QStringLiteral("Error Writing PNG File!"));
    }

    void jpegIsBaselineJfifAtQuality100()
    {
        const QImage page = samplePage();
        JpegWriter writer;
        const QByteArray jpg = encode(writer, page, 100);
        QVERIFY(jpg.startsWith("\xFF\xD8\xFF\xE0"));
        QCOMPARE(jpg.mid(6, 5), QByteArray("JFIF\0", 5));
        QVERIFY(jpg.contains("\xFF\xC0"));  // baseline frame
        QVERIFY(!jpg.contains("\xFF\xC2")); // not progressive
        // Quality 100 makes every quantisation step 1.
        const int dqt = jpg.indexOf("\xFF\xDB");
        QVERIFY(dqt > 0);
        const int tableBytes = (uchar(jpg[dqt + 2]) << 8 | uchar(jpg[dqt + 3])) - 2;
        for (int i = 1; i < tableBytes; ++i)
            if ((i % 65) != 0)
                QCOMPARE(int(uchar(jpg[dqt + 4 + i])), 1);

        const QImage back = QImage::fromData(jpg, "JPEG");
        QCOMPARE(back.size(), page.size());
        QCOMPARE(differingFraction(back, page, QSize(231, 316), 8), 0.0);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.jpg"));
        QVERIFY(writeFile(path, jpg));
        QCOMPARE(identify(path, QStringLiteral("%m %w %h %Q")), QStringLiteral("JPEG 693 950 100"));
    }

    void jpegReportsWriteFailure()
    {
        FailingDevice device(10);
        JpegWriter writer;
        QVERIFY(!writer.write(device, samplePage(), 100));
        QVERIFY(writer.errorString().startsWith(QStringLiteral("Error Writing JPEG File!")));
    }

    void tiffLayoutOfAnExportedPage()
    {
        const QImage page = samplePage();
        TiffWriter writer;
        const QByteArray tif = encode(writer, page);
        QCOMPARE(tif.left(4), QByteArray("II\x2A\0", 4));
        QCOMPARE(le32(tif, 4), 1975095u);
        QCOMPARE(le32(tif, 8), 877u);
        QCOMPARE(le32(tif, 12), 10u);
        QCOMPARE(le32(tif, 16), 877u);
        QCOMPARE(le16(tif, 24), quint16(8));
        QCOMPARE(tif.mid(30, 15), QByteArray("Velmora Office\0", 15));
        QCOMPARE(tif.size(), 1975095 + 2 + 15 * 12 + 4);
        QVERIFY(tif.endsWith(QByteArray(4, '\0')));
        const int d = 1975095;
        QCOMPARE(le16(tif, d), quint16(15));
        const QList<quint16> tags = {254, 256, 257, 258, 259, 262, 273, 277, 278, 279, 282, 283, 284, 296, 305};
        const QList<quint32> values = {0, 693, 950, 24, 1, 2, 45, 3, 950, 1975050, 8, 16, 1, 2, 30};
        for (int i = 0; i < 15; ++i) {
            const int e = d + 2 + 12 * i;
            QCOMPARE(le16(tif, e), tags[i]);
            const quint16 type = le16(tif, e + 2);
            const quint32 value = type == 3 && le32(tif, e + 4) == 1 ? le16(tif, e + 8) : le32(tif, e + 8);
            QCOMPARE(value, values[i]);
        }
        // The first pixel of the data is the top-left one, red first.
        const QRgb p = page.pixel(20, 200);
        const int at = 45 + (200 * 693 + 20) * 3;
        QCOMPARE(uchar(tif[at]), uchar(qRed(p)));
        QCOMPARE(uchar(tif[at + 2]), uchar(qBlue(p)));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.tiff"));
        QVERIFY(writeFile(path, tif));
        const ToolResult info = run(QStringLiteral("tiffinfo"), {path});
        QCOMPARE(info.exitCode, 0);
        QVERIFY2(info.err.isEmpty(), info.err.constData());
        QVERIFY(info.out.contains("Image Width: 693 Image Length: 950"));
        QVERIFY(info.out.contains("Resolution: 87.7, 87.7 pixels/inch"));
        QVERIFY(info.out.contains("Photometric Interpretation: RGB color"));
        QVERIFY(info.out.contains("Software: Velmora Office"));
        QCOMPARE(identify(path, QStringLiteral("%m %w %h")), QStringLiteral("TIFF 693 950"));

        QImageReader reader(path);
        if (reader.canRead()) {
            QCOMPARE(reader.read().convertToFormat(QImage::Format_RGB32), page);
        } else {
            const QString png = dir.filePath(QStringLiteral("back.png"));
            QCOMPARE(run(QStringLiteral("/usr/bin/convert"), {path, png}).exitCode, 0);
            QCOMPARE(QImage(png).convertToFormat(QImage::Format_RGB32), page);
        }
    }

    void gifStructure_data()
    {
        QTest::addColumn<int>("frames");
        QTest::addColumn<int>("delayMs");
        QTest::newRow("one page") << 1 << 5000;
        QTest::newRow("three pages") << 3 << 60000;
    }
    void gifStructure()
    {
        QFETCH(int, frames);
        QFETCH(int, delayMs);
        GifEncoder gif;
        gif.setCommentLines({QStringLiteral("first line"), QString(), QString(300, QLatin1Char('x'))});
        QList<QImage> pages;
        for (int i = 0; i < frames; ++i) {
            QImage page = samplePage(QSize(200, 150 + 10 * i));
            QPainter(&page).fillRect(QRect(0, 140, 20 + 20 * i, 10), Qt::darkGreen);
            pages.append(page);
            gif.addFrame(page, delayMs);
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY2(gif.write(buffer), qPrintable(gif.errorString()));

        const GifStructure s = parseGif(bytes);
        QVERIFY(s.valid);
        QCOMPARE(s.version, QByteArray("GIF89a"));
        QCOMPARE(s.screen, QSize(200, 150 + 10 * (frames - 1)));
        QCOMPARE(s.globalTable.value(s.backgroundIndex), qRgb(255, 255, 255));
        QCOMPARE(s.frames.size(), frames);
        QCOMPARE(s.delays, QList<int>(frames, delayMs / 10));
        QCOMPARE(s.controlFlags, QList<int>(frames, 0));
        QCOMPARE(s.applications, frames > 1 ? QStringList{QStringLiteral("NETSCAPE2.0")} : QStringList());
        if (frames > 1)
            QCOMPARE(s.applicationData.first(), QByteArray("\x01\x00\x00", 3));
        for (int i = 0; i < frames; ++i) {
            QCOMPARE(s.frames[i], QRect(0, 0, 200, 150 + 10 * i));
            QCOMPARE(s.localTables[i], i > 0);
        }
        QCOMPARE(s.comments.size(), 1);
        QCOMPARE(s.comments.first(), (QByteArrayList{"first line", QByteArray(255, 'x')}));
        QByteArrayList expectedOrder{"screen"};
        if (frames > 1)
            expectedOrder << "app";
        for (int i = 0; i < frames; ++i)
            expectedOrder << "gce" << "image";
        expectedOrder << "comment" << "trailer";
        QCOMPARE(s.order, expectedOrder);

        // Qt's reader gives every frame back with the page's colours (few colours: no loss).
        QImageReader reader(&buffer, "gif");
        buffer.close();
        buffer.open(QIODevice::ReadOnly);
        QCOMPARE(reader.imageCount(), frames);
        for (int i = 0; i < frames; ++i) {
            const QImage frame = reader.read().convertToFormat(QImage::Format_RGB32);
            QCOMPARE(frame.copy(QRect(QPoint(0, 0), pages[i].size())), pages[i].copy(QRect(QPoint(0, 0), pages[i].size())).convertToFormat(QImage::Format_RGB32).copy());
        }

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pages.gif"));
        QVERIFY(writeFile(path, bytes));
        const QString frameInfo = identify(path, QStringLiteral("%T %w %h;"));
        QString expectedInfo;
        for (int i = 0; i < frames; ++i)
            expectedInfo += QStringLiteral("%1 200 %2;").arg(delayMs / 10).arg(150 + 10 * i);
        QCOMPARE(frameInfo, expectedInfo);
        const ToolResult giftext = run(QStringLiteral("giftext"), {path});
        QCOMPARE(giftext.exitCode, 0);
    }

    // More colours than a palette holds: the most frequent ones survive exactly, the rest map to
    // their nearest palette colour.
    void paletteKeepsTheMostFrequentColours()
    {
        QImage page(64, 64, QImage::Format_RGB32);
        page.fill(Qt::white);
        // 300 distinct, close colours in single pixels, then two large blocks.
        for (int i = 0; i < 300; ++i)
            page.setPixel(i % 64, 40 + i / 64, qRgb(100 + i % 20, 100 + i / 20, 50));
        QPainter p(&page);
        p.fillRect(QRect(0, 0, 32, 20), QColor(10, 20, 30));
        p.fillRect(QRect(32, 0, 32, 10), QColor(250, 0, 0));
        p.end();
        const IndexedFrame frame = IndexedFrame::fromImage(page);
        QCOMPARE(frame.palette.size(), 256);
        QCOMPARE(frame.palette[0] & 0xFFFFFF, 0xFFFFFFu);
        QCOMPARE(frame.palette[1] & 0xFFFFFF, qRgb(10, 20, 30) & 0xFFFFFFu);
        QCOMPARE(frame.palette[2] & 0xFFFFFF, qRgb(250, 0, 0) & 0xFFFFFFu);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const QRgb original = page.pixel(x, y);
                const QRgb mapped = frame.palette[uchar(frame.indices[y * 64 + x])];
                auto distance = [&](QRgb c) {
                    return (qRed(original) - qRed(c)) * (qRed(original) - qRed(c))
                           + (qGreen(original) - qGreen(c)) * (qGreen(original) - qGreen(c))
                           + (qBlue(original) - qBlue(c)) * (qBlue(original) - qBlue(c));
                };
                int nearest = INT_MAX;
                for (QRgb c : frame.palette)
                    nearest = qMin(nearest, distance(c));
                if (frame.indexOf(original) >= 0)
                    QCOMPARE(mapped, original | 0xFF000000);
                else
                    QCOMPARE(distance(mapped), nearest);
                QVERIFY(distance(mapped) <= 13);
            }
    }
};

LUMARO_TEST_CLASS(tst_ImageWriters)
#include "tst_imagewriters.moc"
