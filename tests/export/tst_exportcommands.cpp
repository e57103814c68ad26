#include "export/ExportCommands.h"
#include "export/ExportFormats.h"
#include "export/ExportHost.h"
#include "export/ExportJobs.h"
#include "export/ExportProgress.h"
#include "export/PresentationTile.h"
#include "export/TfrmPresentation.h"
#include "tests/export/ExportTestTools.h"
#include "tests/export/FakePageSource.h"
#include "tests/support/TestMain.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QCheckBox>
#include <QToolButton>

using namespace ExportTestTools;

Q_DECLARE_METATYPE(ExportKind)

namespace {

class FakeHost : public ExportHost
{
public:
    explicit FakeHost(QString fileName, QStringList lines)
        : m_fileName(std::move(fileName))
        , m_source(std::move(lines))
    {
    }
    QString documentFileName() const override { return m_fileName; }
    ExportPageSource &pageSource() override { return m_source; }
    int zoomStep() const override { return m_zoom; }
    void setZoomStep(int step) override
    {
        m_zoom = step;
        m_zoomCalls.append(step);
    }
    void setCaretToStart() override { ++m_caretResets; }

    QString m_fileName;
    FakePageSource m_source;
    int m_zoom = 4;
    QList<int> m_zoomCalls;
    int m_caretResets = 0;
};

class FakeProgress : public ExportProgress
{
public:
    void showProgress() override { m_events.append(QStringLiteral("show")); }
    void setProgress(int percent) override { m_events.append(QString::number(percent)); }
    void closeProgress() override { m_events.append(QStringLiteral("close")); }
    QStringList m_events;
};

void quick(ExportJobs &jobs)
{
    jobs.setScreenDpi(96, 96);
    jobs.setTiffPagePause(0);
}

} // namespace

class tst_ExportCommands : public QObject
{
    Q_OBJECT

private slots:
    void init() { ScriptedDialogs::installed().reset(); }
    void cleanup()
    {
        QCOMPARE(ScriptedDialogs::installed().unexpectedCount(), 0);
        QCOMPARE(ScriptedDialogs::installed().pendingAnswers(), 0);
    }

