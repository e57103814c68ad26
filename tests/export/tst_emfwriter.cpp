#include "platform/emf/EmfPaintDevice.h"
#include "tests/export/ExportTestTools.h"
#include "tests/support/TestMain.h"

#include <QPainter>
#include <QPainterPath>
#include <QTemporaryDir>
#include <QtEndian>

using namespace ExportTestTools;

namespace {

struct EmfRecord
{
    quint32 type = 0;
    QByteArray data; // the whole record
    quint32 u32(int at) const { return qFromLittleEndian<quint32>(data.constData() + at); }
    qint32 i32(int at) const { return qFromLittleEndian<qint32>(data.constData() + at); }
};

// Splits an EMF file into its records; empty when a record size is wrong.
QList<EmfRecord> readRecords(const QByteArray &bytes)
{
    QList<EmfRecord> records;
    qsizetype at = 0;
    while (at + 8 <= bytes.size()) {
        const quint32 type = qFromLittleEndian<quint32>(bytes.constData() + at);
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        if (size < 8 || size % 4 || at + size > bytes.size())
            return {};
        records.append({type, bytes.mid(at, size)});
        at += size;
    }
    return at == bytes.size() ? records : QList<EmfRecord>();
}

QString utf16(const QByteArray &data, int at, int chars)
{
    QString s;
    for (int i = 0; i < chars; ++i)
        s.append(QChar(qFromLittleEndian<quint16>(data.constData() + at + 2 * i)));
    return s;
}

EmfPaintDevice::Options options()
{
    EmfPaintDevice::Options o;
    o.application = QStringLiteral("Velmora Office - Altavue 1.2");
    o.description = QStringLiteral("Created by Velmora Lumaro 8.2.2.2");
    return o;
}

// Draws the sample page on any surface.
void drawSample(QPainter &p)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(28);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QPointF(40, 80), QStringLiteral("Hello metafile"));
    font.setPixelSize(20);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(200, 0, 0));
    p.drawText(QPointF(40, 130), QStringLiteral("Second line"));
    p.setPen(QPen(Qt::darkBlue, 3));
    p.drawLine(QPointF(40, 150), QPointF(400, 150));
    p.setBrush(QColor(0, 160, 0));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(40, 180, 120, 60));
    p.setBrush(QColor(0, 0, 200));
    p.drawEllipse(QRectF(200, 180, 100, 60));
    QPainterPath path;
    path.moveTo(340, 240);
    path.lineTo(400, 180);
    path.cubicTo(420, 200, 440, 220, 460, 240);
    path.closeSubpath();
    p.setBrush(QColor(240, 160, 0));
    p.drawPath(path);
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(QColor(128, 0, 128));
    p.drawImage(QRectF(40, 280, 80, 80), picture);
    p.save();
    p.translate(300, 300);
    p.scale(2, 2);
    p.setBrush(QColor(90, 90, 90));
    p.drawRect(QRectF(0, 0, 30, 20)); // 60 x 40 at (300, 300)
    p.restore();
}

QByteArray recordSample(QSize size = QSize(693, 950))
{
    EmfPaintDevice device(size, options());
    QPainter p(&device);
    drawSample(p);
    p.end();
    return device.data();
}

} // namespace

