#include "editor/ExportPageStrip.h"
#include "editor/PageViewHost.h"
#include "editor/PageViews.h"
#include "editor/richtext/RxRichEdit.h"
#include "pages/DocumentPrinting.h"
#include "pages/GmPreview.h"
#include "pages/GmThumbnail.h"
#include "pages/GmThumbnails.h"
#include "pages/RichTextPagination.h"
#include "tests/support/TestMain.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QScreen>
#include <QTextCursor>
#include <QToolButton>

namespace {

class FakeHost : public PageViewHost
{
public:
    TRxRichEdit editor;
    bool fullWidth = false;
    PageMarginsMm margins { 25, 15, 25, 15 };
    int pointerAsked = 0;
    QList<QList<bool>> changes;
    QList<bool> savedViews { false, false, false };
    int savedMouse = -1;

    TRxRichEdit &pageViewEditor() override { return editor; }
    bool fullWidthOutlineLayout() const override { return fullWidth; }
    PageMarginsMm optionMargins() const override { return margins; }
    void pageViewsChanged(bool print, bool pdf, bool image) override { changes << QList<bool> { print, pdf, image }; }
    void saveViewSettings(bool print, bool pdf, bool image) override { savedViews = { print, pdf, image }; }
    void saveMouseRepositioning(bool disabled) override { savedMouse = disabled ? 1 : 0; }
    QPoint thumbnailPointerPosition() const override
    {
        ++const_cast<FakeHost *>(this)->pointerAsked;
        return QPoint(10, 10);
    }
};

void fill(TRxRichEdit &editor, int paragraphs)
{
    QTextCursor c(editor.document());
    c.beginEditBlock();
    for (int p = 0; p < paragraphs; ++p) {
        if (p)
            c.insertBlock();
        QString text = QStringLiteral("Paragraph %1:").arg(p);
        for (int w = 0; w < 60; ++w)
            text += QStringLiteral(" ipsum");
        c.insertText(text);
    }
    c.endEditBlock();
}

struct Views
{
    FakeHost host;
    QWidget window;
    PageViews views { host, &window };

    Views()
    {
        host.editor.setParent(&window);
        window.resize(900, 700);
        host.editor.setGeometry(200, 0, 500, 700);
    }
    ~Views() { host.editor.setParent(nullptr); }
};

} // namespace

class tst_PageViews : public QObject
{
    Q_OBJECT

private slots:
    void init() { ScriptedDialogs::installed().reset(); }

    void printViewPaginatesWithTheOptionsMarginsAndSavesTheSetting()
    {
        Views v;
        fill(v.host.editor, 40);
        v.views.PrintViewClick();
        QVERIFY(v.views.printView());
        QVERIFY(!v.views.GmThumbnails1()->isHidden());
        QVERIFY(!v.views.Image4()->isHidden());
        QCOMPARE(v.views.lblViewMode()->text(), QStringLiteral("Print Mode"));
        QVERIFY(v.views.GmPreview1()->PageCount() > 2);
        QCOMPARE(v.views.pageStarts().size(), v.views.GmPreview1()->PageCount());
        QCOMPARE(v.views.GmThumbnails1()->ThumbnailCount(), v.views.GmPreview1()->PageCount());
        QCOMPARE(qRound(v.views.GmPreview1()->Margins().Left().AsMillimeters()), 15);
        QCOMPARE(qRound(v.views.GmPreview1()->Margins().Top().AsMillimeters()), 25);
        QCOMPARE(v.host.savedViews, (QList<bool> { true, false, false }));
        QCOMPARE(v.host.changes.last(), (QList<bool> { true, false, false }));

        // Off and on again: the same page is shown again.
        v.views.GmPreview1()->GotoPage(3);
        v.views.PrintViewClick();
        QVERIFY(v.views.GmThumbnails1()->isHidden());
        QCOMPARE(v.host.savedViews, (QList<bool> { false, false, false }));
        v.views.PrintViewClick();
        QCOMPARE(v.views.GmPreview1()->CurrentPage(), 3);

        // Nothing happens in the full-width outline layout.
        v.host.fullWidth = true;
        v.views.PrintViewClick();
        QVERIFY(v.views.printView());
    }

