#include "export/BitmapPageTarget.h"
#include "export/ExportError.h"
#include "export/ExportJobs.h"
#include "export/ExportPageLoop.h"
#include "export/PdfExport.h"
#include "export/tnpdf2.h"
#include "tests/export/ExportTestTools.h"
#include "tests/export/FakePageSource.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace ExportTestTools;

Q_DECLARE_METATYPE(ExportKind)

namespace {

std::tm fixedTime()
{
    std::tm t {};
    t.tm_year = 125;
    t.tm_mon = 5;
    t.tm_mday = 7;
    return t;
}

ExportJobs &setUp(ExportJobs &jobs, int threads)
{
    jobs.setScreenDpi(96, 96);
    jobs.setPdfClock(fixedTime);
    jobs.setTiffPagePause(0);
    jobs.setThreads(threads);
    return jobs;
}

// A page source whose lines carry some colour, so that pages differ in more than black text.
FakePageSource colouredSource(int lines)
{
    QStringList text;
    for (int i = 1; i <= lines; ++i)
        text.append(QStringLiteral("Line %1 \u00e9\u00e8 %2").arg(i).arg(QString(i % 37, QLatin1Char('x'))));
    return FakePageSource(text);
}

// Lines with a band of the transparent key colour and a band one step off it above them.
class KeyedSource : public FakePageSource
{
public:
    using FakePageSource::FakePageSource;
    int renderPage(QPainter &painter, const QRect &rectTwips, int start) override
    {
        painter.fillRect(QRect(100, 5, 40, 2), QColor(0xF7, 0xF7, 0xF7));
        painter.fillRect(QRect(100, 7, 40, 2), QColor(0xF7, 0xF7, 0xF6));
        return FakePageSource::renderPage(painter, rectTwips, start);
    }
};

// Every file of a folder, name and bytes.
QMap<QString, QByteArray> folderFiles(const QString &folder)
{
    QMap<QString, QByteArray> files;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        files.insert(name, readFile(QDir(folder).filePath(name)));
    return files;
}

// The full-layout PDF as a single thread makes it with one image buffer per page, converted
// and compressed in one piece.
QByteArray onePiecePdf(ExportPageSource &source, const QString &path)
{
    TPrintPDF1 pdf;
    PdfExport::applyStandardProperties(pdf, path, PdfExport::Layout::Full);
    pdf.setPixelsPerInch(96, 96);
    pdf.setClock(fixedTime);
    pdf.BeginDoc();
    ExportPageLoop loop(source, ExportPageGeometry::pdfPage());
    loop.setScreenDpi(96, 96);
    BitmapPageTarget target(QSize(693, 950), QImage::Format_RGB32, 96, 96, [&](const QImage &page, int, bool more) {
        const QImage rgb = page.convertToFormat(QImage::Format_RGB888);
        QByteArray pixels;
        for (int y = 0; y < rgb.height(); ++y)
            pixels.append(reinterpret_cast<const char *>(rgb.constScanLine(y)), rgb.width() * 3);
        pdf.Draw(
            25, 20, { rgb.width(), rgb.height(), std::string_view(pixels.constData(), std::size_t(pixels.size())) });
        if (more)
            pdf.NewPage();
    });
    loop.run(target);
    pdf.EndDoc();
    return readFile(path);
}

} // namespace

