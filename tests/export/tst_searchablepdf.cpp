#include "editor/richtext/RxRichEdit.h"
#include "export/ExportError.h"
#include "export/ExportJobs.h"
#include "export/RichEditPageSource.h"
#include "export/SearchablePdf.h"
#include "platform/RichTextProperties.h"
#include "tests/export/ExportTestTools.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

using namespace ExportTestTools;

namespace {

// A document of numbered paragraphs over several pages, a hyperlink, and one picture shown on
// the first and on the last page.
void fillDocument(TRxRichEdit &edit, int paragraphs)
{
    QTextDocument *doc = edit.document();
    QImage picture(120, 80, QImage::Format_RGB32);
    picture.fill(QColor(30, 120, 200));
    {
        QPainter p(&picture);
        p.fillRect(20, 20, 40, 40, Qt::yellow);
    }
    doc->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("picture1")), picture);
    QTextImageFormat image;
    image.setName(QStringLiteral("picture1"));
    image.setWidth(120);
    image.setHeight(80);

    QTextCursor cursor(doc);
    QTextCharFormat body;
    body.setFontFamilies({ QStringLiteral("Liberation Serif") });
    body.setFontPointSize(12);
    QTextCharFormat link = body;
    link.setAnchor(true);
    link.setAnchorHref(QStringLiteral("https://www.velmora.example/manual"));
    link.setFontUnderline(true);
    cursor.insertImage(image);
    cursor.insertBlock();
    for (int i = 1; i <= paragraphs; ++i) {
        cursor.insertText(QStringLiteral("Paragraph %1 begins here and tells a quiet story of paper, ink and "
                                         "margins that wraps over two lines at the least. Marker%2end.")
                              .arg(i)
                              .arg(i),
            body);
        if (i == 3) {
            cursor.insertText(QStringLiteral(" See "), body);
            cursor.insertText(QStringLiteral("the manual"), link);
            cursor.insertText(QStringLiteral("."), body);
        }
        cursor.insertBlock();
    }
    cursor.insertImage(image);
}

QString tool(const QString &program, const QStringList &arguments)
{
    const ToolResult r = run(program, arguments);
    return QString::fromUtf8(r.out);
}

// The page size pdfinfo gives, rounded to hundredths of a point.
QSizeF pageSize(const QString &info)
{
    const QRegularExpressionMatch m
        = QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    if (!m.hasMatch()) {
        qWarning() << info;
        return {};
    }
    return QSizeF(qRound(m.captured(1).toDouble() * 100) / 100.0, qRound(m.captured(2).toDouble() * 100) / 100.0);
}

} // namespace

