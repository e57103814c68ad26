#include "pages/GmPageList.h"
#include "tests/pages/PageListLog.h"
#include "tests/support/TestMain.h"

#include <memory>

namespace {

constexpr double kA4Width = 210 / 25.4;
constexpr double kA4Height = 297 / 25.4;

std::unique_ptr<TGmPageList> listWithPages(int pages)
{
    auto list = std::make_unique<TGmPageList>();
    for (int i = 0; i < pages; ++i)
        list->AddPage();
    return list;
}

bool near(double a, double b)
{
    return qAbs(a - b) < 1e-9;
}

} // namespace

class tst_PageList : public QObject
{
    Q_OBJECT

private slots:
    void paperTableHasExactSizesAndNames()
    {
        QCOMPARE(PaperSizeNames().size(), 22);
        QCOMPARE(PaperSizeNames().first(), QStringLiteral("A3"));
        QCOMPARE(PaperSizeNames().at(Envelope_DL_Maxi), QStringLiteral("Envelope_DL_Maxi"));
        QCOMPARE(PaperSizeNames().last(), QStringLiteral("Executive"));
        for (int i = 0; i < GmPaperSizeCount; ++i)
            QCOMPARE(PaperSizeFromName(PaperSizeName(TGmPaperSize(i))), TGmPaperSize(i));
        QCOMPARE(PaperSizeFromName(QStringLiteral("a4")), Custom);
        QCOMPARE(PaperSizeFromName(QStringLiteral("Folio")), Custom);
        // the table's own sizes, also where they differ from the nominal paper
        QVERIFY(near(PaperSizeInches(A5).width(), 148.5 / 25.4));
        QVERIFY(near(PaperSizeInches(B4).height(), 354 / 25.4));
        QCOMPARE(PaperSizeInches(Envelope_10), QSizeF(4.18, 9.12));
        QCOMPARE(PaperSizeInches(Envelope_14), QSizeF(14.5, 11.12));
        QVERIFY(PaperSizeInches(Custom).isEmpty());
    }

    void firstPageIsA4PortraitAndCurrent()
    {
        auto list = listWithPages(1);
        QCOMPARE(list->PageCount(), 1);
        QCOMPARE(list->CurrentPage(), 1);
        QVERIFY(near(list->Pages(1)->Width(), kA4Width));
        QVERIFY(near(list->Pages(1)->Height(), kA4Height));
        QCOMPARE(list->Pages(1)->Orientation(), gmPortrait);
    }

    void paperSizeFollowsOrientation()
    {
        auto list = listWithPages(2);
        list->SetPaperSize(Letter);
        list->SetPaperSize(A4);
        QVERIFY(near(list->Pages(2)->Width(), kA4Width));
        list->SetOrientation(gmLandscape);
        QVERIFY(near(list->Pages(1)->Width(), kA4Height));
        QVERIFY(near(list->Pages(2)->Height(), kA4Width));
        list->SetPaperSize(Letter);
        list->SetPaperSize(A4);
        QVERIFY(near(list->Pages(1)->Width(), kA4Height));
        QVERIFY(near(list->PaperHeight(), kA4Width));
        // a page added later takes the landscape paper too
        list->AddPage();
        QVERIFY(near(list->Pages(3)->Width(), kA4Height));
        QCOMPARE(list->Pages(3)->Orientation(), gmLandscape);
    }

    void widePaperKeepsItsSidesUntilOrientationIsSetAgain()
    {
        auto list = listWithPages(1);
        list->SetPaperSize(Envelope_12);
        QCOMPARE(list->Pages(1)->Width(), 12.44);
        QCOMPARE(list->Pages(1)->Height(), 11.0);
        list->SetOrientation(gmPortrait);
        QCOMPARE(list->Pages(1)->Width(), 11.0);
        QCOMPARE(list->Pages(1)->Height(), 12.44);
        QCOMPARE(list->PaperWidth(), 11.0);
    }

