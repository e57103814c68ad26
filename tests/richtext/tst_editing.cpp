#include "editor/richtext/RxRichEdit.h"
#include "tests/support/TestMain.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QMimeData>
#include <QPicture>
#include <QTextBlock>

class tst_Editing : public QObject
{
    Q_OBJECT

private slots:
    void undoTypesFollowTheEdits()
    {
        TRxRichEdit e;
        e.show();
        QCOMPARE(e.undoType(), 0);
        QTest::keyClicks(&e, QStringLiteral("hello world"));
        QCOMPARE(e.undoType(), int(TRxRichEdit::UndoTyping));
        QTest::keyClick(&e, Qt::Key_Backspace);
        QCOMPARE(e.undoType(), int(TRxRichEdit::UndoDelete));
        e.setSelection(0, 5);
        e.cut();
        QCOMPARE(e.undoType(), int(TRxRichEdit::UndoCut));
        e.setSelection(e.textLength(), 0);
        e.paste();
        QCOMPARE(e.textRange(0, 100), QStringLiteral(" worlhello"));
        QCOMPARE(e.undoType(), int(TRxRichEdit::UndoPaste));
        // Dropping text.
        auto *mime = new QMimeData;
        mime->setText(QStringLiteral("!"));
        QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(e.viewport(), &enter);
        QDragMoveEvent move(QPoint(2, 2), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(e.viewport(), &move);
        QDropEvent drop(QPointF(2, 2), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(e.viewport(), &drop);
        QCOMPARE(e.undoType(), int(TRxRichEdit::UndoDragDrop));
        delete mime;
        // Undo moves the kinds to the redo side, in order.
        e.undo();
        QCOMPARE(e.redoType(), int(TRxRichEdit::UndoDragDrop));
        QCOMPARE(e.undoType(), int(TRxRichEdit::UndoPaste));
        e.undo();
        QCOMPARE(e.redoType(), int(TRxRichEdit::UndoPaste));
        QCOMPARE(e.undoType(), int(TRxRichEdit::UndoCut));
        e.redo();
        QCOMPARE(e.undoType(), int(TRxRichEdit::UndoPaste));
        QCOMPARE(e.redoType(), int(TRxRichEdit::UndoDragDrop));
        // A new edit drops the redo steps; emptying the buffer forgets everything.
        QTest::keyClicks(&e, QStringLiteral("z"));
        QCOMPARE(e.redoType(), 0);
        QCOMPARE(e.undoType(), int(TRxRichEdit::UndoTyping));
        e.setModified(true);
        e.emptyUndoBuffer();
        QCOMPARE(e.undoType(), 0);
        QVERIFY(!e.document()->isUndoAvailable());
        QVERIFY(e.isModified());
    }

    void findText_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("options");
        QTest::addColumn<int>("found");
        QTest::newRow("first") << QStringLiteral("cat") << 0 << -1 << 0 << 4;
        QTest::newRow("from inside") << QStringLiteral("cat") << 5 << -1 << 0 << 9;
        QTest::newRow("whole word") << QStringLiteral("cat") << 5 << -1 << int(TRxRichEdit::FindWholeWord) << 24;
        QTest::newRow("match case") << QStringLiteral("CAT") << 0 << -1 << int(TRxRichEdit::FindMatchCase) << 24;
        QTest::newRow("backward") << QStringLiteral("cat") << 0 << 22 << int(TRxRichEdit::FindBackward) << 18;
        QTest::newRow("outside the range") << QStringLiteral("cat") << 0 << 6 << 0 << -1;
        QTest::newRow("missing") << QStringLiteral("dog") << 0 << -1 << 0 << -1;
        QTest::newRow("across a paragraph") << QStringLiteral("cats.\r\nCAT") << 0 << -1 << 0 << 18;
    }
    void findText()
    {
        QFETCH(QString, pattern);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(int, options);
        QFETCH(int, found);
        TRxRichEdit e;
        e.setPlainText(QTest::currentDataTag() == QByteArray("across a paragraph") ? QStringLiteral("The cat scattered cats.\nCAT")
                                                                                      : QStringLiteral("The cat scattered cats. CAT"));
        QSignalSpy notFound(&e, &TRxRichEdit::textNotFound);
        QCOMPARE(e.findText(pattern, start, length, TRxRichEdit::FindOptions(options), true), found);
        QCOMPARE(notFound.size(), found < 0 ? 1 : 0);
        if (found >= 0) {
            QCOMPARE(e.selStart(), found);
            QCOMPARE(e.selLength(), e.textCursor().selectionEnd() - found);
        }
    }

    void zoomScalesTheLayout()
    {
        TRxRichEdit e;
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        e.setPlainText(QStringLiteral("zoomed text"));
        const qreal normal = e.document()->documentLayout()->blockBoundingRect(e.document()->firstBlock()).height();
        e.setZoom(2, 1);
        QCOMPARE(e.zoomFactor(), 2.0);
        const qreal zoomed = e.document()->documentLayout()->blockBoundingRect(e.document()->firstBlock()).height();
        QVERIFY2(zoomed > normal * 1.8 && zoomed < normal * 2.2, qPrintable(QStringLiteral("%1 %2").arg(normal).arg(zoomed)));
        e.setZoom(0, 0);
        QCOMPARE(e.zoomFactor(), 1.0);
        QCOMPARE(e.document()->documentLayout()->blockBoundingRect(e.document()->firstBlock()).height(), normal);
    }

    void picturesTravelThroughTheClipboard()
    {
        TRxRichEdit source;
        QPicture picture;
        {
            QPainter p(&picture);
            p.fillRect(QRect(0, 0, 40, 20), Qt::blue);
        }
        source.insertPicture(picture);
        source.setSelection(0, 1);
        QVERIFY(source.isSelectionOneObject());
        source.copy();
        const QMimeData *data = QApplication::clipboard()->mimeData();
        QVERIFY(data->hasImage());
        QVERIFY(data->hasFormat(TRxRichEdit::pictureMimeType()));
        TRxRichEdit target;
        QVERIFY(target.canPasteFromClipboard());
        target.paste();
        QCOMPARE(target.textLength(), 1);
        target.setSelection(0, 1);
        QVERIFY(target.isSelectionOneObject());
        QCOMPARE(target.undoType(), int(TRxRichEdit::UndoPaste));
    }

    void richTextTravelsThroughTheClipboard()
    {
        TRxRichEdit source;
        source.setPlainText(QStringLiteral("plain bold red"));
        source.setSelection(6, 4);
        source.selAttributes().setStyle(TRxTextAttributes::Bold);
        source.setSelection(11, 3);
        source.selAttributes().setColor(QColor(Qt::red));
        source.setSelection(6, 8);
        source.copy();
        QVERIFY(QApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("text/rtf")));
        TRxRichEdit target;
        target.setPlainText(QStringLiteral("[]"));
        target.setSelection(1, 0);
        target.paste();
        QCOMPARE(target.textRange(0, 100), QStringLiteral("[bold red]"));
        target.setSelection(1, 4);
        QVERIFY(target.selAttributes().style() & TRxTextAttributes::Bold);
        target.setSelection(6, 3);
        QCOMPARE(target.selAttributes().color(), QColor(Qt::red));
        QVERIFY(!(target.selAttributes().style() & TRxTextAttributes::Bold));
    }