    void dialogIsPreset_data()
    {
        QTest::addColumn<ExportKind>("kind");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("suggested");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("filter");
        QTest::newRow("pdf") << ExportKind::Pdf << QStringLiteral("/docs/Letter.rtf") << QStringLiteral("/docs/Letter - PDF")
                             << QStringLiteral("Export Document As PDF") << 1;
        QTest::newRow("text pdf") << ExportKind::PdfText << QStringLiteral("/docs/Letter.rtf")
                                  << QStringLiteral("/docs/Letter.rtf - PDF") << QStringLiteral("Export Document As PDF (Text Only)") << 2;
        QTest::newRow("pdf untitled") << ExportKind::Pdf << QStringLiteral("Untitled") << QStringLiteral("Untitled - PDF")
                                      << QStringLiteral("Export Document As PDF") << 1;
        QTest::newRow("text pdf untitled") << ExportKind::PdfText << QStringLiteral("Untitled") << QStringLiteral("Untitled - PDF")
                                           << QStringLiteral("Export Document As PDF (Text Only)") << 2;
        QTest::newRow("bmp") << ExportKind::Bmp << QStringLiteral("/docs/Letter.rtf") << QStringLiteral("/docs/Letter - BMP")
                             << QStringLiteral("Export Document As Windows Bitmap") << 3;
        QTest::newRow("emf") << ExportKind::Emf << QStringLiteral("/docs/a.b/Letter") << QStringLiteral("/docs/a.b/Letter - EMF")
                             << QStringLiteral("Export Document As Windows Enhanced Metafile") << 4;
        QTest::newRow("png") << ExportKind::Png << QStringLiteral("/docs/Letter.rtf") << QStringLiteral("/docs/Letter - PNG")
                             << QStringLiteral("Export Document As Portable Network Graphic") << 5;
        QTest::newRow("jpg") << ExportKind::Jpeg << QStringLiteral("/docs/Letter.rtf") << QStringLiteral("/docs/Letter - JPG")
                             << QStringLiteral("Export Document As JPEG Image File") << 6;
        QTest::newRow("tiff") << ExportKind::Tiff << QStringLiteral("/docs/Letter.rtf") << QStringLiteral("/docs/Letter - TIFF")
                              << QStringLiteral("Export Document As Tagged Information File Format") << 7;
        QTest::newRow("gif") << ExportKind::Gif << QStringLiteral("/docs/Letter.rtf") << QStringLiteral("/docs/Letter - GIFA")
                             << QStringLiteral("Export Document As Graphics Interchange Format - Animated") << 8;
        QTest::newRow("vmp") << ExportKind::Presentation << QStringLiteral("/docs/Letter.rtf") << QStringLiteral("/docs/Letter - VMP")
                             << QStringLiteral("Export Document As Velmora Presentation File Format - Animated") << 9;
    }
    void dialogIsPreset()
    {
        QFETCH(ExportKind, kind);
        QFETCH(QString, document);
        QFETCH(QString, suggested);
        QFETCH(QString, title);
        QFETCH(int, filter);
        FakeHost host(document, FakePageSource::numberedLines(3));
        ExportCommands commands(host);
        ScriptedDialogs &dialogs = ScriptedDialogs::installed();
        dialogs.answerSaveCancel();
        bool done = true;
        switch (kind) {
        case ExportKind::Pdf:
            done = commands.exportPdf();
            break;
        case ExportKind::PdfText:
            done = commands.exportTextPdf(8, 12);
            break;
        case ExportKind::Presentation:
            done = commands.exportPresentation();
            break;
        default:
            done = commands.exportImages(kind);
            break;
        }
        QVERIFY(!done);
        QCOMPARE(dialogs.shown().size(), 1); // cancelled: no message either
        const Dialogs::FileRequest request = dialogs.shown().first().file;
        QCOMPARE(request.fileName, suggested);
        QCOMPARE(request.title, title);
        QCOMPARE(request.filterIndex, filter);
        QCOMPARE(request.filters, ExportFormats::dialogFilters());
        QCOMPARE(request.filters.size(), 9);
        QCOMPARE(request.filters[8].first, QStringLiteral("Velmora Presentation File Format (*.vmp)"));
        QCOMPARE(request.defaultSuffix, QStringLiteral("pdf"));
        QVERIFY(request.overwritePrompt);
        QVERIFY(host.m_source.m_requests.isEmpty());
    }