    void customKeepsTheCurrentPaper()
    {
        auto list = listWithPages(3);
        list->SetPaperSize(Legal);
        list->Pages(2)->SetSize(5, 5);
        list->SetPaperSize(Custom);
        for (int p = 1; p <= 3; ++p) {
            QCOMPARE(list->Pages(p)->Width(), 8.5);
            QCOMPARE(list->Pages(p)->Height(), 14.0);
        }
        list->AddPage();
        QCOMPARE(list->Pages(4)->Height(), 14.0);
    }

    void paperAndOrientationNotifications()
    {
        auto list = listWithPages(2);
        PageListLog log(list.get());
        list->SetPaperSize(A4); // unchanged: nothing
        QVERIFY(log.take().isEmpty());
        list->SetPaperSize(Letter);
        QCOMPARE(log.take(), (QStringList { "page-count-changed", "changed", "paper-size-changed" }));
        list->SetOrientation(gmPortrait); // sent also when nothing changed
        QCOMPARE(log.take(), (QStringList { "page-count-changed", "changed", "orientation-changed" }));
    }

    void addingAndDeletingPagesNotifyInOrder()
    {
        auto list = listWithPages(1);
        PageListLog log(list.get());
        list->AddPage();
        QCOMPARE(log.take(),
            (QStringList { "page-count-changed", "changed", "before-page-change", "page-changed", "new-page" }));
        QCOMPARE(list->CurrentPage(), 2);

        // inserting in front keeps the current page number (it now shows another page)
        TGmPage *inserted = list->AddPage(0);
        QCOMPARE(list->Pages(1), inserted);
        QCOMPARE(list->CurrentPage(), 3);
        log.take();

        list->DeletePage(2); // the last page, which is current
        QCOMPARE(list->PageCount(), 2);
        QCOMPARE(list->CurrentPage(), 2);
        QCOMPARE(log.take(), (QStringList { "page-count-changed", "changed" }));
        list->DeletePage(2);
        list->DeletePage(-1);
        QCOMPARE(list->PageCount(), 2);
        QVERIFY(log.take().isEmpty());
    }

    void deletingAPageBeforeTheCurrentOneKeepsTheNumberInRange()
    {
        auto list = listWithPages(3);
        QCOMPARE(list->CurrentPage(), 3);
        list->DeletePage(0);
        QCOMPARE(list->PageCount(), 2);
        QVERIFY(list->CurrentPageObject());
        QCOMPARE(list->CurrentPage(), 2);
        // deleting the last page while page 1 is current adds nothing
        list->SetCurrentPage(1);
        list->DeletePage(1);
        QCOMPARE(list->PageCount(), 1);
        QCOMPARE(list->CurrentPage(), 1);
    }

    void deletingTheOnlyPageLeavesAFreshOne()
    {
        auto list = listWithPages(1);
        TGmPage *old = list->Pages(1);
        QPicture picture;
        list->Canvas().StretchDraw(picture, gmInches, 0, 0, 1, 1);
        QCOMPARE(old->Objects().Count(), 1);
        list->DeletePage(0);
        QCOMPARE(list->PageCount(), 1);
        QCOMPARE(list->CurrentPage(), 1);
        QCOMPARE(list->Pages(1)->Objects().Count(), 0);
    }

    void clearLeavesOnePageAndNoPictures()
    {
        auto list = listWithPages(4);
        QPicture picture;
        list->Canvas().StretchDraw(picture, gmInches, 0, 0, 1, 1);
        QCOMPARE(list->Resources().GraphicList().Count(), 1);
        PageListLog log(list.get());
        list->Clear();
        QCOMPARE(list->PageCount(), 1);
        QCOMPARE(list->CurrentPage(), 1);
        QCOMPARE(list->Resources().GraphicList().Count(), 0);
        QCOMPARE(log.entries.last(), QStringLiteral("cleared"));
        QVERIFY(!log.entries.contains(QStringLiteral("page-changed")));
    }

