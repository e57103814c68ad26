#include "editor/richtext/RxRichEdit.h"
#include "export/BitmapPageTarget.h"
#include "export/ExportJobs.h"
#include "export/ExportPageLoop.h"
#include "export/RichEditPageSource.h"
#include "tests/export/ExportTestTools.h"
#include "tests/support/TestMain.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

using namespace ExportTestTools;

namespace {

// A formatted letter of several pages: headings, coloured and italic runs, parentheses.
void fillDocument(TRxRichEdit &edit, int sections)
{
    QTextCursor cursor(edit.document());
    QTextCharFormat heading;
    heading.setFontFamilies({QStringLiteral("Liberation Sans")});
    heading.setFontPointSize(18);
    heading.setFontWeight(QFont::Bold);
    heading.setForeground(QColor(20, 60, 160));
    QTextCharFormat body;
    body.setFontFamilies({QStringLiteral("Liberation Serif")});
    body.setFontPointSize(12);
    QTextCharFormat accent = body;
    accent.setFontItalic(true);
    accent.setForeground(QColor(180, 20, 20));
    for (int s = 1; s <= sections; ++s) {
        if (s > 1)
            cursor.insertBlock();
        cursor.insertText(QStringLiteral("Section %1 (overview)").arg(s), heading);
        for (int p = 0; p < 4; ++p) {
            cursor.insertBlock();
            cursor.insertText(QStringLiteral("Paragraph %1.%2: the quick brown fox jumps over the lazy dog, ").arg(s).arg(p), body);
            cursor.insertText(QStringLiteral("in red italics "), accent);
            cursor.insertText(QStringLiteral("and then plain text again until the line wraps on the page several times over. ")
                                  .repeated(2),
                              body);
        }
    }
}

QList<QImage> ownPages(ExportPageSource &source, const ExportPageGeometry &geometry)
{
    QList<QImage> pages;
    ExportPageLoop loop(source, geometry);
    loop.setScreenDpi(96, 96);
    BitmapPageTarget target(geometry.surface, QImage::Format_RGB32, 96, 96,
                            [&](const QImage &image, int, bool) { pages.append(image.copy()); });
    loop.run(target);
    return pages;
}

} // namespace

class tst_RichEditExport : public QObject
{
    Q_OBJECT

private slots:
    void fullLayoutPdfOfAFormattedDocument()
    {
        TRxRichEdit edit;
        edit.resize(700, 500);
        fillDocument(edit, 12);
        RichEditPageSource source(edit);
        const QList<QImage> own = ownPages(source, ExportPageGeometry::pdfPage());
        QVERIFY2(own.size() >= 3, qPrintable(QString::number(own.size())));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Letter - PDF.pdf"));
        ExportJobs jobs(source);
        jobs.setScreenDpi(96, 96);
        QCOMPARE(jobs.writeFullPdf(path), int(own.size()));
        QCOMPARE(run(QStringLiteral("qpdf"), {QStringLiteral("--check"), path}).exitCode, 0);

        const QList<QByteArray> rows = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path}).out.trimmed().split('\n');
        QCOMPARE(rows.size(), 2 + own.size());
        const PdfFile file = parsePdf(readFile(path));
        for (int k = 1; k <= own.size(); ++k) {
            QVERIFY(rows[1 + k].simplified().startsWith(QByteArray::number(k) + " " + QByteArray::number(k - 1) + " image 693 950"));
            QVERIFY(inflate(file.object(2 * k)->stream).contains("/Im" + QByteArray::number(k) + " Do"));
        }

        for (int k = 1; k <= own.size(); ++k) {
            const QImage rendered = renderPdfPage(path, k, 96).copy(QRect(33, 27, 716, 1045));
            const double differing = differingFraction(rendered, own[k - 1], QSize(139, 190), 40);
            QVERIFY2(differing < 0.01, qPrintable(QStringLiteral("page %1: %2").arg(k).arg(differing)));
        }
        // The heading's blue reaches the PDF.
        const QImage first = renderPdfPage(path, 1, 96).copy(QRect(33, 27, 716, 1045)).scaled(693, 950);
        bool blue = false;
        for (int y = 0; y < 80 && !blue; ++y)
            for (int x = 0; x < 400 && !blue; ++x) {
                const QColor c = first.pixelColor(x, y);
                blue = c.blue() > 120 && c.red() < 80;
            }
        QVERIFY(blue);
    }

    // Every character is on exactly one page: the pages continue each other.
    void pagesCoverTheWholeText()
    {
        TRxRichEdit edit;
        fillDocument(edit, 6);
        RichEditPageSource source(edit);
        QList<int> starts;
        struct Recording : ExportPageSource
        {
            ExportPageSource &inner;
            QList<int> &starts;
            QList<int> nexts;
            Recording(ExportPageSource &i, QList<int> &s) : inner(i), starts(s) {}
            int textLength() const override { return inner.textLength(); }
            int renderPage(QPainter &p, const QRect &r, int start) override
            {
                starts.append(start);
                nexts.append(inner.renderPage(p, r, start));
                return nexts.last();
            }
            QStringList displayLines() const override { return inner.displayLines(); }
        } recording(source, starts);
        const QList<QImage> pages = ownPages(recording, ExportPageGeometry::imagePage());
        QVERIFY(pages.size() >= 2);
        QCOMPARE(recording.nexts.last(), edit.textLength());
        for (int i = 1; i < starts.size(); ++i)
            QCOMPARE(starts[i], recording.nexts[i - 1]);
    }

    void textOnlyPdfOfTheDisplayLines()
    {
        TRxRichEdit edit;
        edit.resize(500, 400);
        fillDocument(edit, 3);
        RichEditPageSource source(edit);
        const QStringList lines = edit.displayLines();
        QVERIFY(lines.size() > 10);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("text.pdf"));
        ExportJobs jobs(source);
        QCOMPARE(jobs.writeTextPdf(path, 4, 9), (int(lines.size()) + 49) / 50);
        const QString text = QString::fromUtf8(run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}).out);
        QVERIFY(text.contains(QStringLiteral("Section 1 {overview}")));
        QVERIFY(!text.contains(QLatin1Char('(')));
        // Lines longer than the page run off its edge, where a text extractor does not look: read
        // every string back from the content streams instead.
        const PdfFile file = parsePdf(readFile(path));
        QStringList written;
        static const QRegularExpression shown(QStringLiteral("\\((.*)\\) Tj\r\n"));
        for (int page = 1; page <= (lines.size() + 49) / 50; ++page) {
            const QString content = QString::fromLatin1(inflate(file.object(2 * page)->stream));
            for (auto it = shown.globalMatch(content); it.hasNext();)
                written.append(it.next().captured(1).replace(QStringLiteral("\\\\"), QStringLiteral("\\")));
        }
        QStringList expected = lines;
        for (QString &line : expected)
            line.replace(QLatin1Char('('), QLatin1Char('{')).replace(QLatin1Char(')'), QLatin1Char('}'));
        QCOMPARE(written, expected);
    }
};

LUMARO_TEST_CLASS(tst_RichEditExport)
#include "tst_richeditexport.moc"
