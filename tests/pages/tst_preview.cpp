#include "pages/GmPaperImage.h"
#include "pages/GmPreview.h"
#include "tests/support/TestMain.h"

#include <QPainter>
#include <QPicture>
#include <QScrollBar>

namespace {

class RecordingCompanion : public TGmPreviewCompanion
{
public:
    void PreviewNotification(TGmPreview *, TGmPreviewNotification notification) override { codes << int(notification); }
    void PreviewDestroyed(TGmPreview *) override { destroyed = true; }
    QList<int> codes;
    bool destroyed = false;
};

QPicture solidPicture(const QColor &color)
{
    QPicture picture;
    QPainter p(&picture);
    p.fillRect(QRect(0, 0, 100, 100), color);
    p.end();
    picture.setBoundingRect(QRect(0, 0, 100, 100));
    return picture;
}

} // namespace

class tst_Preview : public QObject
{
    Q_OBJECT

private slots:
    void startsWithOneA4Page()
    {
        TGmPreview preview;
        QCOMPARE(preview.PageCount(), 1);
        QCOMPARE(preview.CurrentPage(), 1);
        QCOMPARE(preview.Zoom(), 20);
        QCOMPARE(preview.size(), QSize(240, 300));
        QCOMPARE(preview.PaperImage()->Page(), preview.PageList().Pages(1));
        QStringList names;
        TGmPreview::PaperSizeNames(names);
        QCOMPARE(names.size(), 22);
        QCOMPARE(names.at(1), QStringLiteral("A4"));
    }

