// Format-range pagination of generated documents into pictures, page after page, as the print
// preview does. Prints pages per second and peak memory for about 100 and 1,000 pages; the rate
// must not fall with the length of the document.
#include "bench/support/BenchSupport.h"
#include "editor/richtext/RxRichEdit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QTextCursor>

namespace {

// Letter-size text area at 600 dpi measured: 6.5 x 9 inches.
const QRect kPageTwips(0, 0, 9360, 12960);

void generate(TRxRichEdit &editor, int paragraphs)
{
    QTextCursor c(editor.document());
    c.beginEditBlock();
    const QStringList words = {QStringLiteral("lorem"), QStringLiteral("ipsum"), QStringLiteral("dolor"),
                               QStringLiteral("sit"), QStringLiteral("amet"), QStringLiteral("consectetur"),
                               QStringLiteral("adipiscing"), QStringLiteral("elit"), QStringLiteral("sed"),
                               QStringLiteral("eiusmod"), QStringLiteral("tempor")};
    for (int p = 0; p < paragraphs; ++p) {
        if (p)
            c.insertBlock();
        for (int w = 0; w < 60; ++w) {
            QTextCharFormat f;
            f.setFontPointSize(w % 17 == 0 ? 14 : 11);
            f.setFontWeight(w % 7 == 0 ? QFont::Bold : QFont::Normal);
            f.setFontItalic(w % 11 == 0);
            c.insertText(words[(p * 7 + w) % words.size()] + u' ', f);
        }
    }
    c.endEditBlock();
}

void run(int targetPages)
{
    TRxRichEdit editor;
    // About six lines a paragraph and fifty lines a page.
    generate(editor, targetPages * 8);
    QImage measure(8, 8, QImage::Format_RGB32);
    measure.setDotsPerMeterX(qRound(600 / 0.0254));
    measure.setDotsPerMeterY(qRound(600 / 0.0254));

    Bench::resetPeakMemory();
    QElapsedTimer timer;
    timer.start();
    const int n = editor.textLength();
    int start = 0;
    int pages = 0;
    do {
        QPicture picture;
        QPainter painter(&picture);
        const int next = editor.formatRange(&painter, &measure, kPageTwips, kPageTwips, start, n, true);
        painter.end();
        ++pages;
        start = next;
    } while (start < n);
    editor.releaseFormatCache();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const QString name = QStringLiteral("paginate-%1").arg(targetPages);
    Bench::printFigure(name, QStringLiteral("pages"), pages, QStringLiteral("pages"));
    Bench::printFigure(name, QStringLiteral("pages-per-second"), pages / seconds, QStringLiteral("pages/s"));
    Bench::printFigure(name, QStringLiteral("peak-memory"), Bench::peakMemoryKiB() / 1024.0, QStringLiteral("MiB"));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    run(100);
    run(1000);
    return 0;
}
