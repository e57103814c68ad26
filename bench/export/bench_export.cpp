// Export of a generated 1,000-page document: full-layout PDF, PNG pages and the searchable PDF,
// each as a whole and stage by stage (render, convert, compress, write), and the
// same document converted to PDF by LibreOffice for comparison when it is installed.
//
// LUMARO_BENCH_PAGES sets another page count; LUMARO_BENCH_KEEP=DIR keeps both PDFs.

#include "bench/support/BenchSupport.h"
#include "editor/richtext/RxRichEdit.h"
#include "export/BitmapPageTarget.h"
#include "export/ExportJobs.h"
#include "export/ExportPageLoop.h"
#include "export/PngWriter.h"
#include "export/RichEditPageSource.h"
#include "export/SearchablePdf.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QThread>

#include <zlib.h>

#include <vector>

namespace {

const QString kName = QStringLiteral("export");

void addParagraphs(TRxRichEdit &edit, int from, int count)
{
    QTextCursor cursor(edit.document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat heading;
    heading.setFontFamilies({ QStringLiteral("Liberation Sans") });
    heading.setFontPointSize(16);
    heading.setFontWeight(QFont::Bold);
    heading.setForeground(QColor(20, 60, 160));
    QTextCharFormat body;
    body.setFontFamilies({ QStringLiteral("Liberation Serif") });
    body.setFontPointSize(12);
    QTextCharFormat accent = body;
    accent.setFontItalic(true);
    accent.setForeground(QColor(180, 20, 20));
    for (int i = from; i < from + count; ++i) {
        if (i > 0)
            cursor.insertBlock();
        if (i % 6 == 0) {
            cursor.insertText(QStringLiteral("Chapter %1").arg(i / 6 + 1), heading);
            cursor.insertBlock();
        }
        cursor.insertText(
            QStringLiteral("Paragraph %1. Lorem ipsum dolor sit amet, consectetur adipiscing elit, ").arg(i), body);
        cursor.insertText(QStringLiteral("sed do eiusmod tempor "), accent);
        cursor.insertText(
            QStringLiteral("incididunt ut labore et dolore magna aliqua. Ut enim ad minim veniam, quis "
                           "nostrud exercitation ullamco laboris nisi ut aliquip ex ea commodo consequat."),
            body);
    }
}

// Pages of the full-layout PDF, counted without drawing.
int countPages(TRxRichEdit &edit)
{
    QImage measure(693, 950, QImage::Format_RGB32);
    measure.setDotsPerMeterX(qRound(96 / 0.0254));
    measure.setDotsPerMeterY(qRound(96 / 0.0254));
    const QRect rect = ExportPageGeometry::pdfPage().rectTwips(96, 96);
    const int total = edit.textLength();
    int pages = 0;
    int start = 0;
    do {
        const int next = edit.formatRange(nullptr, &measure, rect, rect, start, total, false);
        ++pages;
        if (next <= start)
            break;
        start = next;
    } while (start < total);
    edit.releaseFormatCache();
    return pages;
}

qint64 folderBytes(const QString &folder, const QString &pattern)
{
    qint64 total = 0;
    for (const QFileInfo &f : QDir(folder).entryInfoList({ pattern }, QDir::Files))
        total += f.size();
    return total;
}

void removeFiles(const QString &folder, const QString &pattern)
{
    for (const QFileInfo &f : QDir(folder).entryInfoList({ pattern }, QDir::Files))
        QFile::remove(f.filePath());
}

void printRate(const QString &what, int pages, double seconds)
{
    Bench::printFigure(kName, what + QStringLiteral(" pages-per-second"), pages / seconds, QStringLiteral("pages/s"));
}

template <typename Job>
double measure(const QString &what, int pages, const QString &folder, const QString &pattern, Job job)
{
    removeFiles(folder, pattern);
    Bench::resetPeakMemory();
    QElapsedTimer timer;
    timer.start();
    job();
    const double seconds = timer.nsecsElapsed() / 1e9;
    printRate(what, pages, seconds);
    Bench::printFigure(kName, what + QStringLiteral(" seconds"), seconds, QStringLiteral("s"));
    Bench::printFigure(
        kName, what + QStringLiteral(" peak-memory"), Bench::peakMemoryKiB() / 1024.0, QStringLiteral("MiB"));
    Bench::printFigure(
        kName, what + QStringLiteral(" output-size"), folderBytes(folder, pattern) / 1024.0, QStringLiteral("KiB"));
    return seconds;
}

// One page's pixels as red, green, blue rows, as the writers take them.
void convertRows(const QImage &page, std::vector<unsigned char> &rgb)
{
    rgb.resize(std::size_t(page.width()) * page.height() * 3);
    unsigned char *out = rgb.data();
    for (int y = 0; y < page.height(); ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            *out++ = static_cast<unsigned char>(qRed(in[x]));
            *out++ = static_cast<unsigned char>(qGreen(in[x]));
            *out++ = static_cast<unsigned char>(qBlue(in[x]));
        }
    }
}

// The stages of the page-image exports one after the other on one thread, each timed alone over
// the first pages: render (the control draws the page), convert (surface to red-green-blue
// rows), compress (zlib at the PDF's level, or the PNG encoder into memory), write (the
// compressed bytes to a file).
void stages(ExportPageSource &source, int pages, const QString &folder)
{
    const int sample = qMin(pages, 200);
    QList<QImage> rendered;
    double render = 0;
    {
        ExportPageLoop loop(source, ExportPageGeometry::pdfPage());
        loop.setScreenDpi(96, 96);
        QElapsedTimer timer;
        timer.start();
        int n = 0;
        BitmapPageTarget target(QSize(693, 950), QImage::Format_RGB32, 96, 96, [&](const QImage &page, int, bool) {
            if (++n <= 20)
                rendered.append(page.copy());
        });
        loop.run(target);
        render = timer.nsecsElapsed() / 1e9;
        printRate(QStringLiteral("stage render"), n, render);
    }
    std::vector<unsigned char> rgb;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < sample; ++i)
        convertRows(rendered[i % rendered.size()], rgb);
    printRate(QStringLiteral("stage convert"), sample, timer.nsecsElapsed() / 1e9);