    void thumbnailClickSelectsThePagesFirstCharacter()
    {
        Views v;
        fill(v.host.editor, 40);
        v.views.PrintViewClick();
        TGmThumbnails *strip = v.views.GmThumbnails1();
        QVERIFY(strip->ThumbnailCount() >= 3);
        QTest::mouseClick(strip->Thumbnail(2), Qt::LeftButton);
        QCOMPARE(v.views.GmPreview1()->CurrentPage(), 3);
        QCOMPARE(v.host.editor.selStart(), v.views.pageStarts().at(2));
        QCOMPARE(v.host.editor.selLength(), 1);

        // With the follow flag off (the mouse over the text) a page change leaves the text alone.
        v.host.editor.setSelection(0, 0);
        v.views.setFollowThumbnail(false);
        v.views.GmPreview1()->GotoPage(2);
        QCOMPARE(v.host.editor.selStart(), 0);
    }

    void paperAndOrientationCommands()
    {
        Views v;
        fill(v.host.editor, 40);
        v.views.PrintViewClick();
        TGmPreview *preview = v.views.GmPreview1();
        auto checked = [&](const char *name) {
            for (QAction *a : v.views.paperActions())
                if (a->objectName() == QLatin1String(name))
                    return a->isChecked();
            return false;
        };
        QVERIFY(checked("A4"));
        QVERIFY(checked("Portrait"));
        QCOMPARE(v.views.paperActions().size(), 9);

        v.views.PaperSizeClick(Envelope_10);
        QCOMPARE(preview->PaperSize(), Envelope_10);
        QCOMPARE(preview->Orientation(), gmLandscape);
        QVERIFY(RichTextPagination::IsExportLayout(*preview));
        QVERIFY(checked("Envelope_10") && !checked("A4"));
        QVERIFY(checked("Landscape") && !checked("Portrait"));
        QCOMPARE(v.views.GmThumbnails1()->toolTip(), QStringLiteral("Print Preview - Envelope_10 Paper"));
        const QTextCursor before = v.host.editor.textCursor();

        // A4 afterwards: the options' margins again, still landscape.
        v.views.PaperSizeClick(A4);
        QCOMPARE(preview->PaperSize(), A4);
        QCOMPARE(preview->Orientation(), gmLandscape);
        QCOMPARE(qRound(preview->Margins().Left().AsMillimeters()), 15);
        QCOMPARE(v.views.GmThumbnails1()->toolTip(), QStringLiteral("Print Preview - A4 Paper"));
        // A paper change never scrolls the text.
        QCOMPARE(v.host.editor.textCursor().position(), before.position());

        const int landscapePages = preview->PageCount();
        v.views.PortraitClick();
        QCOMPARE(preview->Orientation(), gmPortrait);
        QVERIFY(preview->PageCount() < landscapePages);
        QVERIFY(checked("Portrait"));
        // Choosing the checked item again changes nothing.
        v.views.PortraitClick();
        QCOMPARE(preview->Orientation(), gmPortrait);

        // The paper items run the same commands.
        for (QAction *a : v.views.paperActions())
            if (a->objectName() == QLatin1String("Letter"))
                a->trigger();
        QCOMPARE(preview->PaperSize(), Letter);
        QVERIFY(checked("Letter"));
    }

