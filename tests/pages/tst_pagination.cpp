#include "editor/richtext/RxRichEdit.h"
#include "pages/GmClasses.h"
#include "pages/GmPreview.h"
#include "pages/PagePrinting.h"
#include "pages/PrintLayoutCopy.h"
#include "pages/RichTextPagination.h"
#include "platform/RichTextProperties.h"
#include "tests/support/TestMain.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QTimer>

#include <functional>

namespace {

// Paragraphs of about five lines each at the default font, numbered so pages differ.
void fill(TRxRichEdit &editor, int paragraphs, const QString &word = QStringLiteral("lorem"))
{
    QTextCursor c(editor.document());
    c.movePosition(QTextCursor::End);
    c.beginEditBlock();
    for (int p = 0; p < paragraphs; ++p) {
        if (p > 0 || !editor.document()->isEmpty())
            c.insertBlock();
        QString text = QStringLiteral("Paragraph %1:").arg(p);
        for (int w = 0; w < 60; ++w)
            text += u' ' + word;
        c.insertText(text);
    }
    c.endEditBlock();
}

TGmGraphicObject *pictureOf(TGmPreview &preview, int page)
{
    TGmPage *p = preview.PageList().Pages(page);
    if (!p || p->Objects().Count() != 1)
        return nullptr;
    return dynamic_cast<TGmGraphicObject *>(p->Objects().At(0));
}

// What a run produced, comparable between two runs.
struct Pages
{
    QList<int> starts;
    QList<QByteArray> pictures;
};

Pages pagesOf(TGmPreview &preview, const QList<int> &starts)
{
    Pages pages;
    pages.starts = starts;
    for (int p = 1; p <= preview.PageCount(); ++p) {
        TGmGraphicObject *object = pictureOf(preview, p);
        pages.pictures << (object && object->Graphic()
                ? QByteArray(object->Graphic()->data(), object->Graphic()->size())
                : QByteArray("missing"));
    }
    return pages;
}

// Gives target a copy of the source's text, made in one piece.
void copyText(TRxRichEdit &target, TRxRichEdit &source)
{
    target.clear();
    target.document()->setDefaultFont(source.document()->defaultFont());
    QTextCursor(target.document()).insertFragment(QTextDocumentFragment(source.document()));
}

// A fresh editor with the same text, paginated from scratch.
Pages freshRun(TRxRichEdit &editor)
{
    TRxRichEdit fresh;
    copyText(fresh, editor);
    TGmPreview preview;
    QList<int> starts;
    RichTextPagination::Repaginate(preview, fresh, starts);
    return pagesOf(preview, starts);
}

} // namespace

class tst_Pagination : public QObject
{
    Q_OBJECT

private slots:
    void layoutRectangleOfA4WithTwentyMillimetreMargins()
    {
        TGmPreview preview;
        preview.BeginUpdate();
        RichTextPagination::ApplyPrintLayout(preview, PageMarginsMm { 20, 20, 20, 20 });
        preview.EndUpdate();
        const PageTextGeometry g = PageTextGeometry::of(preview);
        // 210 x 297 mm less 20 mm each side, 10 mm header and footer, and 14 twips of width.
        QCOMPARE(g.widthTwips, 9624);
        QCOMPARE(g.heightTwips, 13436);
        QCOMPARE(g.leftTwips, 1134.0);
        QVERIFY(qAbs(g.topTwips - (1134 + 10 / 25.4 * 1440)) < 1e-6);
        QVERIFY(!RichTextPagination::IsExportLayout(preview));
        RichTextPagination::ApplyExportLayout(preview);
        QVERIFY(RichTextPagination::IsExportLayout(preview));
    }

    void marginsShrinkToLeaveOneInchSquare()
    {
        TGmPreview preview;
        RichTextPagination::ApplyPrintLayout(preview, PageMarginsMm { 140, 100, 140, 100 });
        const PageTextGeometry g = PageTextGeometry::of(preview);
        QVERIFY(g.widthTwips >= PageTextGeometry::MinimumTwips);
        QVERIFY(g.heightTwips >= PageTextGeometry::MinimumTwips);
        QVERIFY(g.leftTwips + g.widthTwips <= 210 / 25.4 * 1440);

        // Words of one letter each on a page one inch wide still give pages of many characters.
        TRxRichEdit editor;
        QString text;
        for (int i = 0; i < 3000; ++i)
            text += QStringLiteral("a ");
        editor.setPlainText(text);
        QList<int> starts;
        RichTextPagination::Repaginate(preview, editor, starts);
        QVERIFY(preview.PageCount() < 100);
        QCOMPARE(starts.size(), preview.PageCount());
    }

