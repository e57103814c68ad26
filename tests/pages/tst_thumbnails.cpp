#include "pages/GmPreview.h"
#include "pages/GmThumbnail.h"
#include "pages/GmThumbnails.h"
#include "tests/support/TestMain.h"

#include <QMap>
#include <QScrollBar>

#include <memory>

namespace {

struct Fixture
{
    explicit Fixture(int pages)
    {
        preview = std::make_unique<TGmPreview>();
        for (int i = 1; i < pages; ++i)
            preview->AddPage();
        strip = std::make_unique<TGmThumbnails>();
        strip->resize(600, 400);
        strip->SetPreview(preview.get());
    }
    ~Fixture()
    {
        strip.reset();
        preview.reset();
    }
    std::unique_ptr<TGmPreview> preview;
    std::unique_ptr<TGmThumbnails> strip;
};

QPoint placeOf(const TGmThumbnails &strip, int index)
{
    return strip.Thumbnail(index)->property("gmPlace").toPoint();
}

} // namespace

class tst_Thumbnails : public QObject
{
    Q_OBJECT

private slots:
    void oneThumbnailPerPageSizedFromZoomAndGutters()
    {
        Fixture f(3);
        QCOMPARE(f.strip->ThumbnailCount(), 3);
        TGmThumbnail *t = f.strip->Thumbnail(0);
        QCOMPARE(t->Zoom(), 6);
        // A4 at 6 %: 48 x 67 pixels; gutters 8 and, below, 8 + 4 + the caption font's pixel height
        QCOMPARE(t->PagePixelSize(), QSize(48, 67));
        const int captionPixels = f.strip->CaptionFont().pixelSize() > 0
            ? f.strip->CaptionFont().pixelSize()
            : qRound(f.strip->CaptionFont().pointSizeF() * 96 / 72);
        QCOMPARE(t->size(), QSize(48 + 16, 67 + 16 + 4 + captionPixels));
        QCOMPARE(f.strip->SelectedIndex(), 2); // the last added page is current
        QVERIFY(f.strip->Thumbnail(2)->Selected());
        QVERIFY(!t->Selected());
        f.strip->SetShowCaption(false);
        QCOMPARE(f.strip->Thumbnail(0)->height(), 67 + 16);
    }