    void fullPdfCommand()
    {
        QTemporaryDir dir;
        FakeHost host(QStringLiteral("/docs/Letter.rtf"), FakePageSource::numberedLines(60));
        FakeProgress progress;
        ExportCommands commands(host);
        commands.setProgress(&progress);
        commands.setJobSetup(quick);
        ScriptedDialogs &dialogs = ScriptedDialogs::installed();
        const QString path = dir.filePath(QStringLiteral("Letter - PDF.pdf"));
        dialogs.answerSave(path);
        dialogs.answerMessage(Dialogs::Ok);
        QVERIFY(commands.exportPdf());
        QCOMPARE(dialogs.messageTexts(), QStringList{QStringLiteral("Document succesfully exported to PDF format.")});
        QCOMPARE(dialogs.shown().last().icon, Dialogs::Icon::Information);
        // Two pages: 46 of the 60 lines (359 of 470 positions) on the first.
        QCOMPARE(progress.m_events, (QStringList{QStringLiteral("show"), QStringLiteral("76"), QStringLiteral("100"), QStringLiteral("close")}));
        QCOMPARE(run(QStringLiteral("qpdf"), {QStringLiteral("--check"), path}).exitCode, 0);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    // Another file type in the dialog only warns; the export stays what it was.
    void fileTypeChangeWarns()
    {
        QTemporaryDir dir;
        FakeHost host(QStringLiteral("Untitled"), FakePageSource::numberedLines(3));
        ExportCommands commands(host);
        commands.setJobSetup(quick);
        ScriptedDialogs &dialogs = ScriptedDialogs::installed();
        const QString path = dir.filePath(QStringLiteral("Untitled - PDF.pdf"));
        dialogs.answerSave(path, 5);
        dialogs.answerMessage(Dialogs::Ok);
        dialogs.answerMessage(Dialogs::Ok);
        QVERIFY(commands.exportPdf());
        QCOMPARE(dialogs.messageTexts(),
                 (QStringList{QStringLiteral("This option is not available, please close the Export Dialog box and\r\n"
                                             "select a new file format from the main menu to export your document to."),
                              QStringLiteral("Document succesfully exported to PDF format.")}));
        QCOMPARE(dialogs.shown()[1].icon, Dialogs::Icon::Warning);
        QVERIFY(readFile(path).startsWith("%PDF-1.4"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Untitled - PDF.pdf")});
    }

    void textPdfCommandResetsAndRestoresZoom()
    {
        QTemporaryDir dir;
        FakeHost host(QStringLiteral("/docs/Letter.rtf"), FakePageSource::numberedLines(3));
        ExportCommands commands(host);
        commands.setJobSetup(quick);
        ScriptedDialogs &dialogs = ScriptedDialogs::installed();
        const QString path = dir.filePath(QStringLiteral("Letter.rtf - PDF.pdf"));
        dialogs.answerSave(path);
        dialogs.answerMessage(Dialogs::Ok);
        QVERIFY(commands.exportTextPdf(4, 7));
        QCOMPARE(host.m_zoomCalls, (QList<int>{1, 4}));
        QCOMPARE(host.m_caretResets, 1);
        QCOMPARE(dialogs.messageTexts(), QStringList{QStringLiteral("Export To PDF Letter.rtf - PDF.pdf Completed.")});
        QVERIFY(run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}).out.contains("Line 3"));

        // Cancelling restores the zoom as well.
        host.m_zoomCalls.clear();
        dialogs.answerSaveCancel();
        QVERIFY(!commands.exportTextPdf(4, 7));
        QCOMPARE(host.m_zoomCalls, (QList<int>{1, 4}));
    }

    void imageCommandCountsItsFiles()
    {
        QTemporaryDir dir;
        FakeHost host(QStringLiteral("/docs/Letter.rtf"), FakePageSource::numberedLines(3));
        ExportCommands commands(host);
        commands.setJobSetup(quick);
        ScriptedDialogs &dialogs = ScriptedDialogs::installed();
        dialogs.answerSave(dir.filePath(QStringLiteral("Letter - PNG.pdf")));
        dialogs.answerMessage(Dialogs::Ok);
        QVERIFY(commands.exportImages(ExportKind::Png));
        QCOMPARE(dialogs.messageTexts(), QStringList{QStringLiteral("[ 1 ] separate image(s) have been created from your document.")});
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Letter - PNG - Page 1.png")});
    }

    void gifCommandAsksForTheViewingTime()
    {
        QTemporaryDir dir;
        FakeHost host(QStringLiteral("/docs/Letter.rtf"), FakePageSource::numberedLines(100));
        ExportCommands commands(host);
        commands.setJobSetup(quick);
        commands.setViewingTime([] { return 60; });
        ScriptedDialogs &dialogs = ScriptedDialogs::installed();
        dialogs.answerSave(dir.filePath(QStringLiteral("Letter - GIFA")));
        dialogs.answerMessage(Dialogs::Ok);
        QVERIFY(commands.exportImages(ExportKind::Gif));
        QCOMPARE(dialogs.messageTexts(), QStringList{QStringLiteral("Document Succesfully Exported to GIF Animated Format.")});
        const GifStructure gif = parseGif(readFile(dir.filePath(QStringLiteral("Letter - GIFA.gif"))));
        QCOMPARE(gif.delays, QList<int>(3, 6000));
    }

    void presentationCommandWithItsWindow()
    {
        QTemporaryDir dir;
        FakeHost host(QStringLiteral("/docs/Talk.rtf"), FakePageSource::numberedLines(20));
        ExportCommands commands(host);
        commands.setJobSetup(quick);
        TfrmPresentation window;
        commands.setPresentationOptions([&] {
            QTimer::singleShot(0, &window, [&] {
                QTest::mouseClick(window.tileScreen, Qt::LeftButton);
                window.btnLarger->click();
                window.chkFrame->setChecked(true);
                window.btnSave->click();
            });
            return window.ask();
        });
        ScriptedDialogs &dialogs = ScriptedDialogs::installed();
        dialogs.answerSave(dir.filePath(QStringLiteral("Talk - VMP.pdf")));
        dialogs.answerMessage(Dialogs::Ok);
        QVERIFY(commands.exportPresentation());
        QCOMPARE(dialogs.messageTexts(),
                 QStringList{QStringLiteral("Document Succesfully Exported to Velmora Presentation File Format.")});
        const GifStructure gif = parseGif(readFile(dir.filePath(QStringLiteral("Talk - VMP.vmp"))));
        QCOMPARE(gif.screen, QSize(900, 675));
        QCOMPARE(gif.frames.size(), 1);
        QVERIFY(gif.applications.isEmpty()); // one frame: no loop extension
        QCOMPARE(gif.delays, QList<int>{1500});
        QCOMPARE(gif.comments.first().size(), 6);
    }

    void failureIsReportedAndNothingIsWritten()
    {
        QTemporaryDir dir;
        FakeHost host(QStringLiteral("/docs/Letter.rtf"), FakePageSource::numberedLines(3));
        FakeProgress progress;
        ExportCommands commands(host);
        commands.setProgress(&progress);
        commands.setJobSetup(quick);
        ScriptedDialogs &dialogs = ScriptedDialogs::installed();
        const QString path = dir.filePath(QStringLiteral("missing/Letter - PNG.png"));
        dialogs.answerSave(path);
        dialogs.answerMessage(Dialogs::Ok);
        QVERIFY(!commands.exportImages(ExportKind::Png));
        QCOMPARE(dialogs.messageTexts(),
                 QStringList{QStringLiteral("Error Opening File ") + dir.filePath(QStringLiteral("missing/Letter - PNG - Page 1.png"))
                             + QStringLiteral("!")});
        QCOMPARE(dialogs.shown().last().icon, Dialogs::Icon::Error);
        QCOMPARE(progress.m_events.last(), QStringLiteral("close"));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);

        dialogs.answerSave(dir.filePath(QStringLiteral("missing/Letter - PDF.pdf")));
        dialogs.answerMessage(Dialogs::Ok);
        QVERIFY(!commands.exportPdf());
        QVERIFY(dialogs.lastMessage().startsWith(QStringLiteral("Cannot create file")));
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    void twelveTextCommands()
    {
        const QList<ExportCommands::TextCommand> commands = ExportCommands::textCommands();
        QCOMPARE(commands.size(), 12);
        QCOMPARE(commands.first().caption, QStringLiteral("in Times Roman 12..."));
        QCOMPARE(commands[5].caption, QStringLiteral("in Helvetica 10 ..."));
        QCOMPARE(commands[5].fontNumber, 0);
        QCOMPARE(commands.last().caption, QStringLiteral("in Courier New 7..."));
        QCOMPARE(commands.last().fontNumber, 4);
        QCOMPARE(commands.last().fontSize, 7);
    }
};

LUMARO_TEST_CLASS(tst_ExportCommands)
#include "tst_exportcommands.moc"