    void currentPageLimits_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("expected");
        QTest::newRow("zero") << 0 << 2;
        QTest::newRow("negative") << -3 << 2;
        QTest::newRow("count+1") << 4 << 2;
        QTest::newRow("same") << 2 << 2;
        QTest::newRow("first") << 1 << 1;
        QTest::newRow("last") << 3 << 3;
    }
    void currentPageLimits()
    {
        QFETCH(int, target);
        QFETCH(int, expected);
        auto list = listWithPages(3);
        list->SetCurrentPage(2);
        PageListLog log(list.get());
        list->SetCurrentPage(target);
        QCOMPARE(list->CurrentPage(), expected);
        if (expected == 2)
            QVERIFY(log.entries.isEmpty());
        else
            QCOMPARE(log.entries, (QStringList { "before-page-change", "page-changed" }));
    }

    void updateBracketHoldsNotificationsUntilTheEnd()
    {
        auto list = listWithPages(1);
        PageListLog log(list.get());
        list->BeginUpdate();
        list->BeginUpdate();
        list->AddPage();
        list->Margins().Left().SetAsInches(1);
        list->Header().SetVisible(true);
        list->Pages(1)->SetSize(3, 3);
        // only the notifications that are never held came through
        QCOMPARE(log.take(), (QStringList { "before-page-change", "page-changed", "new-page" }));
        list->EndUpdate();
        QVERIFY(log.take().isEmpty());
        list->EndUpdate();
        QCOMPARE(log.take(), (QStringList { "page-count-changed", "changed" }));
        list->EndUpdate(); // unbalanced: ignored
        QVERIFY(log.take().isEmpty());
        list->Margins().Left().SetAsInches(1);
        QVERIFY(log.take().isEmpty());
        list->Margins().SetPen(QPen(Qt::red));
        list->Footer().Height().SetAsInches(0.3);
        list->Footer().SetPen(QPen(Qt::blue)); // the pen alone notifies nobody
        QCOMPARE(log.take(), (QStringList { "margins-changed", "header-footer-changed" }));
    }

    void regionsWithAutomaticHeaderHeight()
    {
        auto list = listWithPages(1);
        // Header invisible and without captions: the 12-point Arial cell still counts.
        const QFont arial12 = list->Header().CaptionLeft().Font();
        QCOMPARE(arial12.family(), QStringLiteral("Arial"));
        QCOMPARE(arial12.pointSize(), 12);
        const double cell = list->Header().HeightInches();
        QVERIFY2(cell > 0.15 && cell < 0.25, qPrintable(QString::number(cell)));
        QCOMPARE(cell * 600, std::round(cell * 600)); // a whole number of 600-dpi pixels

        const TGmValueRect &content = list->ContentRect();
        QVERIFY(near(content.Left().AsInches(), 0.5));
        QVERIFY(near(content.Top().AsInches(), 0.5 + cell));
        QVERIFY(near(content.Right().AsInches(), kA4Width - 0.5));
        QVERIFY(near(content.Bottom().AsInches(), kA4Height - 0.5 - cell));

        // the largest caption font decides; an explicit height wins over all
        QFont big(QStringLiteral("Arial"));
        big.setPointSize(24);
        list->Header().CaptionRight().SetFont(big);
        QVERIFY(list->Header().HeightInches() > 1.8 * cell);
        list->Header().Height().SetAsMillimeters(10);
        list->Footer().Height().SetAsMillimeters(5);
        const TGmValueRect &header = list->HeaderRect();
        QVERIFY(near(header.Top().AsInches(), 0.5));
        QVERIFY(near(header.Bottom().AsInches(), 0.5 + 10 / 25.4));
        const TGmValueRect &footer = list->FooterRect();
        QVERIFY(near(footer.Top().AsInches(), kA4Height - 0.5 - 5 / 25.4));
        QVERIFY(near(footer.Bottom().AsInches(), kA4Height - 0.5));
        QVERIFY(near(list->ContentRect().Height(gmMillimeters), 297 - 25.4 - 15));
    }

    void captionTokens_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("expected");
        QTest::newRow("page of") << "Page {PAGE} of {NUMPAGES}"
                                 << "Page 3 of 7";
        QTest::newRow("lower case stays") << "{page} {Page}"
                                          << "{page} {Page}";
        QTest::newRow("twice") << "{PAGE}-{PAGE}"
                               << "3-3";
        QTest::newRow("date") << "{DATE}"
                              << "04/09/2023";
        QTest::newRow("time with date separator") << "at {TIME}"
                                                  << "at 17/05";
        QTest::newRow("no tokens") << "Draft"
                                   << "Draft";
    }
    void captionTokens()
    {
        QFETCH(QString, caption);
        QFETCH(QString, expected);
        const QDateTime now(QDate(2023, 9, 4), QTime(17, 5, 9));
        QCOMPARE(TGmHeaderFooterCaption::ExpandTokens(caption, 3, 7, now, QStringLiteral("/")), expected);
    }

    void marginsStoredValueRoundTrip()
    {
        TGmMargins margins;
        const QString stored = QStringLiteral("720,720,720,720,\"12632256,1,2,4\",\"12632256,1,2,4\"");
        QCOMPARE(margins.StoredValue(), stored);

        margins.Left().SetAsMillimeters(19);
        QPen red(QColor(255, 0, 0));
        red.setWidth(2);
        red.setStyle(Qt::DashDotLine);
        margins.SetPrinterMarginPen(red);
        QCOMPARE(margins.StoredValue(), QStringLiteral("1077,720,720,720,\"12632256,1,2,4\",\"255,2,3,4\""));

        TGmMargins read;
        QVERIFY(read.ReadStoredValue(margins.StoredValue()));
        QCOMPARE(read.Left().AsTwips(), 1077);
        QCOMPARE(read.PrinterMarginPen().color(), QColor(255, 0, 0));
        QCOMPARE(read.PrinterMarginPen().style(), Qt::DashDotLine);
        QCOMPARE(read.Pen(), TGmMargins::DefaultPen());

        // four items: only the margins
        QVERIFY(read.ReadStoredValue(QStringLiteral("1440,0,360,2880")));
        QCOMPARE(read.Left().AsInches(), 1.0);
        QCOMPARE(read.Bottom().AsInches(), 2.0);
        QCOMPARE(read.PrinterMarginPen().color(), QColor(255, 0, 0));
    }

    void malformedStoredMarginsChangeNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("three") << "1,2,3";
        QTest::newRow("not a number") << "720,abc,720,720";
        QTest::newRow("open quote") << "720,720,720,720,\"1,1,2,4";
        QTest::newRow("bad pen") << "100,100,100,100,\"1,1,2\",\"1,1,2,4\"";
        QTest::newRow("one pen") << "100,100,100,100,\"1,1,2,4\"";
    }
    void malformedStoredMarginsChangeNothing()
    {
        QFETCH(QString, text);
        TGmMargins margins;
        int calls = 0;
        margins.setOnChange([&calls] { ++calls; });
        const QString before = margins.StoredValue();
        QVERIFY(!margins.ReadStoredValue(text));
        QCOMPARE(margins.StoredValue(), before);
        QCOMPARE(calls, 0);
    }

    void marginValuesInTheirUnitAndAssign()
    {
        TGmMargins margins;
        margins.Values().SetValueMeasurement(gmMillimeters);
        QCOMPARE(margins.Values().Left(), 12.7f);
        margins.Values().SetTop(19);
        QVERIFY(qAbs(margins.Top().AsInches() - 19 / 25.4) < 1e-6);

        TGmMargins target;
        int calls = 0;
        target.setOnChange([&calls] { ++calls; });
        margins.SetVisible(true);
        margins.SetClipMargins(true);
        target.Assign(margins);
        QVERIFY(calls > 0);
        QCOMPARE(target.Top().AsInches(), margins.Top().AsInches());
        QVERIFY(target.Visible());
        QVERIFY(!target.ClipMargins());
    }

    void headerAssignCopiesCaptionsOnly()
    {
        TGmHeader a;
        TGmHeader b;
        a.CaptionCenter().SetCaption(QStringLiteral("Title"));
        a.SetVisible(true);
        a.SetShowLine(false);
        b.Assign(a);
        QCOMPARE(b.CaptionCenter().Caption(), QStringLiteral("Title"));
        QVERIFY(!b.Visible());
        QVERIFY(b.ShowLine());
    }
};

LUMARO_TEST_CLASS(tst_PageList)
#include "tst_pagelist.moc"
