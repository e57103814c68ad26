#include "pages/FallbackPrinterDevice.h"
#include "pages/GmPageList.h"
#include "pages/GmPrinter.h"
#include "tests/support/TestMain.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

// The test main points the printing system at a server that does not exist, so these tests see
// a machine without any printer.
class tst_Printer : public QObject
{
    Q_OBJECT

private slots:
    void withoutPrinterTheFallbackMetricsApply()
    {
        TGmPrinter printer;
        QVERIFY(TGmPrinter::Printers().isEmpty());
        QVERIFY(!printer.PrinterAvailable());
        QVERIFY(!printer.Printer());
        const TGmPrinterInfo &info = printer.PrinterInfo();
        QCOMPARE(info.physicalWidth, 2481);
        QCOMPARE(info.physicalHeight, 3507);
        QCOMPARE(info.printableWidth, 2358);
        QCOMPARE(info.printableHeight, 3407);
        QCOMPARE(printer.UnprintableBorders(gmPortrait), QMargins(65, 50, 58, 50));
        QCOMPARE(printer.UnprintableBorders(gmLandscape), QMargins(50, 58, 50, 65));
        QCOMPARE(printer.ResolutionX(), 300);
        QCOMPARE(printer.ResolutionY(), 300);
        QCOMPARE(QString::number(printer.PhysicalWidthInches(), 'f', 2), QStringLiteral("8.27"));
        QCOMPARE(QString::number(printer.PhysicalHeightInches(), 'f', 2), QStringLiteral("11.69"));
        QVERIFY(qAbs(printer.PrintableWidth(gmTwips) - 2358.0 / 300 * 1440) < 1e-9);
        QCOMPARE(info.landscapeRotation, 1);
    }

    void withoutPrinterGettersGiveDefaultsAndSettersDoNothing()
    {
        TGmPrinter printer;
        QCOMPARE(printer.PrintCopies(), 1);
        QCOMPARE(printer.PrintQuality(), gmMedium);
        QCOMPARE(printer.PrintColor(), gmColor);
        QCOMPARE(printer.Duplex(), gmSimplex);
        printer.SetPrintCopies(5);
        printer.SetPrintQuality(gmHigh);
        printer.SetPrintColor(gmMonochrome);
        printer.SetCollate(true);
        QCOMPARE(printer.PrintCopies(), 1);
        QCOMPARE(printer.PrintQuality(), gmMedium);
        QCOMPARE(printer.PrintColor(), gmColor);
        QVERIFY(!printer.Collate());
        QCOMPARE(printer.Title(), QStringLiteral("<document>"));
    }

    void withoutPrinterBeginDocRefusesWithItsMessage()
    {
        TGmPrinter printer;
        QSignalSpy before(&printer, &TGmPrinter::BeforePrint);
        ScriptedDialogs &dialogs = ScriptedDialogs::installed();
        dialogs.answerMessage(Dialogs::Ok);
        QVERIFY(!printer.BeginDoc());
        QCOMPARE(dialogs.messageTexts(), QStringList { QStringLiteral("Unable to print... No Printer available.") });
        QCOMPARE(dialogs.shown().first().icon, Dialogs::Icon::None);
        QVERIFY(!printer.Printing());
        QVERIFY(!printer.Canvas());
        QCOMPARE(before.count(), 0);
        printer.NewPage(); // nothing to advance
        printer.EndDoc();
        QCOMPARE(printer.LogicalPage(), 0);
    }

    void withoutPrinterTheReferenceDeviceMeasuresLikeThePrinter()
    {
        TGmPrinter printer;
        QPaintDevice *device = printer.ReferenceDevice();
        QVERIFY(device);
        QCOMPARE(device->logicalDpiX(), 300);
        QCOMPARE(device->logicalDpiY(), 300);
        QCOMPARE(device->width(), 2358);
        QCOMPARE(device->height(), 3407);
        // text measured on it is sized for 300 per inch
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(72);
        const QFontMetrics metrics(font, device);
        QVERIFY2(metrics.height() > 300 && metrics.height() < 400, qPrintable(QString::number(metrics.height())));
        // and it can be drawn on
        QPainter painter(device);
        QVERIFY(painter.isActive());
        painter.drawText(QPoint(100, 100), QStringLiteral("page"));
        QCOMPARE(painter.fontMetrics().height(), QFontMetrics(painter.font(), device).height());
    }