    void selectionChangesAreReportedOnce()
    {
        TRxRichEdit e;
        e.setPlainText(QStringLiteral("abc def"));
        QSignalSpy spy(&e, &TRxRichEdit::caretOrSelectionChanged);
        e.setSelection(1, 3);
        QCOMPARE(spy.size(), 1);
        e.setSelection(1, 3);
        QCOMPARE(spy.size(), 1);
        // A detached handler hears nothing until re-attached.
        QSignalBlocker blocker(&e);
        e.setSelection(0, 0);
        QCOMPARE(spy.size(), 1);
    }

    void clickingAUrlInTheTextReportsTheLink()
    {
        TRxRichEdit e;
        e.resize(400, 200);
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        e.setPlainText(QStringLiteral("see www.example.org today"));
        QSignalSpy clicked(&e, &TRxRichEdit::linkClicked);
        QTextCursor at(e.document());
        at.setPosition(8);
        const QPoint p = e.cursorRect(at).center();
        QTest::mouseClick(e.viewport(), Qt::LeftButton, Qt::NoModifier, p);
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.first().first().toString(), QStringLiteral("http://www.example.org"));
        at.setPosition(1);
        QTest::mouseClick(e.viewport(), Qt::LeftButton, Qt::NoModifier, e.cursorRect(at).center());
        QCOMPARE(clicked.size(), 1);
    }
};

LUMARO_TEST_CLASS(tst_Editing)
#include "tst_editing.moc"