    void mouseRepositioningSettingAndKeyUp()
    {
        Views v;
        fill(v.host.editor, 10);
        v.views.PrintViewClick();
        QKeyEvent space(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QCoreApplication::sendEvent(&v.host.editor, &space);
        QCOMPARE(v.host.pointerAsked, 1);
        QVERIFY(v.views.pagination().pending());
        QTRY_VERIFY(v.views.pagination().upToDate());

        v.views.MouseRepositioningClick();
        QVERIFY(v.views.mouseRepositioningDisabled());
        QCOMPARE(v.host.savedMouse, 1);
        v.host.editor.textCursor().insertText(QStringLiteral("more "));
        QCoreApplication::sendEvent(&v.host.editor, &space);
        QCOMPARE(v.host.pointerAsked, 1);
        QTRY_VERIFY(v.views.pagination().upToDate());

        // Other keys do not refresh.
        QKeyEvent letter(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QCoreApplication::sendEvent(&v.host.editor, &letter);
        QVERIFY(!v.views.pagination().pending());
    }

    void exportViewsLayOutLikeTheExports()
    {
        // At 96 and at 120 pixels per inch.
        const QRect pdf96 = ExportPageStrip::layoutRectTwips(ExportPageStrip::Mode::Pdf, 96, 96);
        QCOMPARE(QList<int>({ pdf96.left(), pdf96.top(), pdf96.right() + 1, pdf96.bottom() + 1 }),
            QList<int>({ 300, 300, 10395, 14250 }));
        const QRect image96 = ExportPageStrip::layoutRectTwips(ExportPageStrip::Mode::Image, 96, 96);
        QCOMPARE(QList<int>({ image96.left(), image96.top(), image96.right() + 1, image96.bottom() + 1 }),
            QList<int>({ 300, 300, 10095, 13950 }));
        const QRect pdf120 = ExportPageStrip::layoutRectTwips(ExportPageStrip::Mode::Pdf, 120, 120);
        QCOMPARE(QList<int>({ pdf120.left(), pdf120.top(), pdf120.right() + 1, pdf120.bottom() + 1 }),
            QList<int>({ 240, 240, 8316, 11400 }));

        Views v;
        fill(v.host.editor, 40);
        v.views.PdfViewClick();
        QVERIFY(v.views.pdfView());
        QVERIFY(!v.views.ScrollBox1()->isHidden());
        QVERIFY(v.views.GmThumbnails1()->isHidden());
        QCOMPARE(v.views.lblViewMode()->text(), QStringLiteral("PDF Mode"));
        QCOMPARE(v.views.Image3()->toolTip(), QStringLiteral("PDF View"));
        QCOMPARE(v.host.savedViews, (QList<bool> { false, true, false }));
        ExportPageStrip *strip = v.views.Image3();
        const int pages = int(strip->pages().size());
        QVERIFY(pages > 2);
        QCOMPARE(strip->height(), 190 + 180 * (pages - 1));
        QCOMPARE(strip->pages()[1].frame, QRect(QPoint(10, 195), QPoint(125, 360)));

        // A click on page 2 selects its first character and highlights it.
        QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(60, 250));
        QCOMPARE(v.host.editor.selStart(), strip->pages()[1].firstChar);
        QCOMPARE(v.host.editor.selLength(), 1);
        QCOMPARE(strip->highlightedPage(), 2);
        // Below the last frame nothing happens.
        v.host.editor.setSelection(0, 0);
        QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(60, strip->height() - 2));
        QCOMPARE(v.host.editor.selStart(), 0);
        QCOMPARE(strip->highlightedPage(), 2);

        // The image view is the other export view.
        v.views.ImageViewClick();
        QVERIFY(v.views.imageView() && !v.views.pdfView());
        QCOMPARE(v.views.lblViewMode()->text(), QStringLiteral("Image Mode"));
        QCOMPARE(v.host.savedViews, (QList<bool> { false, false, true }));
        QVERIFY(int(strip->pages().size()) >= pages);
        const QScreen *screen = QGuiApplication::primaryScreen();
        QCOMPARE(v.host.editor.pageRect(),
            ExportPageStrip::layoutRectTwips(
                ExportPageStrip::Mode::Image, int(screen->logicalDotsPerInchX()), int(screen->logicalDotsPerInchY())));

        // The strip paints its rows: desk, shadow, white frame with the page's text, page number.
        QImage shot(ExportPageStrip::StripWidth, 360, QImage::Format_RGB32);
        strip->render(&shot, QPoint(), QRegion(0, 0, ExportPageStrip::StripWidth, 360));
        QCOMPARE(QColor(shot.pixel(3, 3)), ExportPageStrip::Background);
        QCOMPARE(QColor(shot.pixel(127, 100)), QColor(0x80, 0x80, 0x80));
        QCOMPARE(QColor(shot.pixel(12, 172)), QColor(Qt::white));
        int dark = 0;
        for (int y = 20; y < 60; ++y)
            for (int x = 17; x < 117; ++x)
                dark += qGray(shot.pixel(x, y)) < 160;
        QVERIFY(dark > 20); // text of page 1
    }

