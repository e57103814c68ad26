#include "editor/richtext/RxRichEdit.h"
#include "platform/RichTextProperties.h"
#include "tests/support/TestMain.h"

#include <QBuffer>
#include <QImage>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QPainter>
#include <QPicture>
#include <QTextBlock>

namespace {

// Paragraphs of one line each, every line exactly 20 layout pixels (300 twips) high.
void fillLines(TRxRichEdit &e, int count, const QString &prefix = QStringLiteral("Line"))
{
    QTextCursor c(e.document());
    QTextBlockFormat f;
    f.setLineHeight(20, QTextBlockFormat::FixedHeight);
    c.setBlockFormat(f);
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            c.insertBlock(f);
        c.insertText(QStringLiteral("%1 %2").arg(prefix).arg(i));
    }
}

struct Page
{
    int start;
    int end;
    QImage image;
};

QList<Page> paginate(TRxRichEdit &e, const QRect &twips, QPaintDevice *measure = nullptr)
{
    QList<Page> pages;
    const int n = e.textLength();
    int start = 0;
    do {
        QImage image(twips.width() / 15 + 40, twips.height() / 15 + 40, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        const int next = e.formatRange(&p, measure, twips, twips, start, -1, true);
        p.end();
        pages.append({start, next, image});
        if (next <= start || pages.size() > 10000)
            break;
        start = next;
    } while (start < n);
    e.releaseFormatCache();
    return pages;
}

bool hasInk(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(line[x]) < 128)
                return true;
        }
    }
    return false;
}

} // namespace

class tst_FormatRange : public QObject
{
    Q_OBJECT

private slots:
    void pagesCoverEveryCharacterOnceInOrder()
    {
        TRxRichEdit e;
        QTextCursor c(e.document());
        // A long document of wrapped paragraphs in several sizes.
        for (int i = 0; i < 400; ++i) {
            QTextCharFormat f;
            f.setFontPointSize(8 + i % 9);
            if (i)
                c.insertBlock();
            c.insertText(QStringLiteral("Paragraph %1 with words that wrap across the width of a page, ").arg(i).repeated(1 + i % 3), f);
        }
        const QRect twips(0, 0, 9000, 12000);
        const QList<Page> pages = paginate(e, twips);
        QVERIFY(pages.size() > 10);
        int expected = 0;
        for (const Page &p : pages) {
            QCOMPARE(p.start, expected);
            QVERIFY(p.end > p.start);
            QVERIFY(hasInk(p.image));
            expected = p.end;
        }
        QCOMPARE(expected, e.textLength());
        // The last page holds the last paragraph.
        QVERIFY(e.textRange(pages.last().start, pages.last().end).contains(QStringLiteral("Paragraph 399")));
    }

    void textEndingAtAPageEndGivesNoEmptyPage_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::newRow("measured at 96 dpi") << 96;
        QTest::newRow("measured at 600 dpi") << 600;
    }
    void textEndingAtAPageEndGivesNoEmptyPage()
    {
        QFETCH(int, dpi);
        TRxRichEdit e;
        fillLines(e, 50);
        QImage measure(10, 10, QImage::Format_RGB32);
        measure.setDotsPerMeterX(qRound(dpi / 0.0254));
        measure.setDotsPerMeterY(qRound(dpi / 0.0254));
        const QList<Page> pages = paginate(e, QRect(0, 0, 8000, 10 * 300), &measure); // ten lines a page
        QCOMPARE(pages.size(), 5);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(pages[i].start, e.document()->findBlockByNumber(10 * i).position());
        QCOMPARE(pages.last().end, e.textLength());
    }

    void pageBreakBeforeStartsANewPage()
    {
        TRxRichEdit e;
        fillLines(e, 6);
        e.setSelection(e.document()->findBlockByNumber(2).position(), 0);
        e.paragraph().setPageBreakBefore(true);
        const QList<Page> pages = paginate(e, QRect(0, 0, 8000, 100 * 300));
        QCOMPARE(pages.size(), 2);
        QCOMPARE(pages[1].start, e.document()->findBlockByNumber(2).position());
    }

    void hiddenTextTakesNoRoom()
    {
        TRxRichEdit e;
        fillLines(e, 20);
        // Hide paragraphs 5 to 14.
        e.setSelection(e.document()->findBlockByNumber(5).position(), 0);
        const int from = e.document()->findBlockByNumber(5).position();
        const int to = e.document()->findBlockByNumber(15).position();
        e.setSelection(from, to - from);
        e.selAttributes().setHidden(true);
        const QList<Page> pages = paginate(e, QRect(0, 0, 8000, 10 * 300));
        QCOMPARE(pages.size(), 1);
        QCOMPARE(pages.first().end, e.textLength());
    }

    void aLineTallerThanThePageStillMakesProgress()
    {
        TRxRichEdit e;
        QTextCursor c(e.document());
        QTextCharFormat big;
        big.setFontPointSize(200);
        c.insertText(QStringLiteral("A\nB"), big);
        const QList<Page> pages = paginate(e, QRect(0, 0, 8000, 600));
        QCOMPARE(pages.size(), 2);
        QCOMPARE(pages.last().end, e.textLength());
    }

    void printsEveryPageOnAPagedDevice()
    {
        TRxRichEdit e;
        fillLines(e, 120);
        QByteArray pdf;
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setResolution(300);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
            QVERIFY(e.printDocument(&writer));
        }
        // Lines of 300 twips on a page of (297 - 40) mm: 48 a page, so 120 lines take 3 pages.
        int pages = 0;
        auto it = QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")).globalMatch(QString::fromLatin1(pdf));
        while (it.hasNext()) {
            it.next();
            ++pages;
        }
        QCOMPARE(pages, 3);
    }

    void emptyDocumentIsOnePage()
    {
        TRxRichEdit e;
        QCOMPARE(e.formatRange(nullptr, nullptr, QRect(0, 0, 8000, 8000), QRect(), 0, -1, false), 0);
    }

    void drawsInsideTheTargetRectangleOnAnyDevice()
    {
        TRxRichEdit e;
        fillLines(e, 3, QStringLiteral("XXXXXXXX"));
        // At 96 dpi, 1440 twips are 96 pixels: the text starts at (96, 48) pixels.
        QImage image(800, 400, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            e.formatRange(&p, nullptr, QRect(1440, 720, 7200, 3000), QRect(), 0);
        }
        QRect ink;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    ink |= QRect(x, y, 1, 1);
        QVERIFY(ink.left() >= 96 && ink.left() < 110);
        QVERIFY(ink.top() >= 48 && ink.top() < 70);
        QVERIFY(ink.bottom() < 48 + 60 + 5);
        // A picture recorded against a 600 dpi measure plays back to the same layout.
        QPicture picture;
        QImage measure(10, 10, QImage::Format_RGB32);
        measure.setDotsPerMeterX(qRound(600 / 0.0254));
        measure.setDotsPerMeterY(qRound(600 / 0.0254));
        {
            QPainter p(&picture);
            QCOMPARE(e.formatRange(&p, &measure, QRect(0, 0, 7200, 3000), QRect(), 0), e.textLength());
        }
        QImage played(800, 400, QImage::Format_RGB32);
        played.fill(Qt::white);
        {
            QPainter p(&played);
            picture.play(&p);
        }
        QVERIFY(hasInk(played));
    }
};

LUMARO_TEST_CLASS(tst_FormatRange)
#include "tst_formatrange.moc"
