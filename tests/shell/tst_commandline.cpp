#include "app/CommandLine.h"
#include "editor/DocumentConverter.h"
#include "tests/support/TestMain.h"

Q_DECLARE_METATYPE(ExportKind)
Q_DECLARE_METATYPE(PresentationOptions::PageSize)

// How --convert-to values with their options are read; the format each names.
class tst_CommandLine : public QObject
{
    Q_OBJECT

private slots:
    void convertFormats_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("error"); // empty: accepted
        QTest::addColumn<QString>("extension");
        QTest::addColumn<int>("kind"); // -1: a document format, else the ExportKind
        QTest::addColumn<int>("font");
        QTest::addColumn<int>("size");
        QTest::addColumn<PresentationOptions::PageSize>("pageSize");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QColor>("frame"); // invalid: no frame

        using P = PresentationOptions::PageSize;
        const QString s800 = QStringLiteral("800 x 600");
        const QColor none;
        const QColor blue(0, 128, 192);
        auto row = [](const char *name) -> QTestData & { return QTest::newRow(name); };
        row("rtf") << "rtf"
                   << ""
                   << "rtf" << -1 << 8 << 12 << P::FullPage << s800 << 15 << none;
        row("utxt") << "utxt"
                    << ""
                    << "txt" << -1 << 8 << 12 << P::FullPage << s800 << 15 << none;
        row("pdf") << "pdf"
                   << ""
                   << "pdf" << int(ExportKind::Pdf) << 8 << 12 << P::FullPage << s800 << 15 << none;
        row("pdf-text default") << "pdf-text"
                                << ""
                                << "pdf" << int(ExportKind::PdfText) << 8 << 12 << P::FullPage << s800 << 15 << none;
        row("times 10") << "pdf-text:times:10"
                        << ""
                        << "pdf" << int(ExportKind::PdfText) << 8 << 10 << P::FullPage << s800 << 15 << none;
        row("helvetica font only") << "pdf-text:helvetica"
                                   << ""
                                   << "pdf" << int(ExportKind::PdfText) << 0 << 12 << P::FullPage << s800 << 15 << none;
        row("courier 7, upper case") << "PDF-TEXT:COURIER:7"
                                     << ""
                                     << "pdf" << int(ExportKind::PdfText) << 4 << 7 << P::FullPage << s800 << 15
                                     << none;
        row("times 9 not offered") << "pdf-text:times:9"
                                   << "size \"9\" is not offered for times in pdf-text (sizes: 12, 11, 10)"
                                   << "" << 0 << 0 << 0 << P::FullPage << s800 << 0 << none;
        row("courier 13") << "pdf-text:courier:13"
                          << "(sizes: 12, 11, 10, 9, 8, 7)"
                          << "" << 0 << 0 << 0 << P::FullPage << s800 << 0 << none;
        row("empty font") << "pdf-text:"
                          << "unknown font \"\""
                          << "" << 0 << 0 << 0 << P::FullPage << s800 << 0 << none;
        row("jpg") << "jpg"
                   << ""
                   << "jpg" << int(ExportKind::Jpeg) << 8 << 12 << P::FullPage << s800 << 15 << none;
        row("jpeg is not a name") << "jpeg"
                                  << "unknown format \"jpeg\""
                                  << "" << 0 << 0 << 0 << P::FullPage << s800 << 0 << none;
        row("tiff") << "tiff"
                    << ""
                    << "tiff" << int(ExportKind::Tiff) << 8 << 12 << P::FullPage << s800 << 15 << none;
        row("gif with options") << "gif:10"
                                << "gif takes no options"
                                << "" << 0 << 0 << 0 << P::FullPage << s800 << 0 << none;
        row("vmp default") << "vmp"
                           << ""
                           << "vmp" << int(ExportKind::Presentation) << 8 << 12 << P::FullPage << s800 << 15 << none;
        row("vmp half") << "vmp:half"
                        << ""
                        << "vmp" << int(ExportKind::Presentation) << 8 << 12 << P::HalfPage << s800 << 15 << none;
        row("vmp 900 30 on") << "vmp:900:30:on"
                             << ""
                             << "vmp" << int(ExportKind::Presentation) << 8 << 12 << P::Screen << "900 x 675" << 30
                             << blue;
        row("vmp 1000 colour") << "vmp:1000:5:#FF8000"
                               << ""
                               << "vmp" << int(ExportKind::Presentation) << 8 << 12 << P::Screen << "1000 x 750" << 5
                               << QColor(255, 128, 0);
        row("vmp 800 60 off") << "vmp:800:60:off"
                              << ""
                              << "vmp" << int(ExportKind::Presentation) << 8 << 12 << P::Screen << s800 << 60 << none;
        row("vmp 80") << "vmp:80"
                      << "unknown page size \"80\""
                      << "" << 0 << 0 << 0 << P::FullPage << s800 << 0 << none;
        row("vmp empty size") << "vmp::10"
                              << "unknown page size \"\""
                              << "" << 0 << 0 << 0 << P::FullPage << s800 << 0 << none;
        row("vmp 4 seconds") << "vmp:full:4"
                             << "whole seconds from 5 to 60"
                             << "" << 0 << 0 << 0 << P::FullPage << s800 << 0 << none;
        row("vmp 7.5 seconds") << "vmp:full:7.5"
                               << "whole seconds from 5 to 60"
                               << "" << 0 << 0 << 0 << P::FullPage << s800 << 0 << none;
        row("vmp short colour") << "vmp:full:15:#fff"
                                << "frame \"#fff\""
                                << "" << 0 << 0 << 0 << P::FullPage << s800 << 0 << none;
        row("vmp too many") << "vmp:full:15:on:x"
                            << "at most SIZE:SECONDS:FRAME"
                            << "" << 0 << 0 << 0 << P::FullPage << s800 << 0 << none;
    }
    void convertFormats()
    {
        QFETCH(QString, value);
        QFETCH(QString, error);
        QFETCH(QString, extension);
        QFETCH(int, kind);
        QFETCH(int, font);
        QFETCH(int, size);
        QFETCH(PresentationOptions::PageSize, pageSize);
        QFETCH(QString, screen);
        QFETCH(int, seconds);
        QFETCH(QColor, frame);

        const CommandLine cl = CommandLine::parse({ QStringLiteral("--convert-to"), value, QStringLiteral("a.rtf") });
        if (!error.isEmpty()) {
            QCOMPARE(cl.action, CommandLine::Action::Error);
            QVERIFY2(cl.error.contains(error), qPrintable(cl.error));
            return;
        }
        QVERIFY2(cl.action == CommandLine::Action::Convert, qPrintable(cl.error));
        QCOMPARE(cl.inputFiles, QStringList { QStringLiteral("a.rtf") });
        const std::optional<DocumentConverter::Format> format = DocumentConverter::format(cl.convertFormat);
        QVERIFY(format);
        QCOMPARE(format->extension, extension);
        QCOMPARE(format->exportRequest.has_value(), kind >= 0);
        if (kind < 0)
            return;
        const ExportRequest &request = *format->exportRequest;
        QCOMPARE(int(request.kind), kind);
        QCOMPARE(request.fontNumber, font);
        QCOMPARE(request.fontSize, size);
        QCOMPARE(request.presentation.pageSize, pageSize);
        QCOMPARE(request.presentation.screenSize, screen);
        QCOMPARE(request.presentation.seconds, seconds);
        QCOMPARE(request.presentation.frame, frame.isValid());
        if (frame.isValid())
            QCOMPARE(request.presentation.frameColor, frame);
    }

    void printOption_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error"); // empty: a print command
        QTest::addColumn<QString>("printer");
        QTest::addColumn<QStringList>("files");
        auto list = [](std::initializer_list<const char *> items) {
            QStringList out;
            for (const char *item : items)
                out << QString::fromLatin1(item);
            return out;
        };
        QTest::newRow("default printer") << list({ "--print", "a.rtf", "b.rtc" }) << QString() << QString()
                                         << list({ "a.rtf", "b.rtc" });
        QTest::newRow("named printer") << list({ "--printer", "Office", "--print", "a.rtf" }) << QString()
                                       << QStringLiteral("Office") << list({ "a.rtf" });
        QTest::newRow("printer with =") << list({ "--print", "--printer=Lab", "a.rtf" }) << QString()
                                        << QStringLiteral("Lab") << list({ "a.rtf" });
        QTest::newRow("no file") << list({ "--print" }) << QStringLiteral("--print needs at least one FILE")
                                 << QString() << QStringList();
        QTest::newRow("printer without name")
            << list({ "--print", "a.rtf", "--printer" }) << QStringLiteral("--printer needs a printer name")
            << QString() << QStringList();
        QTest::newRow("printer without print")
            << list({ "--printer", "Office", "a.rtf" }) << QStringLiteral("--printer is only used with --print")
            << QString() << QStringList();
        QTest::newRow("print and convert")
            << list({ "--print", "--convert-to", "pdf", "a.rtf" })
            << QStringLiteral("--print and --convert-to cannot be used together") << QString() << QStringList();
    }

    void printOption()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        QFETCH(QString, printer);
        QFETCH(QStringList, files);
        const CommandLine cl = CommandLine::parse(arguments);
        if (!error.isEmpty()) {
            QCOMPARE(cl.action, CommandLine::Action::Error);
            QCOMPARE(cl.error, error);
            return;
        }
        QCOMPARE(cl.action, CommandLine::Action::Print);
        QCOMPARE(cl.printerName, printer);
        QCOMPARE(cl.inputFiles, files);
        QVERIFY(CommandLine::helpText().contains(QStringLiteral("--print [--printer NAME] FILE...")));
    }
};

LUMARO_TEST_CLASS(tst_CommandLine)
#include "tst_commandline.moc"
