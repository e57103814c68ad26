// Export of a generated 100-page document: full-layout PDF, PNG pages and an animated GIF, and
// the same document converted to PDF by LibreOffice for comparison.

#include "bench/support/BenchSupport.h"
#include "editor/richtext/RxRichEdit.h"
#include "export/BitmapPageTarget.h"
#include "export/ExportJobs.h"
#include "export/ExportPageLoop.h"
#include "export/RichEditPageSource.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCursor>

namespace {

const QString kName = QStringLiteral("export");

void addParagraphs(TRxRichEdit &edit, int from, int count)
{
    QTextCursor cursor(edit.document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat heading;
    heading.setFontFamilies({QStringLiteral("Liberation Sans")});
    heading.setFontPointSize(16);
    heading.setFontWeight(QFont::Bold);
    heading.setForeground(QColor(20, 60, 160));
    QTextCharFormat body;
    body.setFontFamilies({QStringLiteral("Liberation Serif")});
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
        cursor.insertText(QStringLiteral("Paragraph %1. Lorem ipsum dolor sit amet, consectetur adipiscing elit, ").arg(i), body);
        cursor.insertText(QStringLiteral("sed do eiusmod tempor "), accent);
        cursor.insertText(QStringLiteral("incididunt ut labore et dolore magna aliqua. Ut enim ad minim veniam, quis "
                                         "nostrud exercitation ullamco laboris nisi ut aliquip ex ea commodo consequat."),
                          body);
    }
}

int countPages(ExportPageSource &source)
{
    int pages = 0;
    ExportPageLoop loop(source, ExportPageGeometry::pdfPage());
    loop.setScreenDpi(96, 96);
    BitmapPageTarget target(QSize(693, 950), QImage::Format_RGB32, 96, 96, [&](const QImage &, int, bool) { ++pages; });
    loop.run(target);
    return pages;
}

qint64 folderBytes(const QString &folder, const QString &pattern)
{
    qint64 total = 0;
    for (const QFileInfo &f : QDir(folder).entryInfoList({pattern}, QDir::Files))
        total += f.size();
    return total;
}

template <typename Job>
void measure(const QString &what, int pages, const QString &folder, const QString &pattern, Job job)
{
    Bench::resetPeakMemory();
    QElapsedTimer timer;
    timer.start();
    job();
    const double seconds = timer.nsecsElapsed() / 1e9;
    Bench::printFigure(kName, what + QStringLiteral(" pages-per-second"), pages / seconds, QStringLiteral("pages/s"));
    Bench::printFigure(kName, what + QStringLiteral(" seconds"), seconds, QStringLiteral("s"));
    Bench::printFigure(kName, what + QStringLiteral(" peak-memory"), Bench::peakMemoryKiB() / 1024.0, QStringLiteral("MiB"));
    Bench::printFigure(kName, what + QStringLiteral(" output-size"), folderBytes(folder, pattern) / 1024.0, QStringLiteral("KiB"));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;

    TRxRichEdit edit;
    edit.resize(800, 600);
    RichEditPageSource source(edit);
    addParagraphs(edit, 0, 100);
    const int perHundred = qMax(1, countPages(source));
    addParagraphs(edit, 100, 100 * 100 / perHundred - 100);
    int paragraphs = 100 * 100 / perHundred;
    while (countPages(source) < 100) {
        addParagraphs(edit, paragraphs, 5);
        paragraphs += 5;
    }
    const int pages = countPages(source);
    Bench::printFigure(kName, QStringLiteral("document pages"), pages, QStringLiteral("pages"));

    ExportJobs jobs(source);
    jobs.setScreenDpi(96, 96);
    jobs.setTiffPagePause(0);
    double ourPdfSeconds = 0;
    {
        QElapsedTimer t;
        t.start();
        measure(QStringLiteral("full-layout-pdf"), pages, dir.path(), QStringLiteral("*.pdf"),
                [&] { jobs.writeFullPdf(dir.filePath(QStringLiteral("doc - PDF.pdf"))); });
        ourPdfSeconds = t.nsecsElapsed() / 1e9;
    }
    measure(QStringLiteral("png-pages"), pages, dir.path(), QStringLiteral("*.png"),
            [&] { jobs.writePageImages(ExportKind::Png, dir.filePath(QStringLiteral("doc - PNG.png"))); });
    measure(QStringLiteral("animated-gif"), pages, dir.path(), QStringLiteral("*.gif"),
            [&] { jobs.writeGif(dir.filePath(QStringLiteral("doc - GIFA.gif")), 5); });
    const int textPages = jobs.writeTextPdf(dir.filePath(QStringLiteral("text.pdf")), 8, 12);
    Bench::printFigure(kName, QStringLiteral("text-only-pdf pages"), textPages, QStringLiteral("pages"));

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
    const QStringList args{QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                           QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                           QStringLiteral("--outdir"), outdir, rtf};
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
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {loPdf});
    info.waitForFinished();
    const QString out = QString::fromLatin1(info.readAllStandardOutput());
    const int at = out.indexOf(QStringLiteral("Pages:"));
    const int loPages = at >= 0 ? out.mid(at + 6).section(QLatin1Char('\n'), 0, 0).trimmed().toInt() : 0;
    Bench::printFigure(kName, QStringLiteral("libreoffice-pdf seconds"), loSeconds, QStringLiteral("s"));
    Bench::printFigure(kName, QStringLiteral("libreoffice-pdf pages"), loPages, QStringLiteral("pages"));
    Bench::printFigure(kName, QStringLiteral("libreoffice-pdf output-size"), QFileInfo(loPdf).size() / 1024.0, QStringLiteral("KiB"));
    Bench::printFigure(kName, QStringLiteral("full-layout-pdf time-ratio-to-libreoffice"), ourPdfSeconds / loSeconds, QStringLiteral("x"));
    Bench::printFigure(kName, QStringLiteral("full-layout-pdf size-ratio-to-libreoffice"),
                       double(QFileInfo(dir.filePath(QStringLiteral("doc - PDF.pdf"))).size()) / QFileInfo(loPdf).size(),
                       QStringLiteral("x"));
    if (qEnvironmentVariableIsSet("LUMARO_BENCH_KEEP")) {
        const QString keep = qEnvironmentVariable("LUMARO_BENCH_KEEP");
        QDir().mkpath(keep);
        for (const QFileInfo &f : QDir(dir.path()).entryInfoList({QStringLiteral("*.pdf"), QStringLiteral("*.gif"), QStringLiteral("*Page 1.png")}, QDir::Files))
            QFile::copy(f.filePath(), keep + QLatin1Char('/') + f.fileName());
    }
    return 0;
}