    void printAllWithTheStripPrintsCurrentPagesWithoutDialog()
    {
        Views v;
        fill(v.host.editor, 10);
        v.views.PrintViewClick();
        v.host.editor.moveCursor(QTextCursor::End);
        fill(v.host.editor, 30);
        QVERIFY(!v.views.pagination().upToDate());
        ScriptedDialogs &dialogs = ScriptedDialogs::installed();
        dialogs.answerMessage(Dialogs::Ok);
        DocumentPrinting::Context context;
        context.editor = &v.host.editor;
        context.preview = v.views.GmPreview1();
        context.documentPath = QStringLiteral("/tmp/letter.rtf");
        context.stripVisible = true;
        context.updatePages = [&] { v.views.UpdatePrintPages(); };
        DocumentPrinting::Print(context, true);
        // No printer in the tests: the preview's pages were brought up to date and then refused.
        QVERIFY(v.views.pagination().upToDate());
        QCOMPARE(dialogs.lastMessage(), QStringLiteral("Unable to print... No Printer available."));
        QCOMPARE(v.views.GmPreview1()->GmPrinter().Title(), QStringLiteral("letter.rtf"));
        QCOMPARE(dialogs.unexpectedCount(), 0);

        // The menu item goes through the print dialog even with the strip showing.
        dialogs.reset();
        dialogs.answerPrint(std::nullopt);
        DocumentPrinting::Print(context, false);
        QCOMPARE(dialogs.shown().size(), 1);
        QCOMPARE(dialogs.shown().first().kind, ScriptedDialogs::Kind::Print);
        QCOMPARE(dialogs.unexpectedCount(), 0);
    }

    void directPrintingPageRectangle_data()
    {
        QTest::addColumn<double>("margin");
        QTest::addColumn<int>("ppi");
        QTest::addColumn<QRect>("expected");
        const int pw = 4800;
        const int ph = 6600;
        QTest::newRow("12.7 mm at 600") << 12.7 << 600 << QRect(QPoint(240, 192), QPoint(pw - 240 - 1, ph - 240 - 1));
        QTest::newRow("5 mm at 600") << 5.0 << 600 << QRect(QPoint(240, 240), QPoint(pw - 240 - 1, ph - 240 - 1));
        QTest::newRow("12.7 mm at 300") << 12.7 << 300 << QRect(QPoint(120, 96), QPoint(pw - 120 - 1, ph - 120 - 1));
    }

    void directPrintingPageRectangle()
    {
        QFETCH(double, margin);
        QFETCH(int, ppi);
        QFETCH(QRect, expected);
        TGmPreview preview;
        for (TGmValue *v : { &preview.Margins().Left(), &preview.Margins().Top(), &preview.Margins().Right(),
                 &preview.Margins().Bottom() })
            v->SetAsMillimeters(margin);
        QCOMPARE(DocumentPrinting::DirectPageRect(preview.Margins(), 4800, 6600, ppi, ppi), expected);
    }
};

LUMARO_TEST_CLASS(tst_PageViews)
#include "tst_pageviews.moc"