class tst_ExportPipeline : public QObject
{
    Q_OBJECT

private slots:
    // Pages compressed and written on worker threads give the very bytes of a serial export.
    void parallelExportEqualsSerial_data()
    {
        QTest::addColumn<ExportKind>("kind");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("pdf") << ExportKind::Pdf << QStringLiteral("Letter - PDF.pdf");
        QTest::newRow("tiff") << ExportKind::Tiff << QStringLiteral("Letter - TIFF.tiff");
        QTest::newRow("png") << ExportKind::Png << QStringLiteral("Letter - PNG.png");
        QTest::newRow("bmp") << ExportKind::Bmp << QStringLiteral("Letter - BMP.bmp");
        QTest::newRow("jpeg") << ExportKind::Jpeg << QStringLiteral("Letter - JPG.jpg");
    }
    void parallelExportEqualsSerial()
    {
        QFETCH(ExportKind, kind);
        QFETCH(QString, chosen);
        QList<QMap<QString, QByteArray>> results;
        for (int threads : { 0, 1, 3 }) {
            QTemporaryDir dir;
            FakePageSource source = colouredSource(300);
            ExportJobs jobs(source);
            setUp(jobs, threads);
            if (kind == ExportKind::Pdf)
                QCOMPARE(jobs.writeFullPdf(dir.filePath(chosen)), 7);
            else
                QCOMPARE(jobs.writePageImages(kind, dir.filePath(chosen)), 7);
            results.append(folderFiles(dir.path()));
            QCOMPARE(results.last().size(), kind == ExportKind::Pdf ? 1 : 7);
            QCOMPARE(jobs.writtenFiles().size(), kind == ExportKind::Pdf ? 1 : 7);
            if (kind != ExportKind::Pdf)
                QVERIFY(jobs.writtenFiles().first().endsWith(
                    QStringLiteral(" - Page 1") + QFileInfo(chosen).suffix().prepend(u'.')));
        }
        QCOMPARE(results[1].keys(), results[0].keys());
        for (const QString &name : results[0].keys()) {
            QVERIFY2(results[1][name] == results[0][name], qPrintable(name));
            QVERIFY2(results[2][name] == results[0][name], qPrintable(name));
        }
    }

    // Feeding the compressor row by row from the surface changes no byte of the PDF.
    void rowByRowPdfEqualsOnePiece()
    {
        QTemporaryDir a;
        QTemporaryDir b;
        FakePageSource source = colouredSource(120);
        const QByteArray reference = onePiecePdf(source, a.filePath(QStringLiteral("doc - PDF.pdf")));
        ExportJobs jobs(source);
        setUp(jobs, 2);
        jobs.writeFullPdf(b.filePath(QStringLiteral("doc - PDF.pdf")));
        const QByteArray ours = readFile(b.filePath(QStringLiteral("doc - PDF.pdf")));
        QVERIFY(reference.size() > 10000);
        QVERIFY(ours == reference);
    }

    // PNG pages are compressed differently now, but decode to the page's pixels with exactly
    // the key colour transparent.
    void pngPagesDecodeToThePagePixels()
    {
        QTemporaryDir dir;
        KeyedSource source(colouredSource(100).m_lines);
        QList<QImage> pages;
        {
            ExportPageLoop loop(source, ExportPageGeometry::imagePage());
            loop.setScreenDpi(96, 96);
            BitmapPageTarget target(QSize(693, 950), QImage::Format_RGB32, 96, 96,
                [&](const QImage &page, int, bool) { pages.append(page.copy()); });
            loop.run(target);
        }
        QCOMPARE(pages.size(), 3);
        ExportJobs jobs(source);
        setUp(jobs, 2);
        QCOMPARE(jobs.writePageImages(ExportKind::Png, dir.filePath(QStringLiteral("p - PNG.png"))), 3);
        for (int n = 1; n <= 3; ++n) {
            const QString path = dir.filePath(QStringLiteral("p - PNG - Page %1.png").arg(n));
            const QImage decoded = QImageReader(path).read().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(decoded.size(), QSize(693, 950));
            const QImage &page = pages[n - 1];
            int transparent = 0;
            for (int y = 0; y < page.height(); ++y) {
                for (int x = 0; x < page.width(); ++x) {
                    const QRgb want = page.pixel(x, y);
                    const QRgb got = decoded.pixel(x, y);
                    const bool key = (want & 0xFFFFFF) == 0xF7F7F7;
                    transparent += key;
                    if (qAlpha(got) != (key ? 0 : 255) || (!key && (got & 0xFFFFFF) != (want & 0xFFFFFF)))
                        QFAIL(qPrintable(QStringLiteral("page %1 pixel %2,%3").arg(n).arg(x).arg(y)));
                }
            }
            QVERIFY(transparent >= 80);
        }
    }