    void emptyDocumentIsOnePage()
    {
        TGmPreview preview;
        TRxRichEdit editor;
        QList<int> starts { 5, 6 };
        RichTextPagination::Repaginate(preview, editor, starts);
        QCOMPARE(preview.PageCount(), 1);
        QCOMPARE(starts, QList<int> { 0 });
        QCOMPARE(preview.CurrentPage(), 1);
        QVERIFY(pictureOf(preview, 1));
        QVERIFY(!preview.PageList().Updating());
    }

    void onePicturePerPageWithRisingStartsAndFrameEqualToTarget()
    {
        TGmPreview preview;
        RichTextPagination::ApplyPrintLayout(preview, PageMarginsMm {});
        TRxRichEdit editor;
        fill(editor, 60);
        QList<int> starts;
        RichTextPagination::Repaginate(preview, editor, starts);
        QVERIFY(preview.PageCount() > 3);
        QCOMPARE(starts.size(), preview.PageCount());
        QCOMPARE(starts.first(), 0);
        for (int i = 1; i < starts.size(); ++i)
            QVERIFY2(starts[i] > starts[i - 1], qPrintable(QString::number(i)));
        QVERIFY(starts.last() < editor.textLength());
        const PageTextGeometry g = PageTextGeometry::of(preview);
        QCOMPARE(editor.pageRect(), QRect(0, 0, g.widthTwips, g.heightTwips));
        for (int p = 1; p <= preview.PageCount(); ++p) {
            TGmGraphicObject *object = pictureOf(preview, p);
            QVERIFY(object);
            // The picture's frame and its place on the page are the same rectangle.
            const QRect frame = object->Graphic()->boundingRect();
            const double targetWidth = (object->Right() - object->Left()) * 1440;
            const double targetHeight = (object->Bottom() - object->Top()) * 1440;
            QVERIFY(qAbs(targetWidth - frame.width() * 1440.0 / object->Graphic()->logicalDpiX()) < 1e-6);
            QVERIFY(qAbs(targetHeight - frame.height() * 1440.0 / object->Graphic()->logicalDpiY()) < 1e-6);
            QVERIFY(qAbs(targetWidth - g.widthTwips) < 15);
            QVERIFY(qAbs(targetHeight - g.heightTwips) < 15);
            QVERIFY(qAbs(object->Left() * 1440 - g.leftTwips) < 1e-6);
            QVERIFY(qAbs(object->Top() * 1440 - g.topTwips) < 1e-6);
        }
    }

    void textEndingAtPageEndAddsNoPage()
    {
        TGmPreview preview;
        TRxRichEdit editor;
        fill(editor, 40);
        QList<int> starts;
        RichTextPagination::Repaginate(preview, editor, starts);
        QVERIFY(starts.size() >= 2);
        // Cut the text just before the paragraph break ahead of page 2's first paragraph start, so
        // the text ends with page 1's last line.
        const QTextBlock second = editor.document()->findBlock(starts[1]);
        QTextCursor c(editor.document());
        int end = starts[1];
        if (second.position() == starts[1])
            end = starts[1] - 1; // the paragraph break that ended page 1
        c.setPosition(end);
        c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        RichTextPagination::Repaginate(preview, editor, starts);
        QCOMPARE(preview.PageCount(), 1);
        QCOMPARE(starts, QList<int> { 0 });
    }

    void pageBreakBeforeStartsAPage()
    {
        TGmPreview preview;
        TRxRichEdit editor;
        editor.setPlainText(QStringLiteral("one\ntwo\nthree\nfour"));
        QTextCursor c(editor.document()->findBlockByNumber(2));
        QTextBlockFormat f;
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        c.mergeBlockFormat(f);
        QList<int> starts;
        RichTextPagination::Repaginate(preview, editor, starts);
        QCOMPARE(starts, (QList<int> { 0, editor.document()->findBlockByNumber(2).position() }));
    }

