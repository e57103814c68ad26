// Pagination of a generated 1,000-page document into a preview's pages, and typing in it with a
// thumbnail strip showing those pages, as the print view of a document window does: the longest
// stall of the event loop while typing and how long after the last key the strip shows the text.
#include "bench/support/BenchSupport.h"
#include "editor/richtext/RxRichEdit.h"
#include "pages/GmPreview.h"
#include "pages/GmThumbnails.h"
#include "pages/PrintLayoutCopy.h"
#include "pages/RichTextPagination.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

namespace {

constexpr int kTargetPages = 1000;

void generate(QTextDocument *document, int paragraphs)
{
    QTextCursor c(document);
    c.beginEditBlock();
    const QStringList words = { QStringLiteral("lorem"), QStringLiteral("ipsum"), QStringLiteral("dolor"),
        QStringLiteral("sit"), QStringLiteral("amet"), QStringLiteral("consectetur"), QStringLiteral("adipiscing"),
        QStringLiteral("elit"), QStringLiteral("sed"), QStringLiteral("eiusmod"), QStringLiteral("tempor") };
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

// Paragraphs for about the given number of pages in the print layout on A4.
int paragraphsFor(int pages)
{
    return pages * 15 / 2;
}

void preparePreview(TGmPreview &preview)
{
    preview.Header().SetVisible(false);
    preview.Footer().SetVisible(false);
    preview.Canvas().SetCompareGraphics(false);
    preview.BeginUpdate();
    RichTextPagination::ApplyPrintLayout(preview, PageMarginsMm {});
    preview.EndUpdate();
}

void fullPagination()
{
    const QString name = QStringLiteral("pagination-1000");
    TRxRichEdit editor;
    generate(editor.document(), paragraphsFor(kTargetPages));
    TGmPreview preview;
    preparePreview(preview);
    Bench::resetPeakMemory();
    QElapsedTimer timer;
    timer.start();
    QList<int> starts;
    RichTextPagination::Repaginate(preview, editor, starts);
    const double seconds = timer.nsecsElapsed() / 1e9;
    Bench::printFigure(name, QStringLiteral("pages"), preview.PageCount(), QStringLiteral("pages"));
    Bench::printFigure(
        name, QStringLiteral("pages-per-second"), preview.PageCount() / seconds, QStringLiteral("pages/s"));
    Bench::printFigure(name, QStringLiteral("peak-memory"), Bench::peakMemoryKiB() / 1024.0, QStringLiteral("MiB"));

    // Where the time goes: the printer-resolution copy and its layout, the cut into pages, the
    // page pictures.
    const PageTextGeometry g = PageTextGeometry::of(preview);
    PrintLayoutCopy copy(editor.document());
    timer.restart();
    copy.sync(300, 300, g.widthTwips);
    Bench::printFigure(name, QStringLiteral("copy-and-layout"), timer.nsecsElapsed() / 1e6, QStringLiteral("ms"));
    timer.restart();
    const std::vector<PrintLayoutCopy::Page> pages = copy.cut(g.heightTwips);
    Bench::printFigure(name, QStringLiteral("cut"), timer.nsecsElapsed() / 1e6, QStringLiteral("ms"));
    timer.restart();
    for (const PrintLayoutCopy::Page &page : pages)
        copy.pagePicture(page, g.widthTwips, g.heightTwips);
    Bench::printFigure(name, QStringLiteral("pictures"), timer.nsecsElapsed() / 1e6, QStringLiteral("ms"));
    // One paragraph changed: the copy follows it.
    QTextCursor(editor.document()->findBlockByNumber(40)).insertText(QStringLiteral("typed "));
    timer.restart();
    copy.sync(300, 300, g.widthTwips);
    copy.cut(g.heightTwips);
    Bench::printFigure(name, QStringLiteral("sync-after-typing"), timer.nsecsElapsed() / 1e6, QStringLiteral("ms"));
}

void typingWithStrip(bool withPages)
{
    const QString name = withPages ? QStringLiteral("typing-1000") : QStringLiteral("typing-1000-without-pages");
    QWidget window;
    window.resize(1200, 900);
    TRxRichEdit editor(&window);
    editor.setGeometry(200, 0, 800, 900);
    generate(editor.document(), paragraphsFor(kTargetPages));
    TGmPreview preview(&window);
    preview.hide();
    preparePreview(preview);
    TGmThumbnails strip(&window);
    strip.setGeometry(0, 0, 150, 900);
    strip.SetLayout(gmThumbVert);
    strip.SetThumbSize(12);
    strip.SetPreview(&preview);
    RichTextPagination pagination(preview, editor);
    window.show();
    pagination.run();
    QCoreApplication::processEvents();

    // Type near the top of the text, so that every later page moves; a space after every fourth
    // letter asks for the pages again, as a key-up does in the print view.
    QObject::connect(&editor, &TRxRichEdit::keyReleased, [&](QKeyEvent *event) {
        if (event->key() == Qt::Key_Space && withPages)
            pagination.schedule();
    });
    QTextCursor cursor(editor.document()->findBlockByNumber(2));
    cursor.movePosition(QTextCursor::EndOfBlock);
    editor.setTextCursor(cursor);
    QElapsedTimer clock;
    clock.start();
    qint64 lastBeat = 0;
    qint64 longest = 0;
    QTimer heartbeat;
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (lastBeat)
            longest = std::max(longest, now - lastBeat);
        lastBeat = now;
    });
    int typed = 0;
    const int keys = 60;
    QTimer typing;
    typing.setInterval(70);
    QObject::connect(&typing, &QTimer::timeout, [&] {
        const bool space = typed % 5 == 4;
        const QString text = space ? QStringLiteral(" ") : QStringLiteral("x");
        const int key = space ? Qt::Key_Space : Qt::Key_X;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(&editor, &press);
        QCoreApplication::sendEvent(&editor, &release);
        if (++typed == keys)
            typing.stop();
    });
    const qint64 recordedBefore = pagination.picturesRecorded();
    heartbeat.start();
    typing.start();
    while (typing.isActive())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const qint64 stoppedAt = clock.nsecsElapsed();
    while (withPages && !pagination.upToDate())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const qint64 upToDate = clock.nsecsElapsed() - stoppedAt;
    heartbeat.stop();
    Bench::printFigure(name, QStringLiteral("longest-stall"), longest / 1e6, QStringLiteral("ms"));
    if (!withPages)
        return;
    Bench::printFigure(name, QStringLiteral("pages"), preview.PageCount(), QStringLiteral("pages"));
    Bench::printFigure(name, QStringLiteral("strip-current-after-typing"), upToDate / 1e6, QStringLiteral("ms"));
    Bench::printFigure(name, QStringLiteral("pictures-recorded"),
        double(pagination.picturesRecorded() - recordedBefore), QStringLiteral("pictures"));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("CUPS_SERVER", "/nonexistent/lumaro-no-cups.sock");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    fullPagination();
    typingWithStrip(true);
    // The same typing with nothing paginated: what the editor alone costs.
    typingWithStrip(false);
    return 0;
}