    // A page that cannot be written ends the export with its message; the files named as written
    // are whole, and no temporary file stays behind.
    void failedPageEndsTheExport_data()
    {
        QTest::addColumn<int>("threads");
        QTest::newRow("serial") << 0;
        QTest::newRow("parallel") << 2;
    }
    void failedPageEndsTheExport()
    {
        QFETCH(int, threads);
        QTemporaryDir dir;
        // A folder where page 3 should go.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("d - PNG - Page 3.png")));
        FakePageSource source = colouredSource(400);
        ExportJobs jobs(source);
        setUp(jobs, threads);
        bool failed = false;
        try {
            jobs.writePageImages(ExportKind::Png, dir.filePath(QStringLiteral("d - PNG.png")));
        } catch (const ExportError &e) {
            failed = true;
            QVERIFY2(e.message().contains(QStringLiteral("Page 3.png")), qPrintable(e.message()));
        }
        QVERIFY(failed);
        const QStringList written = jobs.writtenFiles();
        QVERIFY(written.size() >= 2);
        QVERIFY(!written.contains(dir.filePath(QStringLiteral("d - PNG - Page 3.png"))));
        for (const QString &file : written)
            QVERIFY2(!QImageReader(file).read().isNull(), qPrintable(file));
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
            QVERIFY2(!name.startsWith(u'.'), qPrintable(name));
    }

    // Exported files get the permissions of any new file of the process, and the export leaves
    // the process's umask alone.
    void filesFollowTheUmask()
    {
        const mode_t old = ::umask(027);
        struct Restore
        {
            mode_t mask;
            ~Restore() { ::umask(mask); }
        } restore { old };
        QTemporaryDir dir;
        FakePageSource source = colouredSource(60);
        ExportJobs jobs(source);
        setUp(jobs, 2);
        const QString pdf = dir.filePath(QStringLiteral("u - PDF.pdf"));
        jobs.writeFullPdf(pdf);
        jobs.writePageImages(ExportKind::Png, dir.filePath(QStringLiteral("u - PNG.png")));
        const mode_t now = ::umask(027);
        QCOMPARE(now, mode_t(027));
        QStringList files { pdf };
        files += jobs.writtenFiles();
        QCOMPARE(files.size(), 3);
        for (const QString &file : files) {
            struct stat st
            {
            };
            QCOMPARE(::stat(QFile::encodeName(file).constData(), &st), 0);
            QCOMPARE(st.st_mode & 0777, mode_t(0640));
        }
    }

    // Without worker threads one surface serves every page; with them a few are reused.
    void surfacesAreReused_data()
    {
        QTest::addColumn<int>("threads");
        QTest::addColumn<int>("surfaces");
        QTest::newRow("serial") << 0 << 1;
        QTest::newRow("two threads") << 2 << 4;
    }
    void surfacesAreReused()
    {
        QFETCH(int, threads);
        QFETCH(int, surfaces);
        FakePageSource source = colouredSource(500);
        ExportPageLoop loop(source, ExportPageGeometry::imagePage());
        loop.setScreenDpi(96, 96);
        QSet<const uchar *> seen;
        int pages = 0;
        bool lastPageWhiteBelowItsText = false;
        BitmapPageTarget target(QSize(693, 950), QImage::Format_RGB32, 96, 96, [&](const QImage &page, int, bool more) {
            seen.insert(page.constBits());
            ++pages;
            if (!more) {
                // Every page starts white: the short last page shows nothing of the full ones.
                const QImage below = page.copy(QRect(0, 600, 693, 350));
                QImage white(below.size(), below.format());
                white.fill(Qt::white);
                lastPageWhiteBelowItsText = below == white;
            }
        });
        target.setBackgroundStep([](const QImage &, int, bool) {}, threads);
        loop.run(target);
        QVERIFY(pages >= 10);
        QVERIFY(lastPageWhiteBelowItsText);
        QVERIFY2(seen.size() <= surfaces, qPrintable(QString::number(seen.size())));
    }

    // Without a screen the metafile pages are recorded against a 1920 x 1080 one.
    void metafileReferenceWithoutScreen()
    {
        const ExportJobs::EmfReference reference = ExportJobs::screenReference();
        QCOMPARE(reference.pixels, QSize(1920, 1080));
        QCOMPARE(reference.millimeters, QSize(508, 286));
    }
};

LUMARO_TEST_CLASS(tst_ExportPipeline)
#include "tst_exportpipeline.moc"
