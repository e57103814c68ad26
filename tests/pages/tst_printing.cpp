#include "pages/GmPageList.h"
#include "pages/GmPrinter.h"
#include "tests/support/TestMain.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include <pwd.h>
#include <unistd.h>

namespace {

const QString kQueue = QStringLiteral("LumaroPDF");

struct Result
{
    bool ok = false;
    QString output;
};

Result run(const QString &program, const QStringList &arguments, int timeoutMs = 15000)
{
    Result result;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(5000))
        return result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return result;
    }
    result.output = QString::fromLocal8Bit(process.readAll());
    result.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return result;
}

bool schedulerRunning()
{
    const Result r = run(QStringLiteral("lpstat"), { QStringLiteral("-r") }, 5000);
    return r.output.contains(QStringLiteral("scheduler is running"));
}

// The folder cups-pdf writes into for this user ("Out" of its configuration, ${HOME} expanded
// with the user's home from the password database, as cups-pdf does).
QString cupsPdfOutputDir()
{
    QString out = QStringLiteral("${HOME}/PDF");
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly)) {
        for (const QByteArray &raw : conf.readAll().split('\n')) {
            const QString line = QString::fromLocal8Bit(raw).trimmed();
            if (line.startsWith(QStringLiteral("Out ")))
                out = line.mid(4).trimmed();
        }
    }
    const passwd *pw = getpwuid(getuid());
    const QString home = pw ? QString::fromLocal8Bit(pw->pw_dir) : QDir::homePath();
    out.replace(QStringLiteral("${HOME}"), home);
    return out;
}

