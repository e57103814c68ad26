#include "export/tnpdf2.h"
#include "tests/export/ExportTestTools.h"
#include "tests/support/TestMain.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <filesystem>
#include <sstream>

using namespace ExportTestTools;

namespace {

std::tm fixedTime()
{
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 7;
    t.tm_hour = 18;
    t.tm_min = 5;
    t.tm_sec = 9;
    return t;
}

void prepare(TPrintPDF1 &pdf, bool compress)
{
    pdf.Compress = compress;
    pdf.PageWidth = 596;
    pdf.PageHeight = 842;
    pdf.TITLE = "Letter";
    pdf.Author = "A";
    pdf.Creator = "C";
    pdf.Producer = "P";
    pdf.Keywords = "K";
    pdf.Subject = "S";
    pdf.setClock(fixedTime);
}

QByteArray finish(TPrintPDF1 &pdf)
{
    std::ostringstream out;
    pdf.EndDoc(out);
    const std::string s = out.str();
    return QByteArray(s.data(), qsizetype(s.size()));
}

std::string solidPixels(int w, int h, char r, char g, char b)
{
    std::string pixels;
    pixels.reserve(std::size_t(w) * h * 3);
    for (int i = 0; i < w * h; ++i) {
        pixels += r;
        pixels += g;
        pixels += b;
    }
    return pixels;
}

// Writes the bytes to a file and checks them with qpdf and pdfinfo; returns pdfinfo's output.
QByteArray checkWithOutsideReaders(const QByteArray &bytes, const QString &path)
{
    if (!writeFile(path, bytes))
        return {};
    const ToolResult qpdf = run(QStringLiteral("qpdf"), {QStringLiteral("--check"), path});
    if (qpdf.exitCode != 0) {
        qWarning() << qpdf.out << qpdf.err;
        return {};
    }
    const ToolResult info = run(QStringLiteral("pdfinfo"), {path});
    return info.exitCode == 0 ? info.out : QByteArray();
}

QByteArray pdfText(const QString &path)
{
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")}).out;
}

} // namespace