    void zoomSteps_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("maxZoom");
        QTest::addColumn<int>("minZoom");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("zoomIn");
        QTest::addColumn<int>("expected");
        QTest::newRow("in from 100") << int(gmVariableZoom) << 800 << 5 << 100 << true << 120;
        QTest::newRow("in at 800") << int(gmVariableZoom) << 800 << 5 << 800 << true << 800;
        QTest::newRow("out at 7") << int(gmVariableZoom) << 800 << 5 << 7 << false << 7;
        QTest::newRow("out from 100") << int(gmVariableZoom) << 800 << 5 << 100 << false << 80;
        QTest::newRow("in from 350, max 400") << int(gmVariableZoom) << 400 << 5 << 350 << true << 400;
        QTest::newRow("in between steps") << int(gmVariableZoom) << 800 << 5 << 21 << true << 30;
        QTest::newRow("fixed in") << int(gmFixedZoom) << 800 << 10 << 100 << true << 110;
        QTest::newRow("fixed out, clamped") << int(gmFixedZoom) << 800 << 10 << 15 << false << 10;
    }
    void zoomSteps()
    {
        QFETCH(int, style);
        QFETCH(int, maxZoom);
        QFETCH(int, minZoom);
        QFETCH(int, start);
        QFETCH(bool, zoomIn);
        QFETCH(int, expected);
        TGmPreview preview;
        preview.SetMaxZoom(maxZoom);
        preview.SetMinZoom(minZoom);
        preview.SetZoom(start);
        QCOMPARE(preview.Zoom(), start);
        preview.SetZoomStyle(TGmZoomStyle(style));
        if (zoomIn)
            preview.ZoomIn();
        else
            preview.ZoomOut();
        QCOMPARE(preview.Zoom(), expected);
    }

    void zoomIsClampedAndTheSameZoomChangesNothing()
    {
        TGmPreview preview;
        preview.resize(400, 400);
        preview.SetMinZoom(10);
        preview.SetZoom(3);
        QCOMPARE(preview.Zoom(), 10);
        preview.SetZoom(900);
        QCOMPARE(preview.Zoom(), 400);
        preview.SetZoom(100);
        QScrollBar *v = preview.verticalScrollBar();
        v->setValue(v->maximum() / 3);
        const int before = v->value();
        preview.SetZoom(100);
        QCOMPARE(v->value(), before);
    }

    void fitComputations_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("fitWidth");
        QTest::addColumn<int>("fitHeight");
        QTest::addColumn<int>("fitWhole");
        // 600 x 500 with gutter 20: (600 - 60) / (8.2677 x 96) = 0.680, (500 - 60) / (11.6929 x 96) = 0.391
        QTest::newRow("portrait") << int(gmPortrait) << 600 << 68 << 39 << 39;
        // landscape: (600 - 60) / (11.6929 x 96) = 0.481, (500 - 60) / (8.2677 x 96) = 0.554
        QTest::newRow("landscape") << int(gmLandscape) << 600 << 48 << 55 << 48;
        // a narrow view is clamped by MinZoom 10
        QTest::newRow("narrow") << int(gmPortrait) << 130 << 10 << 39 << 10;
    }
    void fitComputations()
    {
        QFETCH(int, orientation);
        QFETCH(int, width);
        QFETCH(int, fitWidth);
        QFETCH(int, fitHeight);
        QFETCH(int, fitWhole);
        TGmPreview preview;
        preview.SetMinZoom(10);
        preview.SetGutter(20);
        preview.resize(width, 500);
        preview.SetOrientation(TGmOrientation(orientation));
        preview.FitWidth();
        QCOMPARE(preview.Zoom(), fitWidth);
        preview.FitHeight();
        QCOMPARE(preview.Zoom(), fitHeight);
        preview.SetZoom(200);
        preview.FitWholePage();
        QCOMPARE(preview.Zoom(), fitWhole);
    }

    void scrollPercentageIsKeptAcrossAZoom()
    {
        TGmPreview preview;
        preview.resize(400, 300);
        preview.SetZoom(100);
        QScrollBar *h = preview.horizontalScrollBar();
        QScrollBar *v = preview.verticalScrollBar();
        QVERIFY(h->maximum() > 0 && v->maximum() > 0);
        h->setValue(h->maximum() / 2);
        v->setValue(v->maximum() / 4);
        preview.SetZoom(250);
        QVERIFY(qAbs(double(h->value()) / h->maximum() - 0.5) < 0.01);
        QVERIFY(qAbs(double(v->value()) / v->maximum() - 0.25) < 0.01);
        // the ranges are the page plus both gutters
        const QSize page = preview.PaperImage()->PagePixelSize();
        QCOMPARE(v->maximum() + preview.viewport()->height(), page.height() + 60);
        preview.SetZoom(20); // everything fits: no scrolling
        QCOMPARE(v->maximum(), 0);
        QCOMPARE(v->value(), 0);
    }

    void aPageLargerThanTheViewScrollsOverItsWholeWidth()
    {
        // The geometry itself: a page twice the room starts left of its gutter.
        const QRect rect = TGmPaperImage::PageRect(QSize(400, 300), QMargins(30, 30, 30, 30), QSize(800, 200));
        QCOMPARE(rect.left(), 30 + (400 - 60 - 800) / 2);
        QVERIFY(rect.left() < 0);
        QCOMPARE(rect.top(), 30 + (300 - 60 - 200) / 2);

        TGmPreview preview;
        preview.resize(400, 400);
        preview.SetZoom(100);
        QScrollBar *h = preview.horizontalScrollBar();
        TGmPaperImage *paper = preview.PaperImage();
        auto pageInViewport = [&] {
            return QRect(paper->mapTo(preview.viewport(), paper->PageRect().topLeft()), paper->PageRect().size());
        };
        h->setValue(0);
        QCOMPARE(pageInViewport().left(), 30);
        h->setValue(h->maximum());
        QCOMPARE(pageInViewport().left() + pageInViewport().width(), preview.viewport()->width() - 30);
    }

    void keyboardAndWheelScroll()
    {
        TGmPreview preview;
        preview.resize(400, 300);
        preview.SetZoom(100);
        QScrollBar *h = preview.horizontalScrollBar();
        QScrollBar *v = preview.verticalScrollBar();
        QTest::keyClick(&preview, Qt::Key_End);
        QCOMPARE(h->value(), h->maximum());
        QCOMPARE(v->value(), v->maximum());
        QTest::keyClick(&preview, Qt::Key_Home);
        QCOMPARE(h->value(), 0);
        QCOMPARE(v->value(), 0);
        QTest::keyClick(&preview, Qt::Key_PageDown);
        QCOMPARE(v->value(), 80);
        QTest::keyClick(&preview, Qt::Key_Right);
        QCOMPARE(h->value(), 8);
        QTest::keyClick(&preview, Qt::Key_Up);
        QCOMPARE(v->value(), 72);

        QWheelEvent down(QPointF(10, 10), preview.mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, -120), Qt::NoButton,
            Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(preview.viewport(), &down);
        QCOMPARE(v->value(), 80);

        // nothing to scroll: the keys do nothing
        preview.SetZoom(10);
        QTest::keyClick(&preview, Qt::Key_End);
        QCOMPARE(v->value(), 0);
    }

    void panningDragsTheView()
    {
        TGmPreview preview;
        preview.resize(400, 300);
        preview.SetZoom(100);
        QScrollBar *h = preview.horizontalScrollBar();
        QScrollBar *v = preview.verticalScrollBar();
        h->setValue(100);
        v->setValue(100);
        preview.StartPanning(QPoint(200, 150));
        QVERIFY(preview.Panning());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::OpenHandCursor);
        TGmPaperImage *paper = preview.PaperImage();
        const QPoint target = paper->mapFrom(preview.viewport(), QPoint(160, 120));
        QMouseEvent move(QEvent::MouseMove, QPointF(target), paper->mapToGlobal(QPointF(target)), Qt::NoButton,
            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(paper, &move);
        QCOMPARE(h->value(), 140);
        QCOMPARE(v->value(), 130);
        QTest::mouseRelease(
            paper, Qt::LeftButton, Qt::NoModifier, paper->mapFrom(preview.viewport(), QPoint(160, 120)));
        QVERIFY(!preview.Panning());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void mousePositionsAreInchesFromThePageCorner()
    {
        TGmPreview preview;
        preview.resize(900, 1200);
        preview.SetZoom(100);
        TGmPaperImage *paper = preview.PaperImage();
        QSignalSpy down(&preview, &TGmPreview::OnPageMouseDown);
        QSignalSpy mouseDown(&preview, &TGmPreview::OnMouseDown);
        const QPoint corner = paper->PageRect().topLeft();
        QTest::mousePress(paper, Qt::LeftButton, Qt::NoModifier, corner + QPoint(96, 48));
        QCOMPARE(down.count(), 1);
        QCOMPARE(mouseDown.count(), 1);
        QCOMPARE(down.first().at(1).toDouble(), 1.0);
        QCOMPARE(down.first().at(2).toDouble(), 0.5);
        QCOMPARE(paper->LastMousePosition(), QPointF(1.0, 0.5));
        preview.SetZoom(50);
        QCOMPARE(paper->PagePosition(paper->PageRect().topLeft() + QPoint(96, 0)), QPointF(2.0, 0.0));
        QTest::mouseRelease(paper, Qt::LeftButton, Qt::NoModifier, corner);
    }

    void companionsHearOfChangesButNotDuringAnUpdate()
    {
        TGmPreview preview;
        RecordingCompanion companion;
        preview.RegisterCompanion(&companion);
        preview.AddPage();
        QCOMPARE(companion.codes, (QList<int> { gmPageCountChanged, gmPageContentChanged, gmCurrentPageChanged }));
        companion.codes.clear();

        preview.BeginUpdate();
        preview.AddPage();
        preview.Margins().Left().SetAsInches(1);
        preview.GotoPage(1);
        preview.EndUpdate();
        QCOMPARE(
            companion.codes, (QList<int> { gmBeginUpdate, gmPageCountChanged, gmPageContentChanged, gmEndUpdate }));
        companion.codes.clear();

        preview.SetPagesPerSheet(gmFourPage);
        preview.SetPaperSize(Letter);
        preview.Header().SetVisible(true);
        preview.SetOrientation(gmLandscape);
        QCOMPARE(companion.codes,
            (QList<int> { gmPagesPerSheetChanged, gmPageCountChanged, gmPageContentChanged, gmPaperSizeChanged,
                gmRepaint, gmPageCountChanged, gmPageContentChanged, gmOrientationChanged }));
        preview.UnregisterCompanion(&companion);
        companion.codes.clear();
        preview.NextPage();
        QVERIFY(companion.codes.isEmpty());

        auto *other = new TGmPreview;
        RecordingCompanion watcher;
        other->RegisterCompanion(&watcher);
        delete other;
        QVERIFY(watcher.destroyed);
    }

    void pagingGoesThroughTheCurrentPage()
    {
        TGmPreview preview;
        preview.AddPage();
        preview.AddPage();
        QSignalSpy changed(&preview, &TGmPreview::OnPageChanged);
        preview.FirstPage();
        preview.PrevPage();
        QCOMPARE(preview.CurrentPage(), 1);
        preview.NextPage();
        preview.LastPage();
        preview.NextPage();
        preview.GotoPage(0);
        QCOMPARE(preview.CurrentPage(), 3);
        QCOMPARE(changed.count(), 3);
        QCOMPARE(preview.PaperImage()->Page(), preview.PageList().Pages(3));
        preview.DeleteCurrentPage();
        QCOMPARE(preview.PageCount(), 2);
        QCOMPARE(preview.PaperImage()->Page(), preview.PageList().Pages(2));
        preview.Clear();
        QCOMPARE(preview.PageCount(), 1);
        QCOMPARE(preview.PaperImage()->Page(), preview.PageList().Pages(1));
    }

    void renderedPageShowsPictureMarginsAndHeaderWhereTheGeometrySays()
    {
        TGmPreview preview;
        preview.resize(900, 1200);
        preview.SetGutter(20);
        preview.SetZoom(100);
        preview.Margins().SetVisible(true);
        preview.Margins().Left().SetAsInches(1);
        preview.Header().SetVisible(true);
        preview.Header().CaptionCenter().SetCaption(QStringLiteral("HEADER {PAGE}"));
        preview.Canvas().StretchDraw(solidPicture(QColor(0, 0, 255)), gmInches, 2, 3, 4, 5);
        preview.PageList().setClock([] { return QDateTime(QDate(2024, 5, 6), QTime(7, 8)); });

        TGmPaperImage *paper = preview.PaperImage();
        const QImage image = paper->grab().toImage();
        const QRect page = paper->PageRect();
        QCOMPARE(page.size(), QSize(794, 1123));
        QCOMPARE(page.left(), (paper->width() - 794) / 2);

        auto at = [&](double xInches, double yInches) {
            return QColor(image.pixel(page.left() + int(xInches * 96), page.top() + int(yInches * 96)));
        };
        // paper and picture
        QCOMPARE(at(1.5, 2.0), QColor(Qt::white));
        QCOMPARE(at(3.0, 4.0), QColor(0, 0, 255));
        QCOMPARE(at(2.05, 3.05), QColor(0, 0, 255));
        QCOMPARE(at(1.95, 4.0), QColor(Qt::white));
        QCOMPARE(at(4.05, 4.0), QColor(Qt::white));
        // the margin line (silver, dotted) runs down at 1 in from the left
        int silver = 0;
        for (int y = 2 * 96; y < 4 * 96; ++y)
            silver += QColor(image.pixel(page.left() + 96, page.top() + y)) == QColor(0xC0, 0xC0, 0xC0) ? 1 : 0;
        QVERIFY2(silver > 40 && silver < 4 * 96 - 2 * 96, qPrintable(QString::number(silver)));
        // the header caption sits in the header band, centred between the margins
        const double headerBottom = 0.5 + preview.PageList().Header().HeightInches();
        QRect ink;
        for (int y = page.top() + 40; y < page.top() + int(headerBottom * 96) + 3; ++y)
            for (int x = page.left() + 100; x < page.right() - 50; ++x)
                if (qGray(image.pixel(x, y)) < 100)
                    ink |= QRect(x, y, 1, 1);
        QVERIFY(!ink.isEmpty());
        QVERIFY(ink.top() >= page.top() + 48);
        const int middle = page.left() + int((1 + (8.2677 - 0.5)) / 2 * 96);
        QVERIFY2(qAbs(ink.center().x() - middle) < 6,
            qPrintable(QStringLiteral("%1 vs %2").arg(ink.center().x()).arg(middle)));
        // the shadow: black right of the page, desk colour beyond it
        QCOMPARE(QColor(image.pixel(page.right() + 2, page.center().y())), QColor(Qt::black));
        QCOMPARE(QColor(image.pixel(page.right() + 6, page.center().y())), QColor(0xC0, 0xC0, 0xC0));
    }
};

LUMARO_TEST_CLASS(tst_Preview)
#include "tst_preview.moc"