// Other printing tests use file queues, which the scheduler allows only when told so before it
// starts.
void allowFileDevice()
{
    QFile file(QStringLiteral("/etc/cups/cups-files.conf"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString text = QString::fromLatin1(file.readAll());
    file.close();
    if (QRegularExpression(QStringLiteral("(?m)^FileDevice\\s+Yes")).match(text).hasMatch())
        return;
    if (file.open(QIODevice::Append))
        file.write("\nFileDevice Yes\n");
}

QPicture boxPicture()
{
    QPicture picture;
    QPainter p(&picture);
    p.fillRect(QRect(0, 0, 100, 100), Qt::black);
    p.end();
    picture.setBoundingRect(QRect(0, 0, 100, 100));
    return picture;
}

} // namespace

// Prints through a real CUPS queue of the cups-pdf virtual printer, which this test sets up
// itself: it starts the scheduler when it is not running and adds the queue when it is missing.
class tst_Printing : public QObject
{
    Q_OBJECT

    QString m_skipReason;

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("lpstat")).isEmpty()) {
            m_skipReason = QStringLiteral("the CUPS client programs are not installed");
            return;
        }
        if (!schedulerRunning()) {
            const QString cupsd = QStringLiteral("/usr/sbin/cupsd");
            if (!QFile::exists(cupsd)) {
                m_skipReason = QStringLiteral("cupsd is not installed");
                return;
            }
            QDir().mkpath(QStringLiteral("/run/cups"));
            allowFileDevice();
            // cupsd detaches itself; the parent returns at once.
            run(cupsd, {}, 10000);
            QElapsedTimer wait;
            wait.start();
            while (!schedulerRunning() && wait.elapsed() < 15000)
                QTest::qWait(250);
            if (!schedulerRunning()) {
                m_skipReason = QStringLiteral("cupsd is not running and could not be started (needs root)");
                return;
            }
        }
        if (!run(QStringLiteral("lpstat"), { QStringLiteral("-v"), kQueue }, 5000).ok) {
            const Result added = run(QStringLiteral("lpadmin"),
                { QStringLiteral("-p"), kQueue, QStringLiteral("-E"), QStringLiteral("-v"),
                    QStringLiteral("cups-pdf:/"), QStringLiteral("-m"),
                    QStringLiteral("lsb/usr/cups-pdf/CUPS-PDF_opt.ppd") },
                20000);
            QVERIFY2(added.ok, qPrintable(QStringLiteral("cannot add the cups-pdf queue: ") + added.output));
        }
        QElapsedTimer wait;
        wait.start();
        while (!TGmPrinter::Printers().contains(kQueue) && wait.elapsed() < 10000)
            QTest::qWait(250);
        QVERIFY2(TGmPrinter::Printers().contains(kQueue), qPrintable(TGmPrinter::Printers().join(QLatin1Char(','))));
    }

    void twoUpJobOfThreePagesPrintsTwoSheets()
    {
        if (!m_skipReason.isEmpty())
            QSKIP(qPrintable(m_skipReason));

        TGmPageList list;
        for (int i = 0; i < 3; ++i) {
            list.AddPage();
            list.Canvas().StretchDraw(boxPicture(), gmInches, 1, 1, 3, 3);
        }

        TGmPrinter printer;
        printer.SetPrinterIndex(TGmPrinter::Printers().indexOf(kQueue));
        QVERIFY(printer.PrinterAvailable());
        QCOMPARE(printer.Printer()->printerName(), kQueue);
        QCOMPARE(printer.ReferenceDevice(), printer.Printer());

        // Metrics are measured in portrait whatever the printer is set to; the inch sizes follow
        // the printer's current orientation.
        printer.Printer()->setPageOrientation(QPageLayout::Landscape);
        printer.Refresh();
        const TGmPrinterInfo metrics = printer.PrinterInfo();
        QVERIFY(metrics.physicalWidth < metrics.physicalHeight);
        QCOMPARE(printer.Printer()->pageLayout().orientation(), QPageLayout::Landscape);
        QVERIFY(printer.PhysicalWidthInches() > printer.PhysicalHeightInches());
        QVERIFY(qAbs(printer.PhysicalHeightInches() - 210 / 25.4) < 0.02);
        printer.Printer()->setPageOrientation(QPageLayout::Portrait);
        QVERIFY(qAbs(printer.PhysicalWidthInches() - 210 / 25.4) < 0.02);
        QCOMPARE(metrics.printableWidth + metrics.borderLeft + metrics.borderRight, metrics.physicalWidth);
        printer.SetPrintCopies(1);
        printer.SetPrintQuality(gmHigh);
        QCOMPARE(printer.PrintQuality(), gmHigh);
        QCOMPARE(printer.PrintCopies(), 1);
        const QString title = QStringLiteral("lumarotwoup%1x%2")
                                  .arg(QCoreApplication::applicationPid())
                                  .arg(QDateTime::currentMSecsSinceEpoch());
        printer.SetTitle(title);
        printer.SetPagesPerSheet(gmTwoPage);
        printer.SetPaperSize(A4);
        QSignalSpy after(&printer, &TGmPrinter::AfterPrint);

        QVERIFY(printer.BeginDoc());
        QCOMPARE(printer.Orientation(), gmLandscape); // two pages side by side on a turned sheet
        for (int p = 1; p <= 3; ++p) {
            QPainter *canvas = printer.Canvas();
            QVERIFY(canvas);
            QVERIFY(IsPrinterCanvas(canvas));
            list.DrawPage(list.Pages(p), canvas, printer.ResolutionX(), printer.ResolutionY());
            if (p < 3)
                printer.NewPage();
        }
        QCOMPARE(printer.LogicalPage(), 3);
        printer.EndDoc();
        QCOMPARE(after.count(), 1);
        QVERIFY(!printer.Printing());

        // Wait for cups-pdf to write the file.
        const QDir out(cupsPdfOutputDir());
        QString pdf;
        QElapsedTimer wait;
        wait.start();
        while (wait.elapsed() < 90000) {
            const QStringList found = out.entryList({ title + QStringLiteral("*.pdf") }, QDir::Files);
            const bool queueIdle
                = run(QStringLiteral("lpstat"), { QStringLiteral("-o"), kQueue }, 5000).output.trimmed().isEmpty();
            if (!found.isEmpty() && queueIdle) {
                pdf = out.filePath(found.first());
                break;
            }
            QTest::qWait(500);
        }
        QVERIFY2(!pdf.isEmpty(), qPrintable(QStringLiteral("no output in ") + out.path()));

        const Result info = run(QStringLiteral("pdfinfo"), { pdf });
        QVERIFY2(info.ok, qPrintable(info.output));
        const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info.output);
        QVERIFY(pages.hasMatch());
        QCOMPARE(pages.captured(1).toInt(), 2);

        // Each logical page's box lands in its half at 70 percent: (0.7..2.1 in) from the
        // cell's corner; the second sheet has only page 3 on its left half.
        QTemporaryDir dir;
        const Result rendered = run(QStringLiteral("pdftoppm"),
            { QStringLiteral("-r"), QStringLiteral("20"), QStringLiteral("-gray"), QStringLiteral("-png"), pdf,
                dir.filePath(QStringLiteral("sheet")) },
            60000);
        QVERIFY2(rendered.ok, qPrintable(rendered.output));
        const QStringList sheets
            = QDir(dir.path()).entryList({ QStringLiteral("sheet*.png") }, QDir::Files, QDir::Name);
        QCOMPARE(sheets.size(), 2);
        // A landscape sheet may come back as portrait media with its content turned a quarter
        // counter-clockwise, the way PostScript printers take landscape jobs; turn it back.
        auto landscapeView = [](QImage image) {
            return image.height() > image.width() ? image.transformed(QTransform().rotate(90)) : image;
        };
        const QImage first = landscapeView(QImage(dir.filePath(sheets.at(0))));
        const QImage second = landscapeView(QImage(dir.filePath(sheets.at(1))));
        QVERIFY(first.width() > first.height());
        const double half = first.width() / 2.0;
        auto dark = [](const QImage &image, double x, double y) { return qGray(image.pixel(int(x), int(y))) < 100; };
        QVERIFY(dark(first, 1.4 * 20, 1.4 * 20));
        QVERIFY(!dark(first, 0.5 * 20, 0.5 * 20));
        QVERIFY(!dark(first, 2.4 * 20, 1.4 * 20));
        QVERIFY(dark(first, half + 1.4 * 20, 1.4 * 20));
        QVERIFY(!dark(first, half + 2.4 * 20, 1.4 * 20));
        QVERIFY(dark(second, 1.4 * 20, 1.4 * 20));
        QVERIFY(!dark(second, half + 1.4 * 20, 1.4 * 20));
        QFile::remove(pdf);
    }
};

LUMARO_TEST_CLASS(tst_Printing)
#include "tst_printing.moc"