class tst_PdfWriter : public QObject
{
    Q_OBJECT

private slots:
    void emptyDocumentHasOneEmptyPage_data()
    {
        QTest::addColumn<bool>("compress");
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("plain") << false << QByteArray();
        QTest::newRow("deflated") << true << QByteArray("\x78\x9c\x03\x00\x00\x00\x00\x01", 8);
    }
    void emptyDocumentHasOneEmptyPage()
    {
        QFETCH(bool, compress);
        QFETCH(QByteArray, data);
        TPrintPDF1 pdf;
        prepare(pdf, compress);
        pdf.BeginDoc();
        QCOMPARE(pdf.PageNumber(), 1);
        const QByteArray bytes = finish(pdf);
        const PdfFile file = parsePdf(bytes);
        QVERIFY(file.object(2));
        QCOMPARE(file.object(2)->stream, data);
        QCOMPARE(file.object(3)->body, QByteArray::number(data.size()) + "\r\n");
        QVERIFY(bytes.contains("/Size 23\r\n"));

        QTemporaryDir dir;
        const QByteArray info = checkWithOutsideReaders(bytes, dir.filePath(QStringLiteral("empty.pdf")));
        QVERIFY(info.contains("Pages:"));
        QVERIFY(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")).match(QString::fromLatin1(info)).hasMatch());
    }

    // The head of a document is fixed byte for byte, up to the end of page 1.
    void firstObjectsAreExact()
    {
        TPrintPDF1 pdf;
        prepare(pdf, false);
        pdf.Font.Number = 8;
        pdf.Font.Size = 11;
        pdf.BeginDoc();
        pdf.TextOut(45, 54, "Hi");
        const QByteArray bytes = finish(pdf);
        const QByteArray content = "BT\r\n/F9 11 Tf\r\n45 788 Td\r\n(Hi) Tj\r\nET\r\n";
        const QByteArray expected = "%PDF-1.4\r\n"
                                    "1 0 obj\r\n<<\r\n/Producer (P)\r\n/Author (A)\r\n"
                                    "/CreationDate (D:20240307180509)\r\n/Creator (C)\r\n"
                                    "/Keywords (K)\r\n/Subject (S)\r\n/Title (Letter)\r\n"
                                    "/ModDate ()\r\n>>\r\nendobj\r\n"
                                    "2 0 obj\r\n<< /Length 3 0 R\r\n >>\r\nstream\r\n"
                                    + content + "endstream\r\nendobj\r\n"
                                    "3 0 obj\r\n" + QByteArray::number(content.size()) + "\r\nendobj\r\n"
                                    "4 0 obj\r\n<< /Type /Outlines\r\n/Count 0\r\n>>\r\nendobj\r\n"
                                    "5 0 obj\r\n<< /Type /Font\r\n/Subtype /Type1\r\n/Name /F1\r\n"
                                    "/BaseFont /Helvetica\r\n/Encoding /WinAnsiEncoding\r\n>>\r\nendobj\r\n";
        QCOMPARE(bytes.left(expected.size()), expected);
        QVERIFY(bytes.endsWith("\r\n%%EOF\r\n"));
    }

    void objectNumbersOfTwoPagesWithOneImageEach()
    {
        TPrintPDF1 pdf;
        prepare(pdf, true);
        pdf.BeginDoc();
        const std::string red = solidPixels(4, 3, char(255), 0, 0);
        const std::string blue = solidPixels(5, 2, 0, 0, char(255));
        pdf.Draw(25, 20, {4, 3, red});
        pdf.NewPage();
        QCOMPARE(pdf.PageNumber(), 2);
        pdf.Draw(25, 20, {5, 2, blue});
        const QByteArray bytes = finish(pdf);
        const PdfFile file = parsePdf(bytes);

        QList<int> numbers;
        for (const PdfObject &o : file.objects)
            numbers.append(o.number);
        QList<int> expected;
        for (int n = 1; n <= 27; ++n)
            expected.append(n);
        QCOMPARE(numbers, expected);

        QVERIFY(file.object(1)->body.contains("/Producer (P)"));
        QVERIFY(file.object(2)->body.startsWith("<< /Length 3 0 R\r\n/Filter [/FlateDecode]\r\n >>\r\n"));
        QVERIFY(file.object(4)->body.startsWith("<< /Length 5 0 R\r\n"));
        QCOMPARE(file.object(3)->body.toInt(), file.object(2)->stream.size());
        QCOMPARE(file.object(5)->body.toInt(), file.object(4)->stream.size());
        QVERIFY(file.object(6)->body.contains("/Type /Outlines"));
        const auto &fonts = TPrintPDF1::standardFonts();
        for (int k = 0; k < 14; ++k) {
            const QByteArray body = file.object(7 + k)->body;
            QVERIFY(body.contains("/Name /F" + QByteArray::number(k + 1) + "\r\n"));
            QVERIFY(body.contains("/BaseFont /" + QByteArray::fromStdString(fonts[k]) + "\r\n"));
        }
        QCOMPARE(file.object(21)->body,
                 QByteArray("<< /Type /Pages\r\n/Kids [\r\n25 0 R\r\n26 0 R\r\n]\r\n/Count 2\r\n>>\r\n"));
        QVERIFY(file.object(22)->body.contains("/XObject << \r\n/Im1 23 0 R\r\n/Im2 24 0 R\r\n>>\r\n"));
        QVERIFY(file.object(22)->body.contains("/F14 20 0 R \r\n>>\r\n>>\r\n"));
        QVERIFY(file.object(23)->body.contains("/Width 4\r\n/Height 3\r\n"));
        QVERIFY(file.object(24)->body.contains("/Name /Im2\r\n"));
        QCOMPARE(file.object(25)->body,
                 QByteArray("<< /Type /Page\r\n/Parent 21 0 R\r\n/MediaBox [ 0 0 596 842]\r\n"
                            "/Contents 2 0 R\r\n/Resources 22 0 R\r\n>>\r\n"));
        QVERIFY(file.object(26)->body.contains("/Contents 4 0 R\r\n"));
        QCOMPARE(file.object(27)->body,
                 QByteArray("<< /Type /Catalog\r\n/Pages 21 0 R\r\n/Outlines 6 0 R\r\n>>\r\n"));
        QVERIFY(file.trailer.contains("<< /Size 28\r\n/Root 27 0 R\r\n/Info 1 0 R\r\n>>\r\n"));

        // The image data round-trips: the spooled stream inflates to the pixels given.
        QByteArray imageData = file.object(23)->stream;
        QVERIFY(imageData.endsWith("\r\n"));
        imageData.chop(2);
        QCOMPARE(inflate(imageData), QByteArray::fromStdString(red));
        QVERIFY(file.object(23)->body.contains("/Length " + QByteArray::number(imageData.size()) + "\r\n"));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("two.pdf"));
        const QByteArray info = checkWithOutsideReaders(bytes, path);
        QVERIFY(QRegularExpression(QStringLiteral("Pages:\\s+2\\n")).match(QString::fromLatin1(info)).hasMatch());
        QVERIFY(info.contains("596 x 842 pts"));
        const ToolResult images = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path});
        QCOMPARE(images.exitCode, 0);
        const QList<QByteArray> rows = images.out.trimmed().split('\n');
        QCOMPARE(rows.size(), 4); // two heading lines, one image per page
        QVERIFY(rows[2].simplified().startsWith("1 0 image 4 3 rgb 3 8"));
        QVERIFY(rows[3].simplified().startsWith("2 1 image 5 2 rgb 3 8"));
    }

    // Every cross-reference entry is 20 bytes and points at its object.
    void crossReferencePointsAtEveryObject_data()
    {
        QTest::addColumn<bool>("compress");
        QTest::addColumn<int>("pages");
        QTest::newRow("plain, 1 page") << false << 1;
        QTest::newRow("deflated, 3 pages") << true << 3;
    }
    void crossReferencePointsAtEveryObject()
    {
        QFETCH(bool, compress);
        QFETCH(int, pages);
        TPrintPDF1 pdf;
        prepare(pdf, compress);
        pdf.BeginDoc();
        const std::string grey = solidPixels(7, 7, char(128), char(128), char(128));
        for (int p = 1; p <= pages; ++p) {
            pdf.TextOut(45, 54, "page");
            pdf.Draw(10, 10, {7, 7, grey});
            if (p < pages)
                pdf.NewPage();
        }
        const QByteArray bytes = finish(pdf);
        const PdfFile file = parsePdf(bytes);
        const int size = 3 * pages + pages + 20;
        QVERIFY(file.trailer.contains("/Size " + QByteArray::number(size) + "\r\n"));
        QVERIFY(file.xrefSection.startsWith("xref\r\n0 " + QByteArray::number(size)
                                            + "\r\n0000000000 65535 f\r\n0000000010 00000 n\r\n"));
        QCOMPARE(file.xrefSection.size(), 6 + QByteArray::number(size).size() + 4 + 20 * size);
        QCOMPARE(file.xrefOffsets.size(), size);
        for (int n = 1; n < size; ++n) {
            const qint64 at = file.xrefOffsets[n];
            QVERIFY2(bytes.mid(at).startsWith(QByteArray::number(n) + " 0 obj\r\n"), qPrintable(QString::number(n)));
        }
        QVERIFY(bytes.mid(file.startxref).startsWith("xref\r\n"));
    }

    void textIsEscapedAndReadBack_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("plain") << QByteArray("Dear Sir") << QByteArray("(Dear Sir) Tj");
        QTest::newRow("trailing backslash") << QByteArray("C:\\Docs\\") << QByteArray("(C:\\\\Docs\\\\) Tj");
        QTest::newRow("unbalanced parenthesis") << QByteArray("a) b ( c") << QByteArray("(a\\) b \\( c) Tj");
        QTest::newRow("braces") << QByteArray("{x}") << QByteArray("({x}) Tj");
        QTest::newRow("windows-1252") << QByteArray("caf\xe9 \x80") << QByteArray("(caf\xe9 \x80) Tj");
    }
    void textIsEscapedAndReadBack()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, written);
        TPrintPDF1 pdf;
        prepare(pdf, false);
        pdf.Font.Number = 8;
        pdf.BeginDoc();
        pdf.TextOut(45, 54, text.toStdString());
        pdf.TextOut(45, 69, "next");
        const QByteArray bytes = finish(pdf);
        const PdfFile file = parsePdf(bytes);
        QVERIFY(file.object(2));
        QVERIFY(file.object(2)->stream.contains(written + "\r\n"));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("text.pdf"));
        QVERIFY(!checkWithOutsideReaders(bytes, path).isEmpty());
        const QString extracted = QString::fromUtf8(pdfText(path));
        const QStringList lines = extracted.split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0).trimmed(), QString::fromLatin1(text).replace(QChar(0x80), QChar(0x20AC)).trimmed());
        QCOMPARE(lines.value(1).trimmed(), QStringLiteral("next"));
    }

    void infoIsFixedAtBeginDocAndMediaBoxAtEndDoc()
    {
        TPrintPDF1 pdf;
        prepare(pdf, true);
        pdf.BeginDoc();
        pdf.TITLE = "Changed";
        pdf.Author = "Changed";
        pdf.Font.Number = 0;
        pdf.TextOut(10, 100, "early");
        pdf.PageHeight = 600;
        pdf.TextOut(10, 100, "late");
        pdf.PageWidth = 500;
        const QByteArray bytes = finish(pdf);
        const PdfFile file = parsePdf(bytes);
        const QByteArray content = inflate(file.object(2)->stream);
        QVERIFY(content.contains("10 742 Td\r\n(early) Tj"));
        QVERIFY(content.contains("10 500 Td\r\n(late) Tj"));
        QVERIFY(file.object(1)->body.contains("/Title (Letter)"));
        QVERIFY(!bytes.contains("Changed"));

        QTemporaryDir dir;
        const QByteArray info = checkWithOutsideReaders(bytes, dir.filePath(QStringLiteral("info.pdf")));
        QVERIFY(info.contains("Title:           Letter"));
        QVERIFY(info.contains("500 x 600 pts"));
        QVERIFY(info.contains("Keywords:        K"));
    }

    void drawScalesFromScreenResolution_data()
    {
        QTest::addColumn<int>("ppi");
        QTest::addColumn<QByteArray>("placement");
        QTest::newRow("96 ppi") << 96 << QByteArray("537 0 0 784 25 38 cm");
        QTest::newRow("120 ppi") << 120 << QByteArray("430 0 0 627 25 195 cm");
    }
    void drawScalesFromScreenResolution()
    {
        QFETCH(int, ppi);
        QFETCH(QByteArray, placement);
        TPrintPDF1 pdf;
        prepare(pdf, false);
        pdf.setPixelsPerInch(ppi, ppi);
        pdf.BeginDoc();
        const std::string white = solidPixels(693, 950, char(255), char(255), char(255));
        pdf.Draw(25, 20, {693, 950, white});
        const QByteArray content = parsePdf(finish(pdf)).object(2)->stream;
        QCOMPARE(content, "q\r\n" + placement + "\r\n/Im1 Do\r\nQ\r\n");
    }

    // The outside renderer shows the image where it was placed, in the colours given.
    void imageRendersInPlace()
    {
        QTemporaryDir dir;
        TPrintPDF1 pdf;
        prepare(pdf, true);
        pdf.FileName = dir.filePath(QStringLiteral("image.pdf")).toStdString();
        pdf.BeginDoc();
        // 96 x 102 pixels at 96 ppi are placed 74 x 84 points large.
        std::string pixels;
        for (int y = 0; y < 102; ++y)
            for (int x = 0; x < 96; ++x) {
                pixels += char(x < 48 ? 255 : 0);
                pixels += char(y < 51 ? 0 : 255);
                pixels += char(0);
            }
        pdf.Draw(100, 200, {96, 102, pixels});
        pdf.EndDoc();
        const QImage page = renderPdfPage(QString::fromStdString(pdf.FileName), 1, 72);
        QCOMPARE(page.size(), QSize(596, 842));
        QCOMPARE(page.pixelColor(50, 50), QColor(Qt::white));
        QCOMPARE(page.pixelColor(110, 210), QColor(255, 0, 0));
        QCOMPARE(page.pixelColor(160, 210), QColor(0, 0, 0));
        QCOMPARE(page.pixelColor(110, 270), QColor(255, 255, 0));
        QCOMPARE(page.pixelColor(160, 270), QColor(0, 255, 0));
        QCOMPARE(page.pixelColor(180, 290), QColor(Qt::white));
    }

    void spoolFolderIsPrivateAndRemoved()
    {
        QTemporaryDir parent;
        const std::string pixels = solidPixels(2, 2, 1, 2, 3);
        std::filesystem::path first, second;
        {
            TPrintPDF1 a, b;
            a.setSpoolParent(parent.path().toStdString());
            b.setSpoolParent(parent.path().toStdString());
            a.BeginDoc();
            b.BeginDoc();
            a.Draw(0, 0, {2, 2, pixels});
            b.Draw(0, 0, {2, 2, pixels});
            first = a.spoolFolder();
            second = b.spoolFolder();
            QVERIFY(first != second);
            QVERIFY(std::filesystem::exists(first / "~tmpim1"));
            QVERIFY(std::filesystem::exists(second / "~tmpim1"));
            std::ostringstream out;
            a.EndDoc(out);
            QVERIFY(!std::filesystem::exists(first));
            // b is abandoned without EndDoc, as after a failed export.
        }
        QVERIFY(!std::filesystem::exists(second));
        QVERIFY(QDir(parent.path()).isEmpty());
    }

    void failedSaveKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kept.pdf"));
        QVERIFY(writeFile(path, "old contents"));
        TPrintPDF1 pdf;
        prepare(pdf, true);
        pdf.FileName = path.toStdString();
        pdf.setSpoolParent(dir.path().toStdString());
        pdf.BeginDoc();
        const std::string pixels = solidPixels(2, 2, 1, 2, 3);
        pdf.Draw(0, 0, {2, 2, pixels});
        std::filesystem::remove(pdf.spoolFolder() / "~tmpim1");
        QVERIFY_THROWS_EXCEPTION(PdfWriteError, pdf.EndDoc());
        QCOMPARE(readFile(path), QByteArray("old contents"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{QStringLiteral("kept.pdf")});

        TPrintPDF1 nowhere;
        nowhere.FileName = (path + QStringLiteral("/inside-a-file.pdf")).toStdString();
        nowhere.BeginDoc();
        QVERIFY_THROWS_EXCEPTION(PdfWriteError, nowhere.EndDoc());
    }

    void savedFileReplacesAnOldOne()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("new.pdf"));
        QVERIFY(writeFile(path, "old contents"));
        TPrintPDF1 pdf;
        prepare(pdf, true);
        pdf.FileName = path.toStdString();
        pdf.BeginDoc();
        pdf.TextOut(45, 54, "saved");
        pdf.EndDoc();
        QVERIFY(readFile(path).startsWith("%PDF-1.4\r\n"));
        QVERIFY(pdfText(path).contains("saved"));
        QVERIFY(QFileInfo(path).permission(QFileDevice::ReadOther));
    }
};

LUMARO_TEST_CLASS(tst_PdfWriter)
#include "tst_pdfwriter.moc"