class tst_EmfWriter : public QObject
{
    Q_OBJECT

private slots:
    void headerDescribesThePage()
    {
        const QByteArray emf = recordSample();
        const QList<EmfRecord> records = readRecords(emf);
        QVERIFY(!records.isEmpty());
        const EmfRecord &h = records.first();
        QCOMPARE(h.type, 1u);
        QCOMPARE(h.u32(40), 0x464D4520u);
        QCOMPARE(h.u32(44), 0x10000u);
        QCOMPARE(h.u32(48), quint32(emf.size()));
        QCOMPARE(h.u32(52), quint32(records.size()));
        // Frame in hundredths of a millimetre: 693 x 950 pixels at 96 per inch.
        QCOMPARE(h.i32(24), 0);
        QCOMPARE(h.i32(28), 0);
        QCOMPARE(h.i32(32), 18336);
        QCOMPARE(h.i32(36), 25135);
        // Bounds: the drawing, inclusive, in pixels.
        QVERIFY(h.i32(8) <= 40 && h.i32(8) >= 35);
        QVERIFY(h.i32(16) >= 459 && h.i32(16) < 470);
        QVERIFY(h.i32(20) >= 359 && h.i32(20) < 365);
        QCOMPARE(h.u32(72), 1920u);
        QCOMPARE(h.u32(76), 1080u);
        const int chars = int(h.u32(60));
        QCOMPARE(utf16(h.data, int(h.u32(64)), chars),
                 QStringLiteral("Velmora Office - Altavue 1.2") + QChar(0)
                     + QStringLiteral("Created by Velmora Lumaro 8.2.2.2") + QChar(0) + QChar(0));
        const EmfRecord &eof = records.last();
        QCOMPARE(eof.type, 14u);
        QCOMPARE(eof.data.size(), 20);
        QCOMPARE(eof.u32(16), 20u);
    }

    void emptyPageHasEmptyBounds()
    {
        EmfPaintDevice device(QSize(100, 50), options());
        QPainter p(&device);
        p.end();
        const QList<EmfRecord> records = readRecords(device.data());
        QVERIFY(records.size() >= 2);
        QCOMPARE(records.first().i32(16), -1);
        QCOMPARE(records.last().type, 14u);
    }

