#include "app/StartupOptions.h"
#include "editor/richtext/RxRichEdit.h"
#include "export/BitmapPageTarget.h"
#include "export/ExportCommands.h"
#include "export/ExportPageLoop.h"
#include "export/TfrmExport.h"
#include "export/TfrmInterval.h"
#include "export/TfrmPresentation.h"
#include "tests/shell/ExportChecks.h"
#include "tests/shell/ShellFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>

using namespace ExportChecks;

namespace {

// A document window with the program's export windows beside it, as the program start makes
// them: children of the frame.
struct ExportWindow
{
    ShellFixture fx;
    TEditForm *doc = nullptr;
    TfrmExport *progress = nullptr;
    TfrmInterval *interval = nullptr;
    TfrmPresentation *presentation = nullptr;
    int progressShows = 0;

    // textColumnWidth: of the startup options, narrower than the screen to give the side panels
    // a width that the zoom gives back to the text.
    explicit ExportWindow(const QByteArray &rtf, int textColumnWidth = 0)
    {
        if (textColumnWidth > 0) {
            StartupOptions options;
            options.DefaultFolder = fx.docs();
            options.TextColumnWidth = textColumnWidth;
            options.writeFile(QDir(fx.home()).filePath(StartupOptions::fileName()));
        }
        const QString path = fx.file(QStringLiteral("doc.rtf"));
        ShellFixture::writeFile(path, rtf);
        TFrameForm *frame = fx.showFrame({ path });
        progress = new TfrmExport(frame);
        interval = new TfrmInterval(frame);
        presentation = new TfrmPresentation(frame);
        doc = frame->activeDocument();
    }
    QString out(const QString &name) const { return fx.file(QStringLiteral("out/") + name); }
    QStringList written() const { return QDir(fx.file(QStringLiteral("out"))).entryList(QDir::Files, QDir::Name); }
};

// Closes the next modal window from the event loop, once it is up; counts the windows closed.
class ModalCloser : public QObject
{
public:
    ModalCloser()
    {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this]() {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                m_titles.append(modal->windowTitle());
                modal->close();
            }
        });
        m_timer.start();
    }
    QStringList titles() const { return m_titles; }

private:
    QTimer m_timer;
    QStringList m_titles;
};

void trigger(QObject *owner, const QString &name)
{
    auto *action = owner->findChild<QAction *>(name);
    QVERIFY2(action, qPrintable(name));
    QVERIFY2(action->isEnabled(), qPrintable(name));
    action->trigger();
}

// What the document's pages are when laid out in this geometry, by the same page loop.
int laidOutPages(TEditForm *doc, const ExportPageGeometry &geometry)
{
    ExportPageLoop loop(doc->pageSource(), geometry);
    int pages = 0;
    BitmapPageTarget target(geometry.surface, QImage::Format_RGB32, loop.screenDpiX(), loop.screenDpiY(),
        [&](const QImage &, int, bool) { ++pages; });
    loop.run(target);
    return pages;
}

// A menu's entries as captions, a separator as "|" plus its heading.
QStringList entries(const QMenu *menu)
{
    QStringList out;
    for (const QAction *action : menu->actions())
        out.append(action->isSeparator() ? u'|' + action->text() : action->text());
    return out;
}

QString pageMessage(int pages)
{
    return QStringLiteral("[ %1 ] separate image(s) have been created from your document.").arg(pages);
}

} // namespace

