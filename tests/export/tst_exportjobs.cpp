#include "export/BitmapPageTarget.h"
#include "export/ExportError.h"
#include "export/ExportJobs.h"
#include "export/ExportPageLoop.h"
#include "export/tnpdf2.h"
#include "tests/export/ExportTestTools.h"
#include "tests/export/FakePageSource.h"
#include "tests/support/TestMain.h"

#include <QImageReader>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>

using namespace ExportTestTools;

Q_DECLARE_METATYPE(ExportKind)

namespace {

std::tm fixedTime()
{
    std::tm t{};
    t.tm_year = 124;
    t.tm_mon = 0;
    t.tm_mday = 2;
    return t;
}

void setUp(ExportJobs &jobs)
{
    jobs.setScreenDpi(96, 96);
    jobs.setPdfClock(fixedTime);
    jobs.setTiffPagePause(0);
}

int pdfPages(const QString &path)
{
    const ToolResult info = run(QStringLiteral("pdfinfo"), {path});
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromLatin1(info.out));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

bool qpdfAccepts(const QString &path)
{
    const ToolResult r = run(QStringLiteral("qpdf"), {QStringLiteral("--check"), path});
    if (r.exitCode != 0)
        qWarning() << r.out << r.err;
    return r.exitCode == 0;
}

// Our own rendering of one page of the fake source on a bitmap surface of the geometry.
QImage ownPage(FakePageSource &source, const ExportPageGeometry &geometry, int page)
{
    QList<QImage> pages;
    ExportPageLoop loop(source, geometry);
    loop.setScreenDpi(96, 96);
    BitmapPageTarget target(geometry.surface, QImage::Format_RGB32, 96, 96,
                            [&](const QImage &image, int, bool) { pages.append(image.copy()); });
    loop.run(target);
    return pages.value(page - 1);
}

} // namespace

class tst_ExportJobs : public QObject
{
    Q_OBJECT

private slots:
    void geometryInTwips_data()
    {
        QTest::addColumn<QSize>("surface");
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("pdf at 96") << QSize(693, 950) << true << 96 << QRect(300, 300, 10095, 13950);
        QTest::newRow("image at 96") << QSize(693, 950) << false << 96 << QRect(300, 300, 9795, 13650);
        QTest::newRow("image at 120") << QSize(693, 950) << false << 120 << QRect(240, 240, 7836, 10920);
        QTest::newRow("image at 144") << QSize(693, 950) << false << 144 << QRect(200, 200, 6530, 9100);
        QTest::newRow("900 x 675 at 96") << QSize(900, 675) << false << 96 << QRect(300, 300, 12900, 9525);
    }
    void geometryInTwips()
    {
        QFETCH(QSize, surface);
        QFETCH(bool, pdf);
        QFETCH(int, dpi);
        QFETCH(QRect, twips);
        const ExportPageGeometry g = pdf ? ExportPageGeometry::pdfPage() : ExportPageGeometry::withBorder(surface);
        QCOMPARE(g.surface, surface);
        QCOMPARE(g.rectTwips(dpi, dpi), twips);
    }