    void placementOfLogicalPages_data()
    {
        QTest::addColumn<int>("perSheet");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<int>("page");
        QTest::addColumn<QRect>("cell");
        QTest::addColumn<int>("scale");
        // A4 at 300 dpi: 2480 x 3508, turned landscape for two-up
        QTest::newRow("one") << int(gmOnePage) << false << 1 << QRect(0, 0, 2480, 3508) << 100;
        QTest::newRow("two, page 1 left") << int(gmTwoPage) << true << 1 << QRect(0, 0, 1754, 2480) << 70;
        QTest::newRow("two, page 2 right") << int(gmTwoPage) << true << 2 << QRect(1754, 0, 1754, 2480) << 70;
        QTest::newRow("two, page 3 left") << int(gmTwoPage) << true << 3 << QRect(0, 0, 1754, 2480) << 70;
        QTest::newRow("two portrait, top") << int(gmTwoPage) << false << 1 << QRect(0, 0, 2480, 1754) << 70;
        QTest::newRow("two portrait, bottom") << int(gmTwoPage) << false << 2 << QRect(0, 1754, 2480, 1754) << 70;
        QTest::newRow("four, 1 top left") << int(gmFourPage) << false << 1 << QRect(0, 0, 1240, 1754) << 49;
        QTest::newRow("four, 2 top right") << int(gmFourPage) << false << 2 << QRect(1240, 0, 1240, 1754) << 49;
        QTest::newRow("four, 3 bottom left") << int(gmFourPage) << false << 3 << QRect(0, 1754, 1240, 1754) << 49;
        QTest::newRow("four, 4 bottom right") << int(gmFourPage) << false << 4 << QRect(1240, 1754, 1240, 1754) << 49;
        QTest::newRow("four, 5 top left") << int(gmFourPage) << false << 5 << QRect(0, 0, 1240, 1754) << 49;
    }
    void placementOfLogicalPages()
    {
        QFETCH(int, perSheet);
        QFETCH(bool, landscape);
        QFETCH(int, page);
        QFETCH(QRect, cell);
        QFETCH(int, scale);
        const int w = landscape ? 3508 : 2480;
        const int h = landscape ? 2480 : 3508;
        const SheetPlacement placement
            = TGmPrinter::PlaceLogicalPage(TGmPagesPerSheet(perSheet), page, w, h, landscape);
        QCOMPARE(placement.cell, cell);
        QCOMPARE(placement.scale, scale);
    }

    void newSheetsStartWhereTheSheetIsFull()
    {
        QList<int> one, two, four;
        for (int k = 1; k <= 8; ++k) {
            if (TGmPrinter::NeedsNewSheet(gmOnePage, k))
                one << k + 1;
            if (TGmPrinter::NeedsNewSheet(gmTwoPage, k))
                two << k + 1;
            if (TGmPrinter::NeedsNewSheet(gmFourPage, k))
                four << k + 1;
        }
        QCOMPARE(one, (QList<int> { 2, 3, 4, 5, 6, 7, 8, 9 }));
        QCOMPARE(two, (QList<int> { 3, 5, 7, 9 }));
        QCOMPARE(four, (QList<int> { 5, 9 }));
    }

    void paperCodes()
    {
        QCOMPARE(TGmPrinter::PaperCode(A4), 9);
        QCOMPARE(TGmPrinter::PaperCode(A6), 70);
        QCOMPARE(TGmPrinter::PaperCode(Envelope_14), 23);
        QCOMPARE(TGmPrinter::PaperCode(Executive), 7);
        for (TGmPaperSize none : { C6, C65, Custom, Envelope_DL, Envelope_DL_Maxi })
            QCOMPARE(TGmPrinter::PaperCode(none), -1);
    }

    void nonPrintableObjectsStayOffThePrinter()
    {
        TGmPageList list;
        list.AddPage();
        QPicture picture;
        {
            QPainter p(&picture);
            p.fillRect(QRect(0, 0, 10, 10), Qt::black);
        }
        list.Canvas().StretchDraw(picture, gmInches, 1, 1, 2, 2)->SetPrintable(false);

        QImage image(300, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter onImage(&image);
        QVERIFY(!IsPrinterCanvas(&onImage));
        list.DrawPage(list.Pages(1), &onImage, 96, 96);
        onImage.end();
        QCOMPARE(QColor(image.pixel(144, 144)), QColor(Qt::black));

        // A printer writing a file is still a printer: only the printable twin reaches the sheet.
        list.Canvas().StretchDraw(picture, gmInches, 3, 3, 4, 4);
        QTemporaryDir dir;
        const QString pdfPath = dir.filePath(QStringLiteral("out.pdf"));
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(pdfPath);
        pdf.setFullPage(true);
        QPainter onPrinter(&pdf);
        QVERIFY(IsPrinterCanvas(&onPrinter));
        list.DrawPage(list.Pages(1), &onPrinter, pdf.resolution(), pdf.resolution());
        onPrinter.end();

        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed");
        QProcess render;
        render.start(pdftoppm,
            { QStringLiteral("-r"), QStringLiteral("20"), QStringLiteral("-gray"), QStringLiteral("-png"),
                QStringLiteral("-singlefile"), pdfPath, dir.filePath(QStringLiteral("sheet")) });
        QVERIFY(render.waitForFinished(30000));
        const QImage sheet(dir.filePath(QStringLiteral("sheet.png")));
        QVERIFY(!sheet.isNull());
        QVERIFY(qGray(sheet.pixel(30, 30)) > 200); // the non-printable object at 1..2 in
        QVERIFY(qGray(sheet.pixel(70, 70)) < 60); // the printable one at 3..4 in
    }
};

LUMARO_TEST_CLASS(tst_Printer)
#include "tst_printer.moc"