    void layoutsOverlapNeighboursByOnePixel_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<QList<int>>("rowSizes");
        QTest::newRow("horizontal") << int(gmThumbHorz) << QList<int> { 9 };
        QTest::newRow("vertical") << int(gmThumbVert) << QList<int> { 1, 1, 1, 1, 1, 1, 1, 1, 1 };
        QTest::newRow("grid of 4") << int(gmThumbGrid) << QList<int> { 4, 4, 1 };
    }
    void layoutsOverlapNeighboursByOnePixel()
    {
        QFETCH(int, layout);
        QFETCH(QList<int>, rowSizes);
        Fixture f(9);
        f.strip->SetLayout(TGmThumbNailLayout(layout));
        QMap<int, int> rows;
        for (int i = 0; i < 9; ++i)
            ++rows[placeOf(*f.strip, i).y()];
        QCOMPARE(rows.values(), rowSizes);
        const QSize size = f.strip->Thumbnail(0)->size();
        QCOMPARE(placeOf(*f.strip, 0), QPoint(0, 0));
        if (layout != gmThumbVert)
            QCOMPARE(placeOf(*f.strip, 1), QPoint(size.width() - 1, 0));
        else
            QCOMPARE(placeOf(*f.strip, 1), QPoint(0, size.height() - 1));
        if (layout == gmThumbGrid) {
            QCOMPARE(placeOf(*f.strip, 4), QPoint(0, size.height() - 1));
            QCOMPARE(placeOf(*f.strip, 8), QPoint(0, 2 * (size.height() - 1)));
        }
    }

    void clickingAThumbnailChangesTheCurrentPage()
    {
        Fixture f(5);
        QSignalSpy changed(f.preview.get(), &TGmPreview::OnPageChanged);
        QTest::mouseClick(f.strip->Thumbnail(1), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        QCOMPARE(f.preview->CurrentPage(), 2);
        QCOMPARE(f.strip->SelectedIndex(), 1);
        QVERIFY(f.strip->Thumbnail(1)->Selected());
        QVERIFY(!f.strip->Thumbnail(4)->Selected());
        QCOMPARE(changed.count(), 1);
        // and the other way round: paging the preview moves the mark
        f.preview->LastPage();
        QCOMPARE(f.strip->SelectedIndex(), 4);
        QVERIFY(!f.strip->Thumbnail(1)->Selected());
    }

    void clicksAreIgnoredWhileTheStripIsUpdating()
    {
        Fixture f(4);
        f.preview->FirstPage();
        f.preview->BeginUpdate();
        QVERIFY(f.strip->Updating());
        QTest::mouseClick(f.strip->Thumbnail(2), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        QCOMPARE(f.preview->CurrentPage(), 1);
        // pages added meanwhile appear at the end of the update, in one rebuild
        f.preview->AddPage();
        f.preview->AddPage();
        QCOMPARE(f.strip->ThumbnailCount(), 4);
        f.preview->EndUpdate();
        QVERIFY(!f.strip->Updating());
        QCOMPARE(f.strip->ThumbnailCount(), 6);
        QCOMPARE(f.strip->SelectedIndex(), f.preview->CurrentPage() - 1);
    }

    void stripFollowsPageCountAndPaperSize()
    {
        Fixture f(2);
        f.preview->AddPage();
        QCOMPARE(f.strip->ThumbnailCount(), 3);
        f.preview->DeleteCurrentPage();
        QCOMPARE(f.strip->ThumbnailCount(), 2);
        const int portraitWidth = f.strip->Thumbnail(0)->width();
        f.preview->SetOrientation(gmLandscape);
        QVERIFY(f.strip->Thumbnail(0)->width() > portraitWidth);
        f.preview->SetPaperSize(A5);
        QVERIFY(f.strip->Thumbnail(0)->width() < portraitWidth + 30);
        f.strip->SetPreview(nullptr);
        QCOMPARE(f.strip->ThumbnailCount(), 0);
        f.preview->AddPage();
        QCOMPARE(f.strip->ThumbnailCount(), 0);
    }

    void aDestroyedPreviewIsForgotten()
    {
        auto preview = std::make_unique<TGmPreview>();
        TGmThumbnails strip;
        strip.SetPreview(preview.get());
        QCOMPARE(strip.ThumbnailCount(), 1);
        preview.reset();
        QVERIFY(!strip.Preview());
        QCOMPARE(strip.ThumbnailCount(), 0);
    }

    void captions_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("page3");
        QTest::addColumn<QString>("page12");
        QTest::newRow("default") << "#"
                                 << "3"
                                 << "12";
        QTest::newRow("page") << "Page: #"
                              << "Page: 3"
                              << "Page: 12";
        QTest::newRow("two marks") << "#/#"
                                   << "3/3"
                                   << "12/12";
        QTest::newRow("no mark") << "Sheet"
                                 << "Sheet"
                                 << "Sheet";
    }
    void captions()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, page3);
        QFETCH(QString, page12);
        TGmThumbnails strip;
        strip.SetPageCaptions(pattern);
        QCOMPARE(strip.CaptionFor(3), page3);
        QCOMPARE(strip.CaptionFor(12), page12);
    }

    void contrastColour()
    {
        QCOMPARE(TGmThumbnail::ContrastColor(QColor(0, 0x80, 0xC0)), QColor(255, 255, 0));
        QCOMPARE(TGmThumbnail::ContrastColor(QColor(0x81, 0x80, 0xFF)), QColor(0, 255, 0));
    }

    void highlightStylesMarkTheCurrentPage_data()
    {
        QTest::addColumn<int>("style");
        QTest::newRow("thick") << int(gmThickLine);
        QTest::newRow("thin") << int(gmThinLine);
        QTest::newRow("background") << int(gmBackground);
    }
    void highlightStylesMarkTheCurrentPage()
    {
        QFETCH(int, style);
        Fixture f(2);
        const QColor mark(0, 0x80, 0xC0);
        f.strip->SetSelectedColor(mark);
        f.strip->SetHighlightStyle(TGmHighlightStyle(style));
        TGmThumbnail *selected = f.strip->Thumbnail(1);
        TGmThumbnail *other = f.strip->Thumbnail(0);
        const QImage on = selected->grab().toImage();
        const QImage off = other->grab().toImage();
        const QRect page = selected->PageRect();
        auto colorAt = [](const QImage &image, int x, int y) { return QColor(image.pixel(x, y)); };
        if (style == gmBackground) {
            QCOMPARE(colorAt(on, 2, 2), mark);
            QCOMPARE(colorAt(on, 0, 0), QColor(Qt::black));
            QVERIFY(colorAt(off, 2, 2) != mark);
            // the caption is written in the contrast colour
            bool contrast = false;
            for (int y = page.bottom() + 4; y < on.height() - 1; ++y)
                for (int x = 0; x < on.width(); ++x)
                    contrast = contrast || colorAt(on, x, y) == QColor(255, 255, 0);
            QVERIFY(contrast);
        } else {
            QCOMPARE(colorAt(on, page.left(), page.center().y()), mark);
            QCOMPARE(colorAt(on, page.left() - 1, page.center().y()) == mark, style == gmThickLine);
            QVERIFY(colorAt(off, page.left(), page.center().y()) != mark);
            QCOMPARE(colorAt(on, page.center().x(), page.center().y()), QColor(Qt::white));
        }
    }

    void scrollIntoViewShowsTheCurrentThumbnail()
    {
        Fixture f(30);
        f.strip->resize(300, 130);
        f.preview->FirstPage();
        QScrollBar *h = f.strip->horizontalScrollBar();
        QCOMPARE(h->value(), 0);
        f.preview->LastPage();
        QCOMPARE(h->value(), h->maximum());
        const QRect visible(QPoint(0, 0), f.strip->viewport()->size());
        QVERIFY(visible.contains(f.strip->Thumbnail(29)->geometry()));
    }
};

LUMARO_TEST_CLASS(tst_Thumbnails)
#include "tst_thumbnails.moc"