    void pageLoopWalksTheText_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<QList<int>>("starts");
        QTest::addColumn<QList<int>>("percents");
        // 45 lines fit on an image page; "Line n" takes 7 positions up to 9, 8 up to 99, 9 then.
        QTest::newRow("empty") << 0 << QList<int>{0} << QList<int>{100};
        QTest::newRow("one page") << 10 << QList<int>{0} << QList<int>{100};
        QTest::newRow("three pages") << 100 << QList<int>{0, 351, 711} << QList<int>{44, 89, 100};
    }
    void pageLoopWalksTheText()
    {
        QFETCH(int, lines);
        QFETCH(QList<int>, starts);
        QFETCH(QList<int>, percents);
        FakePageSource source(FakePageSource::numberedLines(lines));
        ExportPageLoop loop(source, ExportPageGeometry::imagePage());
        loop.setScreenDpi(96, 96);
        QList<int> progress;
        loop.setProgress([&](int percent) { progress.append(percent); });
        QList<bool> more;
        BitmapPageTarget target(QSize(693, 950), QImage::Format_RGB32, 96, 96,
                                [&](const QImage &page, int, bool m) {
                                    more.append(m);
                                    QCOMPARE(page.size(), QSize(693, 950));
                                });
        QCOMPARE(loop.run(target), int(starts.size()));
        QList<int> seen;
        for (const auto &r : std::as_const(source.m_requests)) {
            seen.append(r.start);
            QCOMPARE(r.rectTwips, QRect(300, 300, 9795, 13650));
            QCOMPARE(r.deviceSize, QSize(693, 950));
            QCOMPARE(r.dpiX, 96);
        }
        QCOMPARE(seen, starts);
        QCOMPARE(progress, percents);
        QCOMPARE(more.size(), starts.size());
        QCOMPARE(more.last(), false);
        QCOMPARE(more.count(true), starts.size() - 1);
        QCOMPARE(source.m_releases, 1);
    }

    void pageLoopEndsWhenAPageTakesNothing()
    {
        FakePageSource source(FakePageSource::numberedLines(5));
        source.m_stuck = true;
        ExportPageLoop loop(source, ExportPageGeometry::imagePage());
        int pages = 0;
        BitmapPageTarget target(QSize(693, 950), QImage::Format_RGB32, 96, 96, [&](const QImage &, int, bool) { ++pages; });
        QCOMPARE(loop.run(target), 1);
        QCOMPARE(pages, 1);
    }

    void fullLayoutPdfHasOneImagePerPage()
    {
        QTemporaryDir dir;
        FakePageSource source(FakePageSource::numberedLines(100));
        ExportJobs jobs(source);
        setUp(jobs);
        const QString path = dir.filePath(QStringLiteral("Letter - PDF.pdf"));
        QCOMPARE(jobs.writeFullPdf(path), 3); // 46 lines to a PDF page
        QVERIFY(qpdfAccepts(path));
        QCOMPARE(pdfPages(path), 3);
        const ToolResult info = run(QStringLiteral("pdfinfo"), {path});
        QVERIFY(info.out.contains("596 x 842 pts"));
        QVERIFY(info.out.contains("Title:           Letter - PDF.pdf"));
        QVERIFY(info.out.contains("Subject:         Full RTF Document with Formatting and Objects."));
        QVERIFY(info.out.contains("Author:          Velmora Office Software"));
        QVERIFY(info.out.contains("Keywords:        RTF Export to PDF"));

        const ToolResult images = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path});
        const QList<QByteArray> rows = images.out.trimmed().split('\n');
        QCOMPARE(rows.size(), 2 + 3);
        for (int k = 1; k <= 3; ++k)
            QVERIFY(rows[1 + k].simplified().startsWith(QByteArray::number(k) + " " + QByteArray::number(k - 1)
                                                        + " image 693 950 rgb 3 8"));
        const PdfFile file = parsePdf(readFile(path));
        for (int k = 1; k <= 3; ++k)
            QCOMPARE(inflate(file.object(2 * k)->stream),
                     "q\r\n537 0 0 784 25 38 cm\r\n/Im" + QByteArray::number(k) + " Do\r\nQ\r\n");

        // The page pictures look like our own rendering of the pages.
        for (int k : {1, 3}) {
            const QImage rendered = renderPdfPage(path, k, 96);
            QVERIFY(!rendered.isNull());
            // 25, 20 points and 537 x 784 points at 96 / 72.
            const QImage placed = rendered.copy(QRect(33, 27, 716, 1045));
            const QImage own = ownPage(source, ExportPageGeometry::pdfPage(), k);
            const double differing = differingFraction(placed, own, QSize(139, 190), 40);
            QVERIFY2(differing < 0.01, qPrintable(QString::number(differing)));
            // Something is on the page: it is not white.
            QImage white(own.size(), QImage::Format_RGB32);
            white.fill(Qt::white);
            QVERIFY(own != white);
        }
    }

    void textPdfPages_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("pages");
        QTest::newRow("49 lines") << 49 << 1;
        QTest::newRow("50 lines") << 50 << 1;
        QTest::newRow("51 lines") << 51 << 2;
        QTest::newRow("no lines") << 0 << 1;
    }
    void textPdfPages()
    {
        QFETCH(int, lines);
        QFETCH(int, pages);
        QTemporaryDir dir;
        FakePageSource source(FakePageSource::numberedLines(lines, QStringLiteral("Row")));
        ExportJobs jobs(source);
        setUp(jobs);
        const QString path = dir.filePath(QStringLiteral("text.pdf"));
        QCOMPARE(jobs.writeTextPdf(path, 8, 12), pages);
        QVERIFY(qpdfAccepts(path));
        QCOMPARE(pdfPages(path), pages);
        const QString last = QString::fromUtf8(run(QStringLiteral("pdftotext"),
                                                   {QStringLiteral("-f"), QString::number(pages), path, QStringLiteral("-")})
                                                   .out)
                                 .trimmed();
        if (lines == 51)
            QCOMPARE(last, QStringLiteral("Row 51"));
        else if (lines > 0)
            QVERIFY(last.endsWith(QStringLiteral("Row %1").arg(lines)));
    }

    void textPdfWritesLinesInRows()
    {
        QTemporaryDir dir;
        FakePageSource source;
        source.m_displayLines = {QStringLiteral("Dear (Sir)"), QStringLiteral("C:\\Docs\\"), QString(),
                                 QStringLiteral("caf\u00e9 \u20ac \u0416"), QStringLiteral("{kept}")};
        ExportJobs jobs(source);
        setUp(jobs);
        const QString path = dir.filePath(QStringLiteral("rows.pdf"));
        QCOMPARE(jobs.writeTextPdf(path, 0, 10), 1);
        const PdfFile file = parsePdf(readFile(path));
        const QByteArray content = inflate(file.object(2)->stream);
        QVERIFY(content.startsWith("BT\r\n/F1 10 Tf\r\n45 788 Td\r\n(Dear {Sir}) Tj\r\nET\r\n"));
        QVERIFY(content.contains("45 773 Td\r\n(C:\\\\Docs\\\\) Tj"));
        QVERIFY(content.contains("45 758 Td\r\n() Tj")); // the empty line keeps its row
        QVERIFY(content.contains("45 743 Td\r\n(caf\xe9 \x80 ?) Tj"));
        QVERIFY(content.contains("45 728 Td\r\n({kept}) Tj"));
        const ToolResult info = run(QStringLiteral("pdfinfo"), {path});
        QVERIFY(info.out.contains("Author:          Velmora Office - Morvath"));
        QVERIFY(info.out.contains("Subject:         RTF Document"));
        QVERIFY(qpdfAccepts(path));
        // The empty row is checked by its position above; the reader gives the written lines back.
        QStringList text = QString::fromUtf8(run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")}).out)
                               .split(QLatin1Char('\n'));
        for (QString &line : text)
            line = line.trimmed();
        text.removeAll(QString());
        text.removeAll(QStringLiteral("\f"));
        QCOMPARE(text, (QStringList{QStringLiteral("Dear {Sir}"), QStringLiteral("C:\\Docs\\"),
                                    QStringLiteral("caf\u00e9 \u20ac ?"), QStringLiteral("{kept}")}));
    }

    void pageImageFiles_data()
    {
        QTest::addColumn<ExportKind>("kind");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("magick");
        QTest::newRow("bmp") << ExportKind::Bmp << QStringLiteral("Letter - BMP.pdf") << QStringLiteral(".bmp") << QStringLiteral("BMP3");
        QTest::newRow("png") << ExportKind::Png << QStringLiteral("Letter - PNG.png") << QStringLiteral(".png") << QStringLiteral("PNG");
        QTest::newRow("jpeg") << ExportKind::Jpeg << QStringLiteral("Letter - JPG") << QStringLiteral(".jpg") << QStringLiteral("JPEG");
        QTest::newRow("tiff") << ExportKind::Tiff << QStringLiteral("Letter - TIFF.tiff") << QStringLiteral(".tiff") << QStringLiteral("TIFF");
        QTest::newRow("emf") << ExportKind::Emf << QStringLiteral("Letter - EMF.emf") << QStringLiteral(".emf") << QString();
    }
    void pageImageFiles()
    {
        QFETCH(ExportKind, kind);
        QFETCH(QString, chosen);
        QFETCH(QString, extension);
        QFETCH(QString, magick);
        for (int lines : {10, 60}) {
            QTemporaryDir dir;
            FakePageSource source(FakePageSource::numberedLines(lines));
            ExportJobs jobs(source);
            setUp(jobs);
            const int pages = jobs.writePageImages(kind, dir.filePath(chosen));
            QCOMPARE(pages, lines == 10 ? 1 : 2);
            const QString base = chosen.section(QLatin1Char('.'), 0, 0);
            QStringList expected;
            for (int n = 1; n <= pages; ++n)
                expected.append(base + QStringLiteral(" - Page ") + QString::number(n) + extension);
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), expected);
            QCOMPARE(jobs.writtenFiles().size(), pages);
            for (const QString &name : std::as_const(expected)) {
                const QString path = dir.filePath(name);
                if (kind == ExportKind::Emf) {
                    const QByteArray emf = readFile(path);
                    QCOMPARE(qFromLittleEndian<quint32>(emf.constData()), 1u);
                    QVERIFY(emf.contains(QByteArray("L\0i\0n\0e\0 \0", 10)));
                    continue;
                }
                const ToolResult id = run(QStringLiteral("identify"), {QStringLiteral("-format"), QStringLiteral("%m %w %h"), path});
                QCOMPARE(QString::fromLatin1(id.out), magick + QStringLiteral(" 693 950"));
                QImageReader reader(path);
                if (kind != ExportKind::Tiff || reader.canRead()) {
                    const QImage page = reader.read();
                    QCOMPARE(page.size(), QSize(693, 950));
                    QCOMPARE(page.pixelColor(5, 5), QColor(Qt::white));
                }
            }
            if (kind == ExportKind::Tiff) {
                const QByteArray tif = readFile(dir.filePath(expected.first()));
                QCOMPARE(qFromLittleEndian<quint32>(tif.constData() + 4), 1975095u);
            }
        }
    }

    void gifHoldsEveryPage_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("frames");
        QTest::newRow("one page") << 10 << 5 << 1;
        QTest::newRow("three pages, a minute each") << 100 << 60 << 3;
    }
    void gifHoldsEveryPage()
    {
        QFETCH(int, lines);
        QFETCH(int, seconds);
        QFETCH(int, frames);
        QTemporaryDir dir;
        FakePageSource source(FakePageSource::numberedLines(lines));
        ExportJobs jobs(source);
        setUp(jobs);
        QCOMPARE(jobs.writeGif(dir.filePath(QStringLiteral("Letter - GIFA.pdf")), seconds), frames);
        const QString path = dir.filePath(QStringLiteral("Letter - GIFA.gif"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Letter - GIFA.gif")});
        const GifStructure gif = parseGif(readFile(path));
        QVERIFY(gif.valid);
        QCOMPARE(gif.screen, QSize(693, 950));
        QCOMPARE(gif.frames.size(), frames);
        QCOMPARE(gif.delays, QList<int>(frames, seconds * 100));
        QCOMPARE(gif.applications.contains(QStringLiteral("NETSCAPE2.0")), frames > 1);
        QCOMPARE(gif.comments.size(), 1);
        QCOMPARE(gif.comments.first().size(), 5);
        QCOMPARE(gif.comments.first().first(), QByteArray("Created by Velmora Lumaro Word Processor version 8.2.2.2"));
        QCOMPARE(gif.comments.first().at(2), QByteArray("Velmora Office - Altavue 1.2"));
        const ToolResult id = run(QStringLiteral("identify"), {QStringLiteral("-format"), QStringLiteral("%T;"), path});
        QCOMPARE(QString::fromLatin1(id.out), QString(QString::number(seconds * 100) + QLatin1Char(';')).repeated(frames));

        // The first frame is the first page as we draw it (two colours and their blends).
        QImageReader reader(path);
        const QImage first = reader.read();
        const QImage own = ownPage(source, ExportPageGeometry::imagePage(), 1);
        QCOMPARE(differingFraction(first, own, QSize(693, 950), 24), 0.0);
    }

    void presentationSizesAndFrame_data()
    {
        QTest::addColumn<int>("pageSize");
        QTest::addColumn<QString>("screenSize");
        QTest::addColumn<bool>("frame");
        QTest::addColumn<QSize>("surface");
        QTest::newRow("full page") << int(PresentationOptions::PageSize::FullPage) << QStringLiteral("800 x 600") << false << QSize(693, 950);
        QTest::newRow("half page, framed") << int(PresentationOptions::PageSize::HalfPage) << QStringLiteral("800 x 600") << true << QSize(693, 485);
        QTest::newRow("900 x 675, framed") << int(PresentationOptions::PageSize::Screen) << QStringLiteral("900 x 675") << true << QSize(900, 675);
        QTest::newRow("1000 x 750") << int(PresentationOptions::PageSize::Screen) << QStringLiteral("1000 x 750") << false << QSize(1000, 750);
    }
    void presentationSizesAndFrame()
    {
        QFETCH(int, pageSize);
        QFETCH(QString, screenSize);
        QFETCH(bool, frame);
        QFETCH(QSize, surface);
        QTemporaryDir dir;
        FakePageSource source(FakePageSource::numberedLines(90));
        ExportJobs jobs(source);
        setUp(jobs);
        PresentationOptions options;
        options.pageSize = PresentationOptions::PageSize(pageSize);
        options.screenSize = screenSize;
        options.frame = frame;
        options.frameColor = QColor(200, 40, 0);
        const int frames = jobs.writePresentation(dir.filePath(QStringLiteral("Show - VMP.pdf")), options);
        const int linesPerPage = (surface.height() - 40) / FakePageSource::kLineHeight;
        QCOMPARE(frames, (90 + linesPerPage - 1) / linesPerPage);
        const QString path = dir.filePath(QStringLiteral("Show - VMP.vmp"));
        const GifStructure gif = parseGif(readFile(path));
        QVERIFY(gif.valid);
        QCOMPARE(gif.screen, surface);
        QCOMPARE(gif.delays, QList<int>(frames, 1500));
        QCOMPARE(gif.applications, QStringList{QStringLiteral("NETSCAPE2.0")});
        QCOMPARE(gif.comments.first().size(), 6);
        QCOMPARE(gif.comments.first().at(2), QByteArray("Velmora Office - Altavue version 1.2"));
        QCOMPARE(gif.comments.first().at(5), QByteArray("This is a Velmora Office Presentation File."));

        QImageReader reader(path);
        for (int f = 0; f < frames; ++f) {
            const QImage image = reader.read();
            QCOMPARE(image.size(), surface);
            const QList<QPoint> edge{{0, 0}, {surface.width() / 2, 0}, {0, surface.height() / 2},
                                     {surface.width() - 1, surface.height() / 2},
                                     {surface.width() / 2, surface.height() - 1}, {surface.width() - 1, surface.height() - 1}};
            for (const QPoint &p : edge)
                QCOMPARE(image.pixelColor(p), frame ? options.frameColor : QColor(Qt::white));
            // Inside the frame the page stays white up to the text.
            QCOMPARE(image.pixelColor(10, surface.height() / 2), QColor(Qt::white));
        }
    }

    void presentationHalfPagesAboutDouble()
    {
        FakePageSource source(FakePageSource::numberedLines(450));
        QTemporaryDir dir;
        ExportJobs jobs(source);
        setUp(jobs);
        PresentationOptions options;
        const int full = jobs.writePresentation(dir.filePath(QStringLiteral("a.vmp")), options);
        options.pageSize = PresentationOptions::PageSize::HalfPage;
        const int half = jobs.writePresentation(dir.filePath(QStringLiteral("b.vmp")), options);
        QCOMPARE(full, 10);
        QVERIFY2(half >= 2 * full && half <= 2 * full + 2, qPrintable(QString::number(half)));
    }

    void failedWriteKeepsOldFileAndReports()
    {
        QTemporaryDir dir;
        FakePageSource source(FakePageSource::numberedLines(10));
        ExportJobs jobs(source);
        setUp(jobs);
        const QString missing = dir.filePath(QStringLiteral("no/such/folder/x.pdf"));
        QVERIFY_THROWS_EXCEPTION(PdfWriteError, jobs.writeFullPdf(missing));
        QVERIFY_THROWS_EXCEPTION(ExportError, jobs.writePageImages(ExportKind::Png, missing));
        QVERIFY_THROWS_EXCEPTION(ExportError, jobs.writeGif(missing, 5));
        QVERIFY(QDir(dir.path()).isEmpty());
    }
};

LUMARO_TEST_CLASS(tst_ExportJobs)
#include "tst_exportjobs.moc"