class tst_SearchablePdf : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char *program : { "qpdf", "pdfinfo", "pdftotext", "pdffonts", "pdfimages" }) {
            if (!haveTool(QString::fromLatin1(program)))
                QSKIP("poppler-utils and qpdf are needed");
        }
    }

    // Vector text in embedded fonts, in the document's order, on A4 by default, with the
    // document's title and author, its picture once and its link.
    void searchablePdfOfADocument()
    {
        TRxRichEdit edit;
        fillDocument(edit, 60);
        edit.document()->setMetaInformation(
            QTextDocument::DocumentTitle, QStringLiteral("Quiet Stories \u00e9t\u00e9"));
        edit.document()->setProperty(RichText::kDocumentAuthor, QStringLiteral("Ada Lindqvist"));
        RichEditPageSource source(edit);
        ExportJobs jobs(source);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Stories - PDF.pdf"));
        const int pages = jobs.writeSearchablePdf(path);
        QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
        QCOMPARE(jobs.writtenFiles(), QStringList { path });

        const ToolResult check = run(QStringLiteral("qpdf"), { QStringLiteral("--check"), path });
        QVERIFY2(check.exitCode == 0, check.out + check.err);

        const QString info = tool(QStringLiteral("pdfinfo"), { path });
        QCOMPARE(pageSize(info), QSizeF(595, 842)); // A4 in whole points
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pages))), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Title:\\s+Quiet Stories \u00e9t\u00e9\\n"))),
            qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Author:\\s+Ada Lindqvist\\n"))), qPrintable(info));

        // Every paragraph's text, in order.
        const QString text = tool(QStringLiteral("pdftotext"), { path, QStringLiteral("-") }).simplified();
        qsizetype at = 0;
        for (int i = 1; i <= 60; ++i) {
            const qsizetype found = text.indexOf(QStringLiteral("Marker%1end.").arg(i), at);
            QVERIFY2(found >= at, qPrintable(QStringLiteral("Marker%1end. missing or out of order").arg(i)));
            at = found;
        }
        QVERIFY(text.contains(QStringLiteral("Paragraph 3 begins here and tells a quiet story")));

        // Fonts are embedded.
        const QStringList fonts = tool(QStringLiteral("pdffonts"), { path }).split(u'\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY(!fonts.isEmpty());
        for (const QString &row : fonts) {
            const QStringList columns = row.simplified().split(u' ');
            // name type [type] encoding emb sub uni object ID: emb is the fifth column from the end
            QVERIFY2(columns.size() >= 7 && columns[columns.size() - 5] == QLatin1String("yes"), qPrintable(row));
        }

        // The picture shown twice is stored once.
        const QStringList images = tool(QStringLiteral("pdfimages"), { QStringLiteral("-list"), path })
                                       .split(u'\n', Qt::SkipEmptyParts)
                                       .mid(2);
        QCOMPARE(images.size(), 2);
        QCOMPARE(images[0].simplified().split(u' ').value(10), images[1].simplified().split(u' ').value(10));

        // The hyperlink is a link annotation.
        const QByteArray bytes = readFile(path);
        QVERIFY(bytes.contains("/URI (https://www.velmora.example/manual)"));
    }

    // The paper and margins of the page settings.
    void pageSettingsGiveThePaper_data()
    {
        QTest::addColumn<QPageLayout>("layout");
        QTest::addColumn<QSizeF>("size");
        QTest::newRow("letter landscape") << QPageLayout(
            QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF(72, 72, 72, 72), QPageLayout::Point)
                                          << QSizeF(792, 612);
        QTest::newRow("a5 portrait") << QPageLayout(
            QPageSize(QPageSize::A5), QPageLayout::Portrait, QMarginsF(20, 30, 20, 30), QPageLayout::Point)
                                     << QSizeF(420, 595);
    }
    void pageSettingsGiveThePaper()
    {
        QFETCH(QPageLayout, layout);
        QFETCH(QSizeF, size);
        TRxRichEdit edit;
        fillDocument(edit, 12);
        RichEditPageSource source(edit);
        ExportJobs jobs(source);
        jobs.setPageSettings(layout);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("paper.pdf"));
        const int pages = jobs.writeSearchablePdf(path);
        const QString info = tool(QStringLiteral("pdfinfo"), { path });
        QCOMPARE(pageSize(info), size);
        // No title in the document: the file name stands in.
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Title:\\s+paper.pdf\\n"))), qPrintable(info));
        // Text keeps inside the margins: the first line starts at the left margin.
        const QString bbox = tool(QStringLiteral("pdftotext"),
            { QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                QStringLiteral("1"), path, QStringLiteral("-") });
        const QRegularExpressionMatch word = QRegularExpression(
            QStringLiteral("xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"[0-9.]+\">Paragraph"))
                                                 .match(bbox);
        QVERIFY2(word.hasMatch(), qPrintable(bbox.left(2000)));
        const QMarginsF margins = layout.margins(QPageLayout::Point);
        QVERIFY2(qAbs(word.captured(1).toDouble() - margins.left()) < 2, qPrintable(word.captured(0)));
        QVERIFY(word.captured(2).toDouble() > margins.top());
        QVERIFY(pages >= 1);
    }

    // A file that cannot be written leaves an old file of that name as it was.
    void failedWriteKeepsTheOldFile()
    {
        TRxRichEdit edit;
        fillDocument(edit, 3);
        RichEditPageSource source(edit);
        ExportJobs jobs(source);
        QTemporaryDir dir;
        QVERIFY_THROWS_EXCEPTION(ExportError, jobs.writeSearchablePdf(dir.filePath(QStringLiteral("no/such/x.pdf"))));
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    // The information update leaves a file whose trailer chain readers follow.
    void infoUpdateOfAMinimalFile()
    {
        QByteArray pdf = "%PDF-1.4\n1 0 obj\n<< /Type /Catalog >>\nendobj\nxref\n0 2\n0000000000 65535 f \n"
                         "0000000009 00000 n \ntrailer\n<< /Size 2 /Root 1 0 R >>\nstartxref\n47\n%%EOF\n";
        SearchablePdf::Info info;
        info.title = QStringLiteral("T");
        info.author = QStringLiteral("A (b)");
        QVERIFY(SearchablePdf::replaceInfo(pdf, info, "(D:20260101000000Z)"));
        QVERIFY(pdf.contains("2 0 obj\n<<\n/Title <FEFF0054>\n/Author <FEFF00410020002800620029>\n"));
        QVERIFY(pdf.contains("/Size 3\n/Root 1 0 R\n/Info 2 0 R\n/Prev 47\n"));
        QVERIFY(pdf.endsWith("%%EOF\n"));
        QByteArray broken = "%PDF-1.4\nno trailer here\n";
        QVERIFY(!SearchablePdf::replaceInfo(broken, info, "(D:20260101000000Z)"));
    }
};

LUMARO_TEST_CLASS(tst_SearchablePdf)
#include "tst_searchablepdf.moc"