    void currentPageFollowsTheDocumentsLength()
    {
        TGmPreview preview;
        TRxRichEdit editor;
        fill(editor, 150);
        QList<int> starts;
        RichTextPagination::Repaginate(preview, editor, starts);
        const int pages = preview.PageCount();
        QVERIFY(pages >= 7);
        preview.GotoPage(7);
        // Shrink to about half the pages.
        QTextCursor c(editor.document());
        c.setPosition(starts[pages / 2]);
        c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        RichTextPagination::Repaginate(preview, editor, starts);
        QVERIFY(preview.PageCount() < 7);
        QCOMPARE(preview.CurrentPage(), preview.PageCount());
        // Grow again: the current page stays.
        preview.GotoPage(4);
        fill(editor, 60);
        RichTextPagination::Repaginate(preview, editor, starts);
        QVERIFY(preview.PageCount() > 7);
        QCOMPARE(preview.CurrentPage(), 4);
    }

    void hiddenTextIsLeftOutButCounted()
    {
        TGmPreview preview;
        TRxRichEdit editor;
        fill(editor, 30);
        QList<int> visible;
        RichTextPagination::Repaginate(preview, editor, visible);
        // Hide a long run at the start: the pages after it start later in the text's numbering.
        TRxRichEdit hidden;
        copyText(hidden, editor);
        QTextCursor c(hidden.document());
        c.insertText(QString(500, u'x') + u' ');
        c.setPosition(0);
        c.setPosition(501, QTextCursor::KeepAnchor);
        QTextCharFormat f;
        f.setProperty(RichText::Hidden, true);
        c.mergeCharFormat(f);
        QList<int> starts;
        TGmPreview other;
        RichTextPagination::Repaginate(other, hidden, starts);
        QCOMPARE(starts.size(), visible.size());
        for (int i = 1; i < starts.size(); ++i)
            QCOMPARE(starts[i], visible[i] + 501);
    }

    void editsGiveTheSamePagesAsAFreshRun_data()
    {
        QTest::addColumn<int>("script");
        QTest::newRow("typing in the middle") << 0;
        QTest::newRow("new paragraph near the start") << 1;
        QTest::newRow("paragraphs joined") << 2;
        QTest::newRow("paragraph format") << 3;
        QTest::newRow("list items added and removed") << 4;
        QTest::newRow("text deleted across pages") << 5;
        QTest::newRow("hidden text") << 6;
        QTest::newRow("undo") << 7;
        QTest::newRow("whole text replaced") << 8;
    }

    void editsGiveTheSamePagesAsAFreshRun()
    {
        QFETCH(int, script);
        TGmPreview preview;
        TRxRichEdit editor;
        fill(editor, 50);
        // A numbered list in the middle whose numbers shift with edits above.
        {
            QTextCursor c(editor.document()->findBlockByNumber(20));
            QTextListFormat lf;
            lf.setStyle(QTextListFormat::ListDecimal);
            QTextList *list = c.createList(lf);
            for (int b = 21; b < 30; ++b)
                list->add(editor.document()->findBlockByNumber(b));
        }
        RichTextPagination pagination(preview, editor);
        pagination.run();
        QTextDocument *doc = editor.document();
        auto at = [&](int block, int offset) {
            QTextCursor c(doc);
            c.setPosition(doc->findBlockByNumber(block).position() + offset);
            return c;
        };
        for (int round = 0; round < 3; ++round) {
            switch (script) {
            case 0:
                at(25, 7).insertText(QStringLiteral(" more words typed here"));
                break;
            case 1: {
                QTextCursor c = at(1, 3);
                c.insertBlock();
                c.insertText(QStringLiteral("a new line"));
                break;
            }
            case 2: {
                QTextCursor c = at(10 + round, 0);
                c.deletePreviousChar();
                break;
            }
            case 3: {
                QTextCursor c = at(5, 0);
                QTextBlockFormat f;
                f.setLeftMargin(40 + round * 10);
                f.setBottomMargin(12);
                c.mergeBlockFormat(f);
                break;
            }
            case 4: {
                QTextCursor c = at(24, 0);
                c.movePosition(QTextCursor::EndOfBlock);
                c.insertBlock();
                c.insertText(QStringLiteral("inserted item"));
                QTextCursor d = at(21, 0);
                if (QTextList *list = d.block().textList())
                    list->remove(d.block());
                break;
            }
            case 5: {
                QTextCursor c = at(8, 5);
                c.setPosition(doc->findBlockByNumber(19).position() + 4, QTextCursor::KeepAnchor);
                c.removeSelectedText();
                break;
            }
            case 6: {
                QTextCursor c = at(12, 3);
                c.setPosition(c.position() + 40, QTextCursor::KeepAnchor);
                QTextCharFormat f;
                f.setProperty(RichText::Hidden, round % 2 == 0);
                c.mergeCharFormat(f);
                break;
            }
            case 7:
                at(30, 2).insertText(QStringLiteral("undone later"));
                editor.document()->undo();
                break;
            case 8:
                editor.setPlainText(QStringLiteral("short\ntext"));
                fill(editor, 10 + round);
                break;
            }
            pagination.run();
            const Pages incremental = pagesOf(preview, pagination.pageStarts());
            const Pages fresh = freshRun(editor);
            QCOMPARE(incremental.starts, fresh.starts);
            QCOMPARE(incremental.pictures.size(), fresh.pictures.size());
            for (int p = 0; p < fresh.pictures.size(); ++p)
                QVERIFY2(
                    incremental.pictures[p] == fresh.pictures[p], qPrintable(QStringLiteral("page %1").arg(p + 1)));
        }
    }

