#include "pages/GmFontMapper.h"
#include "pages/GmPageList.h"
#include "tests/support/TestMain.h"

#include <QImage>
#include <QPainter>
#include <QPicture>

#include <memory>

namespace {

// A picture that fills its 100 x 100 frame with one colour.
QPicture solidPicture(const QColor &color)
{
    QPicture picture;
    QPainter p(&picture);
    p.fillRect(QRect(0, 0, 100, 100), color);
    p.end();
    picture.setBoundingRect(QRect(0, 0, 100, 100));
    return picture;
}

QImage whiteImage(int width, int height, int ppi)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dpm = qRound(ppi / 0.0254);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    return image;
}

bool isDark(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

// The bounding box of all non-white pixels inside area.
QRect inkBox(const QImage &image, const QRect &area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class tst_Drawing : public QObject
{
    Q_OBJECT

private slots:
    void sharingStoresEqualPicturesOnce_data()
    {
        QTest::addColumn<bool>("sharing");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("firstCount");
        QTest::newRow("sharing on") << true << 1 << 2;
        QTest::newRow("sharing off") << false << 2 << 1;
    }
    void sharingStoresEqualPicturesOnce()
    {
        QFETCH(bool, sharing);
        QFETCH(int, stored);
        QFETCH(int, firstCount);
        TGmPageList list;
        list.AddPage();
        QVERIFY(list.Canvas().CompareGraphics()); // the default
        list.Canvas().SetCompareGraphics(sharing);
        const QPicture picture = solidPicture(Qt::black);
        TGmGraphicObject *a = list.Canvas().StretchDraw(picture, gmInches, 0, 0, 1, 1);
        list.AddPage();
        TGmGraphicObject *b = list.Canvas().StretchDraw(picture, gmInches, 0, 0, 1, 1);
        const TGmGraphicList &graphics = list.Resources().GraphicList();
        QCOMPARE(graphics.Count(), stored);
        QCOMPARE(graphics.UseCount(0), firstCount);
        QCOMPARE(a->Graphic() == b->Graphic(), sharing);
        QCOMPARE(list.Pages(1)->Objects().Count(), 1);
        QCOMPARE(list.Pages(2)->Objects().Count(), 1);
        // a different picture is never taken for an equal one
        list.Canvas().StretchDraw(solidPicture(Qt::red), gmInches, 0, 0, 1, 1);
        QCOMPARE(graphics.Count(), stored + 1);
        QCOMPARE(graphics.UseCount(graphics.Count() - 1), 1);
        QCOMPARE(graphics.IndexOfGraphic(b->Graphic()), sharing ? 0 : 1);
    }

    void recordingConvertsToInchesAndOffsets()
    {
        TGmPageList list;
        list.AddPage();
        TGmGraphicObject *object = list.Canvas().StretchDraw(solidPicture(Qt::black), gmTwips, 1440, 720, 2880, 4320);
        QCOMPARE(object->ObjectType(), 13);
        QCOMPARE(object->CopyMode(), quint32(0xCC0020));
        QCOMPARE(object->Left(), 1.0);
        QCOMPARE(object->Top(), 0.5);
        QCOMPARE(object->Bottom(), 3.0);
        list.Canvas().SetCoordsRelativeTo(gmFromUserMargins);
        TGmGraphicObject *shifted = list.Canvas().StretchDraw(solidPicture(Qt::black), gmInches, 0, 0, 1, 1);
        QCOMPARE(shifted->Left(), 0.5);
        QCOMPARE(shifted->Bottom(), 1.5);
        list.Canvas().SetCoordsRelativeTo(gmFromHeaderLine);
        TGmGraphicObject *below = list.Canvas().StretchDraw(solidPicture(Qt::black), gmInches, 0, 0, 1, 1);
        QCOMPARE(below->Top(), 0.5 + list.Header().HeightInches());
    }

    void pictureRectangleAtResolution_data()
    {
        QTest::addColumn<int>("ppi");
        QTest::addColumn<QRect>("expected"); // left, top, right, bottom exclusive
        QTest::newRow("600") << 600 << QRect(QPoint(600, 600), QPoint(1199, 1799));
        QTest::newRow("300") << 300 << QRect(QPoint(300, 300), QPoint(599, 899));
    }
    void pictureRectangleAtResolution()
    {
        QFETCH(int, ppi);
        QFETCH(QRect, expected);
        TGmPageList list;
        list.AddPage();
        list.Canvas().StretchDraw(solidPicture(Qt::black), gmInches, 1, 1, 2, 3);
        QImage image = whiteImage(ppi * 4, ppi * 4, ppi);
        QPainter painter(&image);
        list.DrawPage(list.Pages(1), &painter, ppi, ppi);
        painter.end();
        QCOMPARE(inkBox(image, image.rect()), expected);
        QVERIFY(isDark(image, expected.center().x(), expected.center().y()));
    }

    void zOrderMovesWithinThePage()
    {
        TGmPageList list;
        list.AddPage();
        TGmGraphicObject *a = list.Canvas().StretchDraw(solidPicture(Qt::red), gmInches, 0, 0, 1, 1);
        TGmGraphicObject *b = list.Canvas().StretchDraw(solidPicture(Qt::green), gmInches, 0, 0, 1, 1);
        TGmGraphicObject *c = list.Canvas().StretchDraw(solidPicture(Qt::blue), gmInches, 0, 0, 1, 1);
        const TGmObjectList &objects = list.Pages(1)->Objects();
        int changes = 0;
        connect(&list, &TGmPageList::changed, this, [&changes] { ++changes; });
        a->BringToFront();
        QCOMPARE(objects.At(2), a);
        c->SendToBack();
        QCOMPARE(objects.At(0), c);
        QCOMPARE(objects.At(1), b);
        b->SendBackward();
        QCOMPARE(objects.At(0), b);
        b->SendBackward(); // already first
        b->BringForward();
        QCOMPARE(objects.At(1), b);
        QCOMPARE(changes, 4);

        // the last drawn wins
        QImage image = whiteImage(96, 96, 96);
        QPainter painter(&image);
        list.DrawPage(list.Pages(1), &painter, 96, 96);
        painter.end();
        QCOMPARE(QColor(image.pixel(50, 50)), QColor(Qt::red));
    }

    void advancesCarryWholePixels()
    {
        const QList<int> widths(8, 225);
        const QList<int> advances = TGmFontMapper::Advances(widths, 7200, 600);
        QCOMPARE(advances, (QList<int> { 18, 19, 19, 18, 19, 19, 19, 18 }));
        int total = 0;
        for (int a : advances)
            total += a;
        QCOMPARE(total, 149);
        // at the reference resolution itself nothing changes
        QCOMPARE(TGmFontMapper::Advances({ 100, 37, 1 }, 7200, 7200), (QList<int> { 100, 37, 1 }));
        QVERIFY(TGmFontMapper::Advances({}, 7200, 600).isEmpty());
    }

    void textOutFollowsTheReferenceGrid()
    {
        // Text written at 96 and 600 per inch covers the same width in inches, within a pixel.
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(12);
        const QString text = QStringLiteral("Illuminated WWW");
        const QSizeF inches = TGmFontMapper::instance().MeasureText(font, text);
        QVERIFY(inches.width() > 1.0 && inches.width() < 2.0);
        for (int ppi : { 96, 600 }) {
            QImage image = whiteImage(ppi * 3, ppi, ppi);
            QPainter painter(&image);
            painter.setPen(Qt::black);
            TGmFontMapper::instance().TextOut(&painter, ppi / 4, 0, text, font, ppi);
            painter.end();
            const QRect ink = inkBox(image, image.rect());
            QVERIFY(!ink.isEmpty());
            const double widthInches = double(ink.right() + 1 - ppi / 4) / ppi;
            QVERIFY2(qAbs(widthInches - inches.width()) < 2.0 / ppi + 0.02,
                qPrintable(
                    QStringLiteral("%1 dpi: %2 in, measured %3 in").arg(ppi).arg(widthInches).arg(inches.width())));
            QVERIFY(ink.top() >= 0 && ink.bottom() < GmRound(inches.height() * ppi));
        }
    }

    void pageWithHeaderAndFooterDrawsWhereTheGeometrySays()
    {
        TGmPageList list;
        list.AddPage();
        list.setClock([] { return QDateTime(QDate(2024, 1, 2), QTime(3, 4)); });
        list.Header().SetVisible(true);
        list.Header().CaptionLeft().SetCaption(QStringLiteral("Left {PAGE}"));
        list.Footer().SetVisible(true);
        list.Footer().SetShowLine(false);
        list.Footer().CaptionRight().SetCaption(QStringLiteral("Page {PAGE} of {NUMPAGES}"));
        list.AddPage();
        list.SetCurrentPage(1);
        list.Canvas().StretchDraw(solidPicture(Qt::blue), gmInches, 2, 3, 4, 5);

        const int ppi = 96;
        QImage image = whiteImage(GmRound(list.PaperWidth() * ppi), GmRound(list.PaperHeight() * ppi), ppi);
        QPainter painter(&image);
        list.DrawPage(list.Pages(1), &painter, ppi, ppi);
        painter.end();

        const QRect header = list.HeaderPixelRect(list.Pages(1), ppi, ppi);
        const QRect footer = list.FooterPixelRect(list.Pages(1), ppi, ppi);
        QCOMPARE(header.left(), 48);
        QCOMPARE(header.top(), 48);
        QCOMPARE(header.left() + header.width(), GmRound(ppi * (list.PaperWidth() - 0.5)));

        // the left caption sits inside the header, starting at its left edge
        const QRect headerInk = inkBox(image, QRect(0, 0, image.width(), header.bottom() + 1));
        QVERIFY(headerInk.left() >= header.left() && headerInk.left() <= header.left() + 3);
        QVERIFY(headerInk.top() >= header.top());
        // the separator line runs along the header's bottom edge
        const int lineY = header.top() + header.height();
        QVERIFY(isDark(image, header.left(), lineY));
        QVERIFY(isDark(image, header.center().x(), lineY));
        QVERIFY(!isDark(image, header.left() - 2, lineY));
        // the right caption of the footer ends at its right edge; no line there
        const QRect footerInk
            = inkBox(image, QRect(0, footer.top() - 2, image.width(), image.height() - footer.top() + 2));
        const int footerRight = footer.left() + footer.width();
        QVERIFY2(footerInk.right() < footerRight && footerInk.right() >= footerRight - 3,
            qPrintable(QStringLiteral("%1 vs %2").arg(footerInk.right()).arg(footerRight)));
        QVERIFY(footerInk.left() > footer.center().x());
        QVERIFY(footerInk.top() >= footer.top());
        // the picture
        QCOMPARE(inkBox(image, QRect(100, 200, 400, 400)), QRect(QPoint(192, 288), QPoint(383, 479)));

        // page 2 gets its own number: the footer text differs
        QImage second = whiteImage(image.width(), image.height(), ppi);
        QPainter p2(&second);
        list.DrawPage(list.Pages(2), &p2, ppi, ppi);
        p2.end();
        const QRect band(0, footer.top(), image.width(), footer.height());
        QVERIFY(image.copy(band) != second.copy(band));
        QCOMPARE(image.copy(QRect(0, 0, image.width(), 40)), second.copy(QRect(0, 0, image.width(), 40)));
    }

    void hiddenPageHeaderIsNotDrawn()
    {
        TGmPageList list;
        list.AddPage();
        list.Header().SetVisible(true);
        list.Header().CaptionCenter().SetCaption(QStringLiteral("Hidden"));
        list.Pages(1)->SetShowHeader(false);
        QImage image = whiteImage(800, 300, 96);
        QPainter painter(&image);
        list.DrawPage(list.Pages(1), &painter, 96, 96);
        painter.end();
        QVERIFY(inkBox(image, image.rect()).isEmpty());
    }
};

LUMARO_TEST_CLASS(tst_Drawing)
#include "tst_drawing.moc"