    void textCarriesFontAndAdvances()
    {
        const QList<EmfRecord> records = readRecords(recordSample());
        QStringList texts;
        QList<int> totals;
        QStringList faces;
        QList<int> heights;
        QList<int> weights;
        for (const EmfRecord &r : records) {
            if (r.type == 84) {
                const int chars = int(r.u32(44));
                texts.append(utf16(r.data, int(r.u32(48)), chars));
                int total = 0;
                for (int i = 0; i < chars; ++i)
                    total += r.i32(int(r.u32(72)) + 4 * i);
                totals.append(total);
                QCOMPARE(QPoint(r.i32(36), r.i32(40)), texts.size() == 1 ? QPoint(40, 80) : QPoint(40, 130));
            } else if (r.type == 82) {
                heights.append(r.i32(12));
                weights.append(r.i32(28));
                faces.append(utf16(r.data, 40, 32).section(QChar(0), 0, 0));
            }
        }
        QCOMPARE(texts, (QStringList{QStringLiteral("Hello metafile"), QStringLiteral("Second line")}));
        QCOMPARE(faces, (QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("Liberation Sans")}));
        QCOMPARE(heights, (QList<int>{-28, -20}));
        QCOMPARE(weights, (QList<int>{400, 700}));
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(28);
        QImage probe(10, 10, QImage::Format_RGB32);
        const double width = QFontMetricsF(font, &probe).horizontalAdvance(QStringLiteral("Hello metafile"));
        QVERIFY(qAbs(totals.first() - width) <= 1.0);
    }

    void shapesBecomeRecords()
    {
        const QList<EmfRecord> records = readRecords(recordSample());
        QList<quint32> types;
        for (const EmfRecord &r : records)
            types.append(r.type);
        QVERIFY(types.contains(38u)); // pen
        QVERIFY(types.contains(39u)); // brush
        QVERIFY(types.contains(4u));  // the line
        QVERIFY(types.contains(42u)); // the ellipse
        QVERIFY(types.contains(59u) && types.contains(5u) && types.contains(61u) && types.contains(62u));
        QVERIFY(types.contains(81u)); // the picture
        QList<QRect> boxes;
        for (const EmfRecord &r : records)
            if (r.type == 43)
                boxes.append(QRect(QPoint(r.i32(8), r.i32(12)), QPoint(r.i32(16) - 1, r.i32(20) - 1)));
        // Without a pen the box covers the rectangle's pixels plus the edge GDI leaves out.
        QCOMPARE(boxes, (QList<QRect>{QRect(40, 180, 121, 61), QRect(300, 300, 61, 41)}));
        for (const EmfRecord &r : records)
            if (r.type == 81) {
                QCOMPARE(QRect(r.i32(24), r.i32(28), r.i32(72), r.i32(76)), QRect(40, 280, 80, 80));
                QCOMPARE(r.u32(40), 40u); // source width
                QCOMPARE(r.u32(92), 1u | (32u << 16)); // one plane, 32 bits
                // Bottom-up 32-bit rows: the first pixel is purple.
                QCOMPARE(uchar(r.data[120]), uchar(128));
                QCOMPARE(uchar(r.data[121]), uchar(0));
                QCOMPARE(uchar(r.data[122]), uchar(128));
            }
    }

    void clipRegionIsRecorded()
    {
        EmfPaintDevice device(QSize(200, 200), options());
        QPainter p(&device);
        p.setClipRect(QRect(10, 10, 50, 50));
        p.fillRect(QRect(0, 0, 200, 200), Qt::red);
        p.setClipping(false);
        p.fillRect(QRect(0, 0, 5, 5), Qt::blue);
        p.end();
        QList<quint32> sequence;
        QRect clip;
        for (const EmfRecord &r : readRecords(device.data())) {
            if (r.type == 75) {
                sequence.append(r.u32(8)); // region bytes
                if (r.u32(8))
                    clip = QRect(QPoint(r.i32(48), r.i32(52)), QPoint(r.i32(56) - 1, r.i32(60) - 1));
            } else if (r.type == 43) {
                sequence.append(43);
            }
        }
        QCOMPARE(sequence, (QList<quint32>{48, 43, 0, 43}));
        QCOMPARE(clip, QRect(10, 10, 50, 50));
    }

    // LibreOffice shows the page's text and shapes where our own rendering has them. Without its
    // drawing module it opens a metafile only inside a document: the page goes into an RTF picture
    // on a paper of the page's size.
    void libreOfficeShowsThePage()
    {
        if (!haveTool(QStringLiteral("soffice")))
            QSKIP("LibreOffice is not installed");
        QTemporaryDir dir;
        const QByteArray emf = recordSample();
        const QString rtf = dir.filePath(QStringLiteral("page.rtf"));
        QVERIFY(writeFile(rtf, "{\\rtf1\\ansi\\paperw10395\\paperh14250\\margl0\\margr0\\margt0\\margb0"
                               "{\\pict\\emfblip\\picw18336\\pich25135\\picwgoal10395\\pichgoal14250 "
                                   + emf.toHex() + "}}"));
        const QString profile = QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("lo"));
        const ToolResult r = run(QStringLiteral("soffice"),
                                 {profile, QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                                  QStringLiteral("pdf"), QStringLiteral("--outdir"), dir.path(), rtf});
        QCOMPARE(r.exitCode, 0);
        const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
        QVERIFY2(QFile::exists(pdf), r.err.constData());
        const QByteArray text = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).out;
        QVERIFY2(text.contains("Hello metafile"), text.constData());
        QVERIFY(text.contains("Second line"));

        // The page as LibreOffice draws it, against the same drawing painted by Qt.
        QImage ours(693, 950, QImage::Format_RGB32);
        ours.fill(Qt::white);
        {
            QPainter p(&ours);
            drawSample(p);
        }
        const QImage theirs = renderPdfPage(pdf, 1, 96);
        QVERIFY(!theirs.isNull());
        QVERIFY2(qAbs(double(theirs.width()) / theirs.height() - 693.0 / 950) < 0.01,
                 qPrintable(QStringLiteral("%1x%2").arg(theirs.width()).arg(theirs.height())));
        const double differing = differingFraction(ours, theirs, QSize(99, 136), 48);
        QVERIFY2(differing < 0.02, qPrintable(QString::number(differing)));
    }
};

LUMARO_TEST_CLASS(tst_EmfWriter)
#include "tst_emfwriter.moc"