    void backgroundRunReachesTheSamePages()
    {
        TGmPreview preview;
        TRxRichEdit editor;
        fill(editor, 80);
        RichTextPagination pagination(preview, editor);
        pagination.run();
        QVERIFY(pagination.upToDate());
        QTextCursor c(editor.document()->findBlockByNumber(3));
        for (int i = 0; i < 5; ++i) {
            c.insertText(QStringLiteral("typed "));
            pagination.schedule();
            QVERIFY(!pagination.upToDate());
            QCoreApplication::processEvents();
        }
        QTRY_VERIFY(pagination.upToDate());
        const Pages background = pagesOf(preview, pagination.pageStarts());
        const Pages fresh = freshRun(editor);
        QCOMPARE(background.starts, fresh.starts);
        QCOMPARE(background.pictures, fresh.pictures);
        // Typing on page 1 re-records only the pages whose lines moved, never more than all.
        QVERIFY(pagination.picturesRecorded() <= qint64(fresh.starts.size()) * 3);
    }

    void runsNeverOverlapAndCloseTheirBracket()
    {
        TGmPreview preview;
        TRxRichEdit editor;
        fill(editor, 40);
        RichTextPagination pagination(preview, editor);
        int nested = 0;
        bool edited = false;
        // Events that run between pages type into the text and ask for more runs.
        QTimer typing;
        typing.setInterval(0);
        connect(&typing, &QTimer::timeout, this, [&] {
            if (!pagination.running() || edited)
                return;
            edited = true;
            QTextCursor c(editor.document());
            c.insertText(QStringLiteral("typed during the run "));
            pagination.run();
            pagination.schedule();
            ++nested;
        });
        typing.start();
        pagination.run();
        typing.stop();
        QCOMPARE(nested, 1);
        QVERIFY(!preview.PageList().Updating());
        QTRY_VERIFY(pagination.upToDate());
        const Pages pages = pagesOf(preview, pagination.pageStarts());
        const Pages fresh = freshRun(editor);
        QCOMPARE(pages.starts, fresh.starts);
        QCOMPARE(pages.pictures, fresh.pictures);
    }

    void rangesAndReversedRanges()
    {
        QCOMPARE(PagePrinting::RangeNumbers(5, 2), (QList<int> { 5, 4, 3, 2 }));
        QCOMPARE(PagePrinting::RangeNumbers(3, 3), (QList<int> { 3 }));
        QCOMPARE(PagePrinting::RangeNumbers(1, 4), (QList<int> { 1, 2, 3, 4 }));
    }

    void printingWithoutPrinterSaysSoAndStaysReady()
    {
        ScriptedDialogs &dialogs = ScriptedDialogs::installed();
        dialogs.reset();
        TGmPreview preview;
        preview.AddPage();
        dialogs.answerMessage(Dialogs::Ok);
        QVERIFY(!preview.PrintAll());
        QCOMPARE(dialogs.lastMessage(), QStringLiteral("Unable to print... No Printer available."));
        QVERIFY(!preview.GmPrinter().Printing());
        QVERIFY(!preview.PageList().Updating());
        QCOMPARE(dialogs.unexpectedCount(), 0);
    }
};

LUMARO_TEST_CLASS(tst_Pagination)
#include "tst_pagination.moc"