class tst_ExportMenu : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        QCOMPARE(ScriptedDialogs::installed().unexpectedCount(), 0);
        QCOMPARE(ScriptedDialogs::installed().pendingAnswers(), 0);
    }

    void submenuListsTheExportsInOrder()
    {
        ExportWindow w(paragraphsRtf({ QStringLiteral("One line.") }));
        auto *file = w.doc->findChild<QMenu *>(QStringLiteral("File1"));
        QVERIFY(file);
        const QStringList fileEntries = entries(file);
        const qsizetype at = fileEntries.indexOf(QStringLiteral("Export Document as"));
        QVERIFY(at > 0);
        QCOMPARE(fileEntries[at - 1], QStringLiteral("Save Se&lected Text as..."));

        auto *exportMenu = w.doc->findChild<QMenu *>(QStringLiteral("ExportDocumentas1"));
        QVERIFY(exportMenu);
        QCOMPARE(exportMenu->menuAction(), file->actions()[at]);
        QCOMPARE(entries(exportMenu),
            (QStringList { QStringLiteral("Portable Document Format (*.pdf)..."),
                QStringLiteral("Portable Document Format (Text Only)"), QStringLiteral("|Digital Image Formats"),
                QStringLiteral("Windows Bitmap (*.bmp)..."), QStringLiteral("Portable Network Graphic ( *.png)..."),
                QStringLiteral("Graphics Interchange Format (*.gif)..."),
                QStringLiteral("Windows Enhanced Metafile (*.emf)..."),
                QStringLiteral("Tagged Information File Format (*.tiff)..."),
                QStringLiteral("Joint Photographic Experts Group (*.jpg)..."),
                QStringLiteral("|Velmora Office Presentation Format"),
                QStringLiteral("Velmora Presentation File Format (*.vmp)...") }));

        auto *textMenu = w.doc->findChild<QMenu *>(QStringLiteral("PortableDocumentFormatTextOnly1"));
        QVERIFY(textMenu);
        QCOMPARE(exportMenu->actions()[1], textMenu->menuAction());
        QStringList expected;
        const QList<ExportCommands::TextCommand> commands = ExportCommands::textCommands();
        for (qsizetype i = 0; i < commands.size(); ++i) {
            if (i == 3 || i == 6 || i == 9)
                expected.append(QStringLiteral("|"));
            expected.append(commands[i].caption);
        }
        QCOMPARE(entries(textMenu), expected);

        // The submenu travels with the File menu into the frame's menu bar.
        bool merged = false;
        for (QAction *top : w.fx.frame()->menuBar()->actions())
            merged = merged || (top->menu() == file);
        QVERIFY(merged);
    }

    void textOnlyCommandsUseTheirFontAndSize_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("font");
        QTest::addColumn<QByteArray>("selection");
        QTest::newRow("times 12") << "inTimesRoman121"
                                  << "Times-Roman" << QByteArray("/F9 12 Tf");
        QTest::newRow("times 11") << "inTimesRoman111"
                                  << "Times-Roman" << QByteArray("/F9 11 Tf");
        QTest::newRow("times 10") << "inTimesRoman101"
                                  << "Times-Roman" << QByteArray("/F9 10 Tf");
        QTest::newRow("helvetica 12") << "inHelvetica121"
                                      << "Helvetica" << QByteArray("/F1 12 Tf");
        QTest::newRow("helvetica 11") << "inHelvetica111"
                                      << "Helvetica" << QByteArray("/F1 11 Tf");
        QTest::newRow("helvetica 10") << "inHelvetica101"
                                      << "Helvetica" << QByteArray("/F1 10 Tf");
        QTest::newRow("courier 12") << "inCourierNew121"
                                    << "Courier" << QByteArray("/F5 12 Tf");
        QTest::newRow("courier 11") << "inCourierNew111"
                                    << "Courier" << QByteArray("/F5 11 Tf");
        QTest::newRow("courier 10") << "inCourierNew101"
                                    << "Courier" << QByteArray("/F5 10 Tf");
        QTest::newRow("courier 9") << "inCourierNew91"
                                   << "Courier" << QByteArray("/F5 9 Tf");
        QTest::newRow("courier 8") << "inCourierNew81"
                                   << "Courier" << QByteArray("/F5 8 Tf");
        QTest::newRow("courier 7") << "inCourierNew71"
                                   << "Courier" << QByteArray("/F5 7 Tf");
    }
    void textOnlyCommandsUseTheirFontAndSize()
    {
        QFETCH(QString, action);
        QFETCH(QString, font);
        QFETCH(QByteArray, selection);
        ExportWindow w(paragraphsRtf({ QStringLiteral("Keep (these) \\ and {those}."), QStringLiteral("Second.") }));
        w.doc->setZoomStep(3);
        const QString zoomText = w.doc->statusText(7);
        w.doc->Editor()->setSelection(5, 3);
        ScriptedDialogs &dialogs = w.fx.dialogs();
        const QString path = w.out(QStringLiteral("doc.rtf - PDF.pdf"));
        QDir().mkpath(w.fx.file(QStringLiteral("out")));
        dialogs.answerSave(path);
        dialogs.answerMessage(Dialogs::Ok);
        trigger(w.doc, action);

        const Dialogs::FileRequest request = dialogs.shown().first().file;
        QCOMPARE(request.fileName, w.fx.file(QStringLiteral("doc.rtf - PDF")));
        QCOMPARE(request.title, QStringLiteral("Export Document As PDF (Text Only)"));
        QCOMPARE(request.filterIndex, 2);
        QCOMPARE(dialogs.lastMessage(), QStringLiteral("Export To PDF doc.rtf - PDF.pdf Completed."));
        QVERIFY(pdfUncompressed(path).contains("/BaseFont /" + font.toLatin1()));
        QVERIFY(pdfUncompressed(path).contains(selection));
        QCOMPARE(pdfTextLines(path),
            (QStringList { QStringLiteral("Keep {these} \\ and {those}."), QStringLiteral("Second.") }));
        // The zoom comes back, the caret goes to the start.
        QCOMPARE(w.doc->ZoomStep(), 3);
        QCOMPARE(w.doc->statusText(7), zoomText);
        QCOMPARE(w.doc->Editor()->selStart(), 0);
        QCOMPARE(w.doc->Editor()->selLength(), 0);
    }

    // The lines are those of the window at 100 %, whatever zoom the window was at (the zoom
    // widens the text column).
    void textOnlyLinesAreTakenAtFullSize()
    {
        QStringList paragraphs;
        for (int i = 1; i <= 6; ++i)
            paragraphs.append(QStringLiteral("Paragraph %1 runs on for a while, long enough to wrap onto a second line "
                                             "in the window and more at a larger zoom of the text. ")
                                  .arg(i)
                                  .repeated(2));
        ExportWindow w(paragraphsRtf(paragraphs), 400);
        QCoreApplication::processEvents();
        const QStringList atFullSize = w.doc->Editor()->displayLines();
        const QString path = w.fx.file(QStringLiteral("lines.pdf"));
        w.fx.dialogs().answerSave(path);
        w.fx.dialogs().answerMessage(Dialogs::Ok);
        trigger(w.doc, QStringLiteral("inTimesRoman121"));
        const QStringList expected = pdfTextLines(path);
        QCOMPARE(expected.size(), atFullSize.size());

        w.doc->setZoomStep(4);
        QCoreApplication::processEvents();
        QVERIFY(w.doc->Editor()->displayLines() != atFullSize);
        w.fx.dialogs().answerSave(path);
        w.fx.dialogs().answerMessage(Dialogs::Ok);
        trigger(w.doc, QStringLiteral("inTimesRoman121"));
        QCOMPARE(pdfTextLines(path), expected);
        QCOMPARE(w.doc->ZoomStep(), 4);
    }

    void textOnlyPdfHasFiftyLinesAPage_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("pages");
        QTest::newRow("49") << 49 << 1;
        QTest::newRow("50") << 50 << 1;
        QTest::newRow("51") << 51 << 2;
        QTest::newRow("101") << 101 << 3;
    }
    void textOnlyPdfHasFiftyLinesAPage()
    {
        QFETCH(int, lines);
        QFETCH(int, pages);
        ExportWindow w(paragraphsRtf(numberedLines(lines)));
        QCOMPARE(w.doc->Editor()->displayLines().size(), lines);
        const QString path = w.fx.file(QStringLiteral("lines.pdf"));
        w.fx.dialogs().answerSave(path);
        w.fx.dialogs().answerMessage(Dialogs::Ok);
        trigger(w.doc, QStringLiteral("inCourierNew81"));
        QCOMPARE(pdfPages(path), pages);
        QCOMPARE(pdfPageSize(path), QStringLiteral("596 x 842"));
        const QStringList text = pdfTextLines(path);
        QStringList expected;
        for (int i = 1; i <= lines; ++i) {
            expected.append(QStringLiteral("Line %1").arg(i));
            if (i % 50 == 0 && i < lines)
                expected.append(QStringLiteral("\f"));
        }
        QCOMPARE(text, expected);
    }

    void fullLayoutPdfHasOneImagePerPage()
    {
        ExportWindow w(longRtf(12));
        const int expected = laidOutPages(w.doc, ExportPageGeometry::pdfPage());
        QVERIFY2(expected >= 2, qPrintable(QString::number(expected)));
        struct ShowCounter : QObject
        {
            int shows = 0;
            bool eventFilter(QObject *, QEvent *event) override
            {
                shows += event->type() == QEvent::Show;
                return false;
            }
        } counter;
        w.progress->installEventFilter(&counter);

        ScriptedDialogs &dialogs = w.fx.dialogs();
        const QString path = w.fx.file(QStringLiteral("doc - PDF.pdf"));
        dialogs.answerSave(path);
        dialogs.answerMessage(Dialogs::Ok);
        trigger(w.doc, QStringLiteral("PortableDocumentFormatpdf1"));
        const Dialogs::FileRequest request = dialogs.shown().first().file;
        QCOMPARE(request.fileName, w.fx.file(QStringLiteral("doc - PDF")));
        QCOMPARE(request.filterIndex, 1);
        QCOMPARE(dialogs.lastMessage(), QStringLiteral("Document succesfully exported to PDF format."));
        QCOMPARE(pdfPages(path), expected);
        QCOMPARE(pdfPageSize(path), QStringLiteral("596 x 842"));
        QCOMPARE(run(QStringLiteral("qpdf"), { QStringLiteral("--check"), path }).exitCode, 0);
        const QList<QByteArray> images
            = run(QStringLiteral("pdfimages"), { QStringLiteral("-list"), path }).out.trimmed().split('\n');
        QCOMPARE(images.size(), 2 + expected);
        QVERIFY(images[2].simplified().startsWith("1 0 image 693 950"));
        // The progress window was up during the export and is closed and reset after it.
        QCOMPARE(counter.shows, 1);
        QVERIFY(!w.progress->isVisible());
        QCOMPARE(w.progress->lblProgBar->text(), QStringLiteral("0%"));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void pageImageCommandsWriteOneFilePerPage_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<int>("filter");
        QTest::newRow("bmp") << "WindowsBitmapbmp1"
                             << " - BMP"
                             << ".bmp" << 3;
        QTest::newRow("emf") << "WindowsEnhancedMetafileemf1"
                             << " - EMF"
                             << ".emf" << 4;
        QTest::newRow("png") << "PortableNetworkGraphicpng1"
                             << " - PNG"
                             << ".png" << 5;
        QTest::newRow("jpg") << "JointPhotographicExpertsGroupjpg1"
                             << " - JPG"
                             << ".jpg" << 6;
        QTest::newRow("tiff") << "TaggedInformationFileFormattiff1"
                              << " - TIFF"
                              << ".tiff" << 7;
    }
    void pageImageCommandsWriteOneFilePerPage()
    {
        QFETCH(QString, action);
        QFETCH(QString, suffix);
        QFETCH(QString, extension);
        QFETCH(int, filter);
        ExportWindow w(longRtf(12));
        const int pages = laidOutPages(w.doc, ExportPageGeometry::imagePage());
        QVERIFY(pages >= 2);
        QDir().mkpath(w.fx.file(QStringLiteral("out")));
        ScriptedDialogs &dialogs = w.fx.dialogs();
        dialogs.answerSave(w.out(QStringLiteral("doc") + suffix + extension));
        dialogs.answerMessage(Dialogs::Ok);
        trigger(w.doc, action);
        QCOMPARE(dialogs.shown().first().file.fileName, w.fx.file(QStringLiteral("doc") + suffix));
        QCOMPARE(dialogs.shown().first().file.filterIndex, filter);
        QCOMPARE(dialogs.lastMessage(), pageMessage(pages));

        QStringList expected;
        for (int n = 1; n <= pages; ++n)
            expected.append(QStringLiteral("doc%1 - Page %2%3").arg(suffix).arg(n).arg(extension));
        expected.sort();
        QCOMPARE(w.written(), expected);
        for (const QString &name : expected) {
            const QString file = w.out(name);
            if (extension == QLatin1String(".emf")) {
                const QByteArray bytes = ShellFixture::readFile(file);
                QVERIFY(bytes.startsWith(QByteArray("\x01\0\0\0", 4)));
                QCOMPARE(bytes.mid(40, 4), QByteArray(" EMF"));
                continue;
            }
            QImageReader reader(file);
            const QImage image = reader.read();
            QVERIFY2(!image.isNull(), qPrintable(name + u' ' + reader.errorString()));
            QCOMPARE(image.size(), QSize(693, 950));
            QCOMPARE(image.hasAlphaChannel(), extension == QLatin1String(".png"));
        }
    }

    void gifCommandTakesTheViewingTime()
    {
        ExportWindow w(longRtf(12));
        const int pages = laidOutPages(w.doc, ExportPageGeometry::imagePage());
        w.interval->spnSeconds->setValue(7);
        ScriptedDialogs &dialogs = w.fx.dialogs();
        dialogs.answerSave(w.fx.file(QStringLiteral("doc - GIFA.gif")));
        dialogs.answerMessage(Dialogs::Ok);
        ModalCloser closer;
        trigger(w.doc, QStringLiteral("GraphicsInterchangeFormatgif1"));
        QCOMPARE(closer.titles(), QStringList { QStringLiteral("Viewing Time Interval") });
        QCOMPARE(dialogs.lastMessage(), QStringLiteral("Document Succesfully Exported to GIF Animated Format."));
        const Animation gif = readAnimation(w.fx.file(QStringLiteral("doc - GIFA.gif")));
        QCOMPARE(gif.frames.size(), pages);
        QCOMPARE(gif.loopCount, -1); // endless
        for (int i = 0; i < pages; ++i) {
            QCOMPARE(gif.frames[i].size(), QSize(693, 950));
            QCOMPARE(gif.delays[i], 7000);
        }
    }

    void presentationCommandTakesItsOptions()
    {
        ExportWindow w(longRtf(6));
        w.presentation->selectPageSize(PresentationOptions::PageSize::Screen);
        w.presentation->stepScreenSize(+1);
        w.presentation->spnSeconds->setValue(10);
        w.presentation->chkFrame->setChecked(true);
        const int pages = laidOutPages(w.doc, w.presentation->options().geometry());
        ScriptedDialogs &dialogs = w.fx.dialogs();
        dialogs.answerSave(w.fx.file(QStringLiteral("doc - VMP.vmp")));
        dialogs.answerMessage(Dialogs::Ok);
        ModalCloser closer;
        trigger(w.doc, QStringLiteral("VelmoraPresentationFileFormatvmp1"));
        QCOMPARE(closer.titles(), QStringList { QStringLiteral("Presentation Options") });
        QCOMPARE(dialogs.shown().first().file.title,
            QStringLiteral("Export Document As Velmora Presentation File Format - Animated"));
        QCOMPARE(dialogs.lastMessage(),
            QStringLiteral("Document Succesfully Exported to Velmora Presentation File Format."));
        const Animation vmp = readAnimation(w.fx.file(QStringLiteral("doc - VMP.vmp")));
        QVERIFY(pages >= 2);
        QCOMPARE(vmp.frames.size(), pages);
        for (int i = 0; i < pages; ++i) {
            QCOMPARE(vmp.frames[i].size(), QSize(900, 675));
            QCOMPARE(vmp.delays[i], 10000);
            const QColor corner = vmp.frames[i].pixelColor(1, 1);
            QVERIFY2(qAbs(corner.red() - 0) < 8 && qAbs(corner.green() - 128) < 8 && qAbs(corner.blue() - 192) < 8,
                qPrintable(corner.name()));
        }
    }

    void cancellingWritesNothing_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("pdf") << "PortableDocumentFormatpdf1";
        QTest::newRow("text pdf") << "inHelvetica111";
        QTest::newRow("png") << "PortableNetworkGraphicpng1";
        QTest::newRow("gif") << "GraphicsInterchangeFormatgif1";
        QTest::newRow("vmp") << "VelmoraPresentationFileFormatvmp1";
    }
    void cancellingWritesNothing()
    {
        QFETCH(QString, action);
        ExportWindow w(paragraphsRtf({ QStringLiteral("Some text.") }));
        const QStringList before = QDir(w.fx.docs()).entryList(QDir::Files);
        w.fx.dialogs().answerSaveCancel();
        ModalCloser closer;
        trigger(w.doc, action);
        QCOMPARE(w.fx.dialogs().shown().size(), 1);
        QCOMPARE(closer.titles(), QStringList());
        QCOMPARE(QDir(w.fx.docs()).entryList(QDir::Files), before);
        QCOMPARE(w.doc->ZoomStep(), 1);
    }
};

LUMARO_TEST_CLASS(tst_ExportMenu)
#include "tst_exportmenu.moc"
