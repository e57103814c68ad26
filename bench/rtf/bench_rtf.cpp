// Rich text reading and writing: throughput and peak memory on generated documents of formatted
// text with pictures and tables (1 MB and 10 MB, to show that reading grows linearly), and on the
// largest files of the shared corpus.
#include "bench/support/BenchSupport.h"
#include "platform/rtf/RtfDocumentCodec.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTextDocument>

#include <algorithm>

namespace {

const QString kBench = QStringLiteral("rtf");

QByteArray pictureHex()
{
    QImage image(48, 32, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 5, y * 7, (x * y) & 0xFF));
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toHex();
}

// A document of about `bytes` bytes: paragraphs of mixed runs, a picture every 40 paragraphs and a
// small table every 60.
QByteArray generate(qsizetype bytes)
{
    static const QByteArray picture = pictureHex();
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                     "{\\f1\\froman\\fcharset0 Times New Roman;}{\\f2\\fmodern\\fcharset0 Courier New;}"
                     "{\\f3\\fnil\\fcharset204 Cyrillic;}}"
                     "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green128\\blue0;}\n";
    rtf.reserve(bytes + 4096);
    int paragraph = 0;
    while (rtf.size() < bytes) {
        ++paragraph;
        rtf += "\\pard\\ql\\fi-360\\li720\\sb60\\sa60\\sl276\\slmult1 ";
        for (int run = 0; run < 6; ++run) {
            rtf += "{\\f" + QByteArray::number(run % 3) + "\\fs" + QByteArray::number(20 + 2 * run);
            if (run % 2)
                rtf += "\\b";
            if (run % 3 == 1)
                rtf += "\\i\\ul";
            if (run % 4 == 3)
                rtf += "\\cf" + QByteArray::number(1 + run % 3);
            rtf += " The quick brown fox jumps over the lazy dog, caf\\'e9 \\u8364? number "
                + QByteArray::number(paragraph) + ".}";
        }
        rtf += "{\\f3 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}\\par\n";
        if (paragraph % 40 == 0)
            rtf += "\\pard{\\pict\\pngblip\\picw48\\pich32\\picwgoal720\\pichgoal480\n" + picture + "}\\par\n";
        if (paragraph % 60 == 0) {
            for (int row = 0; row < 3; ++row) {
                rtf += "\\trowd\\cellx2000\\cellx4000\\cellx6000";
                for (int cell = 0; cell < 3; ++cell)
                    rtf += "\\pard\\intbl cell " + QByteArray::number(row) + "." + QByteArray::number(cell) + "\\cell";
                rtf += "\\row\n";
            }
        }
    }
    rtf += "}";
    return rtf;
}

struct Measure
{
    double readSeconds = 0;
    double writeSeconds = 0;
    qsizetype written = 0;
    qint64 peakKiB = 0;
};

Measure measure(const QByteArray &rtf)
{
    Measure m;
    RtfDocumentCodec codec;
    Bench::resetPeakMemory();
    const qint64 before = Bench::currentMemoryKiB();
    QElapsedTimer timer;
    QTextDocument doc;
    timer.start();
    codec.read(rtf, doc, nullptr);
    m.readSeconds = timer.nsecsElapsed() / 1e9;
    timer.restart();
    const QByteArray out = codec.write(doc);
    m.writeSeconds = timer.nsecsElapsed() / 1e9;
    m.written = out.size();
    m.peakKiB = Bench::peakMemoryKiB() - before;
    return m;
}

double megabytes(qsizetype bytes)
{
    return bytes / (1024.0 * 1024.0);
}

void report(const QString &name, qsizetype size, const Measure &m)
{
    Bench::printFigure(kBench, name + QStringLiteral(" read"), megabytes(size) / m.readSeconds, QStringLiteral("MB/s"));
    Bench::printFigure(
        kBench, name + QStringLiteral(" write"), megabytes(m.written) / m.writeSeconds, QStringLiteral("MB/s"));
    Bench::printFigure(kBench, name + QStringLiteral(" peak memory"), m.peakKiB / 1024.0, QStringLiteral("MB"));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("offscreen")).toUtf8());
    QGuiApplication app(argc, argv);

    const QByteArray small = generate(1024 * 1024);
    const QByteArray large = generate(10 * 1024 * 1024);
    measure(small); // warm up code pages, image plugins and allocators
    const Measure s = measure(small);
    const Measure l = measure(large);
    report(QStringLiteral("generated 1MB"), small.size(), s);
    report(QStringLiteral("generated 10MB"), large.size(), l);
    Bench::printFigure(kBench, QStringLiteral("read time 10MB / 1MB"), l.readSeconds / s.readSeconds,
        QStringLiteral("x (10 is linear)"));

    const QString corpus = qEnvironmentVariable("LUMARO_SHARED_DIR", QStringLiteral(LUMARO_BENCH_SHARED_DIR))
        + QStringLiteral("/corpus/rtf");
    QFileInfoList files = QDir(corpus).entryInfoList({ QStringLiteral("*.rtf") }, QDir::Files, QDir::Size);
    files = files.mid(0, 3);
    for (const QFileInfo &info : std::as_const(files)) {
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray rtf = file.readAll();
        report(QStringLiteral("corpus ") + info.fileName(), rtf.size(), measure(rtf));
    }
    return 0;
}