    std::vector<QByteArray> compressed;
    timer.restart();
    for (int i = 0; i < sample; ++i) {
        convertRows(rendered[i % rendered.size()], rgb);
        uLongf size = compressBound(uLong(rgb.size()));
        QByteArray out(qsizetype(size), Qt::Uninitialized);
        compress2(reinterpret_cast<Bytef *>(out.data()), &size, rgb.data(), uLong(rgb.size()), Z_DEFAULT_COMPRESSION);
        out.resize(qsizetype(size));
        if (i < 20)
            compressed.push_back(out);
    }
    printRate(QStringLiteral("stage compress-pdf (with convert)"), sample, timer.nsecsElapsed() / 1e9);

    timer.restart();
    for (int i = 0; i < sample; ++i) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        PngWriter writer;
        writer.write(buffer, rendered[i % rendered.size()], PngWriter::pageTransparentColor());
    }
    printRate(QStringLiteral("stage compress-png (with convert)"), sample, timer.nsecsElapsed() / 1e9);

    timer.restart();
    for (int i = 0; i < sample; ++i) {
        QFile file(QDir(folder).filePath(QStringLiteral("stage-%1.bin").arg(i)));
        file.open(QIODevice::WriteOnly);
        file.write(compressed[std::size_t(i) % compressed.size()]);
    }
    printRate(QStringLiteral("stage write"), sample, timer.nsecsElapsed() / 1e9);
    removeFiles(folder, QStringLiteral("stage-*.bin"));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const int wanted
        = qEnvironmentVariableIsSet("LUMARO_BENCH_PAGES") ? qEnvironmentVariableIntValue("LUMARO_BENCH_PAGES") : 1000;

    TRxRichEdit edit;
    edit.resize(800, 600);
    RichEditPageSource source(edit);
    addParagraphs(edit, 0, 100);
    const int perHundred = qMax(1, countPages(edit));
    int paragraphs = 100 * wanted / perHundred;
    addParagraphs(edit, 100, paragraphs - 100);
    while (countPages(edit) < wanted) {
        addParagraphs(edit, paragraphs, 20);
        paragraphs += 20;
    }
    const int pages = countPages(edit);
    Bench::printFigure(kName, QStringLiteral("document pages"), pages, QStringLiteral("pages"));
    Bench::printFigure(kName, QStringLiteral("cores"), QThread::idealThreadCount(), QStringLiteral("cores"));

    ExportJobs jobs(source);
    jobs.setScreenDpi(96, 96);
    jobs.setTiffPagePause(0);
    Bench::printFigure(kName, QStringLiteral("worker threads"), jobs.threads(), QStringLiteral("threads"));

    stages(source, pages, dir.path());

    measure(QStringLiteral("full-layout-pdf"), pages, dir.path(), QStringLiteral("*.pdf"),
        [&] { jobs.writeFullPdf(dir.filePath(QStringLiteral("doc - PDF.pdf"))); });
    const qint64 fullSize = QFileInfo(dir.filePath(QStringLiteral("doc - PDF.pdf"))).size();
    measure(QStringLiteral("png-pages"), pages, dir.path(), QStringLiteral("*.png"),
        [&] { jobs.writePageImages(ExportKind::Png, dir.filePath(QStringLiteral("doc - PNG.png"))); });
    removeFiles(dir.path(), QStringLiteral("*.png"));

    int searchablePages = 0;
    double searchableRender = 0;
    double searchableWrite = 0;
    const QString searchable = dir.filePath(QStringLiteral("searchable.pdf"));
    {
        QElapsedTimer timer;
        timer.start();
        SearchablePdf pdf(source, SearchablePdf::defaultPageSettings());
        searchablePages = pdf.write(searchable);
        const double seconds = timer.nsecsElapsed() / 1e9;
        searchableRender = pdf.renderSeconds();
        searchableWrite = pdf.writeSeconds();
        Bench::printFigure(kName, QStringLiteral("searchable-pdf pages"), searchablePages, QStringLiteral("pages"));
        printRate(QStringLiteral("searchable-pdf"), searchablePages, seconds);
        printRate(
            QStringLiteral("searchable-pdf stage render (lay out, draw, compress)"), searchablePages, searchableRender);
        printRate(QStringLiteral("searchable-pdf stage write"), searchablePages, searchableWrite);
        Bench::printFigure(kName, QStringLiteral("searchable-pdf output-size"), QFileInfo(searchable).size() / 1024.0,
            QStringLiteral("KiB"));
    }

    const int textPages = jobs.writeTextPdf(dir.filePath(QStringLiteral("text.pdf")), 8, 12);
    Bench::printFigure(kName, QStringLiteral("text-only-pdf pages"), textPages, QStringLiteral("pages"));

    if (qEnvironmentVariableIsSet("LUMARO_BENCH_KEEP")) {
        const QString keep = qEnvironmentVariable("LUMARO_BENCH_KEEP");
        QDir().mkpath(keep);
        QFile::copy(searchable, keep + QStringLiteral("/searchable.pdf"));
        QFile::copy(dir.filePath(QStringLiteral("doc - PDF.pdf")), keep + QStringLiteral("/doc - PDF.pdf"));
    }

    // The same document through LibreOffice.
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty()) {
        Bench::printFigure(kName, QStringLiteral("libreoffice-pdf available"), 0, QStringLiteral("bool"));
        return 0;
    }
    const QString rtf = dir.filePath(QStringLiteral("doc.rtf"));
    {
        QFile file(rtf);
        if (!file.open(QIODevice::WriteOnly) || !edit.saveToStream(file, TRxRichEdit::StreamFormat::RichText))
            return 1;
    }
    const QString outdir = dir.filePath(QStringLiteral("lo"));
    QDir().mkpath(outdir);
    const QStringList args { QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
        QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"),
        outdir, rtf };
    // A first run makes the profile, so the timed run measures the conversion.
    QProcess::execute(QStringLiteral("soffice"), args);
    QFile::remove(outdir + QStringLiteral("/doc.pdf"));
    QElapsedTimer t;
    t.start();
    QProcess::execute(QStringLiteral("soffice"), args);
    const double loSeconds = t.nsecsElapsed() / 1e9;
    const QString loPdf = outdir + QStringLiteral("/doc.pdf");
    if (!QFile::exists(loPdf))
        return 1;
    const double loSize = QFileInfo(loPdf).size();
    Bench::printFigure(kName, QStringLiteral("libreoffice-pdf seconds"), loSeconds, QStringLiteral("s"));
    Bench::printFigure(kName, QStringLiteral("libreoffice-pdf output-size"), loSize / 1024.0, QStringLiteral("KiB"));
    Bench::printFigure(
        kName, QStringLiteral("full-layout-pdf size-ratio-to-libreoffice"), fullSize / loSize, QStringLiteral("x"));
    Bench::printFigure(kName, QStringLiteral("searchable-pdf size-ratio-to-libreoffice"),
        QFileInfo(searchable).size() / loSize, QStringLiteral("x"));
    return 0;
}
