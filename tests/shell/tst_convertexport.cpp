#include "editor/DocumentConverter.h"
#include "tests/shell/HeadlessRun.h"
#include "export/ExportRequest.h"
#include "tests/shell/ExportChecks.h"
#include "tests/shell/ShellFixture.h"

#include <QDir>
#include <QImageReader>
#include <QRegularExpression>

using namespace ExportChecks;

namespace {

HeadlessRun lumaro(const QStringList &arguments, const QString &workingDir)
{
    return runHeadless(arguments, workingDir);
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QStringList pageFiles(const QString &base, int pages, const QString &extension)
{
    QStringList names;
    for (int n = 1; n <= pages; ++n)
        names.append(QStringLiteral("%1 - Page %2%3").arg(base).arg(n).arg(extension));
    names.sort();
    return names;
}

} // namespace

class tst_ConvertExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(QFile::exists(QStringLiteral(LUMARO_BINARY_DIR "/lumaro"))); }

    void pdfFormats_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("font");
        QTest::addColumn<QByteArray>("selection");
        QTest::newRow("pdf") << "pdf" << QString() << QByteArray("/Im1 Do");
        QTest::newRow("pdf-text") << "pdf-text"
                                  << "Times-Roman" << QByteArray("/F9 12 Tf");
        QTest::newRow("pdf-text:helvetica") << "pdf-text:helvetica"
                                            << "Helvetica" << QByteArray("/F1 12 Tf");
        QTest::newRow("pdf-text:courier:7") << "pdf-text:courier:7"
                                            << "Courier" << QByteArray("/F5 7 Tf");
        QTest::newRow("upper case") << "PDF-Text:Times:10"
                                    << "Times-Roman" << QByteArray("/F9 10 Tf");
    }
    void pdfFormats()
    {
        QFETCH(QString, format);
        QFETCH(QString, font);
        QFETCH(QByteArray, selection);
        QTemporaryDir dir;
        ShellFixture::writeFile(dir.filePath(QStringLiteral("letter.rtf")),
            paragraphsRtf({ QStringLiteral("Dear (reader) \\ {friend},"), QStringLiteral("two lines.") }));
        const HeadlessRun run = lumaro({ QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"),
                                   QStringLiteral("out"), QStringLiteral("letter.rtf") },
            dir.path());
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QString pdf = dir.filePath(QStringLiteral("out/letter.pdf"));
        QCOMPARE(run.outLines(), QStringList { QStringLiteral("letter.rtf -> ") + pdf });
        QCOMPARE(filesIn(dir.filePath(QStringLiteral("out"))), QStringList { QStringLiteral("letter.pdf") });
        QCOMPARE(pdfPages(pdf), 1);
        QCOMPARE(pdfPageSize(pdf), QStringLiteral("596 x 842"));
        QCOMPARE(ExportChecks::run(QStringLiteral("qpdf"), { QStringLiteral("--check"), pdf }).exitCode, 0);
        QVERIFY(pdfUncompressed(pdf).contains(selection));
        if (font.isEmpty()) {
            QCOMPARE(pdfTextLines(pdf), QStringList()); // page images only
        } else {
            QVERIFY(pdfUncompressed(pdf).contains("/BaseFont /" + font.toLatin1()));
            QCOMPARE(pdfTextLines(pdf),
                (QStringList { QStringLiteral("Dear {reader} \\ {friend},"), QStringLiteral("two lines.") }));
        }
    }

    void textPdfPagesHoldFiftyLines()
    {
        QTemporaryDir dir;
        ShellFixture::writeFile(
            dir.filePath(QStringLiteral("lines.txt")), numberedLines(51).join(QStringLiteral("\r\n")).toLatin1());
        const HeadlessRun run
            = lumaro({ QStringLiteral("--convert-to=pdf-text:courier:9"), QStringLiteral("lines.txt") }, dir.path());
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QString pdf = dir.filePath(QStringLiteral("lines.pdf"));
        QCOMPARE(pdfPages(pdf), 2);
        const QStringList text = pdfTextLines(pdf);
        QCOMPARE(text.size(), 52);
        QCOMPARE(text[49], QStringLiteral("Line 50"));
        QCOMPARE(text[50], QStringLiteral("\f"));
        QCOMPARE(text[51], QStringLiteral("Line 51"));
    }

    void pageImageFormats_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("extension");
        QTest::newRow("bmp") << "bmp"
                             << ".bmp";
        QTest::newRow("emf") << "emf"
                             << ".emf";
        QTest::newRow("png") << "png"
                             << ".png";
        QTest::newRow("jpg") << "jpg"
                             << ".jpg";
        QTest::newRow("tiff") << "tiff"
                              << ".tiff";
    }
    void pageImageFormats()
    {
        QFETCH(QString, format);
        QFETCH(QString, extension);
        QTemporaryDir dir;
        ShellFixture::writeFile(dir.filePath(QStringLiteral("long.rtf")), longRtf(12));
        // The full-layout PDF of the same document tells how many pages it has.
        const HeadlessRun pdf
            = lumaro({ QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("long.rtf") }, dir.path());
        QVERIFY2(pdf.exitCode == 0, qPrintable(pdf.err));
        const int pages = pdfPages(dir.filePath(QStringLiteral("long.pdf")));
        QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));

        const HeadlessRun run = lumaro({ QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"),
                                   QStringLiteral("out"), QStringLiteral("long.rtf") },
            dir.path());
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QStringList expected = pageFiles(QStringLiteral("long"), pages, extension);
        QCOMPARE(filesIn(dir.filePath(QStringLiteral("out"))), expected);
        QCOMPARE(run.outLines().size(), pages);
        QCOMPARE(run.outLines().first(),
            QStringLiteral("long.rtf -> ") + dir.filePath(QStringLiteral("out/long - Page 1")) + extension);
        for (const QString &name : expected) {
            const QString file = dir.filePath(QStringLiteral("out/") + name);
            if (format == QLatin1String("emf")) {
                const QByteArray bytes = ShellFixture::readFile(file);
                QVERIFY(bytes.startsWith(QByteArray("\x01\0\0\0", 4)));
                QCOMPARE(bytes.mid(40, 4), QByteArray(" EMF"));
                continue;
            }
            QImageReader reader(file);
            const QImage image = reader.read();
            QVERIFY2(!image.isNull(), qPrintable(name + u' ' + reader.errorString()));
            QCOMPARE(image.size(), QSize(693, 950));
        }
    }

    void animatedFormats_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("delay");
        QTest::addColumn<QColor>("corner");
        QTest::newRow("gif") << "gif"
                             << "long.gif" << QSize(693, 950) << 5000 << QColor(Qt::white);
        QTest::newRow("vmp") << "vmp"
                             << "long.vmp" << QSize(693, 950) << 15000 << QColor(Qt::white);
        QTest::newRow("vmp half") << "vmp:half:10:on"
                                  << "long.vmp" << QSize(693, 485) << 10000 << QColor(0, 128, 192);
        QTest::newRow("vmp 1000") << "vmp:1000:60:#c03020"
                                  << "long.vmp" << QSize(1000, 750) << 60000 << QColor(0xc0, 0x30, 0x20);
        QTest::newRow("vmp 900 no frame") << "vmp:900:5:off"
                                          << "long.vmp" << QSize(900, 675) << 5000 << QColor(Qt::white);
    }
    void animatedFormats()
    {
        QFETCH(QString, format);
        QFETCH(QString, output);
        QFETCH(QSize, size);
        QFETCH(int, delay);
        QFETCH(QColor, corner);
        QTemporaryDir dir;
        ShellFixture::writeFile(dir.filePath(QStringLiteral("long.rtf")), longRtf(8));
        const HeadlessRun run = lumaro({ QStringLiteral("--convert-to"), format, QStringLiteral("long.rtf") }, dir.path());
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(run.outLines(), QStringList { QStringLiteral("long.rtf -> ") + dir.filePath(output) });
        const Animation animation = readAnimation(dir.filePath(output));
        QVERIFY(animation.frames.size() >= 2);
        QCOMPARE(animation.loopCount, -1); // endless
        for (qsizetype i = 0; i < animation.frames.size(); ++i) {
            QCOMPARE(animation.frames[i].size(), size);
            QCOMPARE(animation.delays[i], delay);
            const QColor c = animation.frames[i].pixelColor(1, 1);
            QVERIFY2(qAbs(c.red() - corner.red()) < 8 && qAbs(c.green() - corner.green()) < 8
                    && qAbs(c.blue() - corner.blue()) < 8,
                qPrintable(c.name()));
        }
        QCOMPARE(ShellFixture::readFile(dir.filePath(output)).left(6), QByteArray("GIF89a"));
    }

    // A half page holds about half the text of a full one.
    void halfPagesAreAboutTwiceAsMany()
    {
        QTemporaryDir dir;
        ShellFixture::writeFile(dir.filePath(QStringLiteral("long.rtf")), longRtf(16));
        int frames[2] = {};
        const QStringList formats = { QStringLiteral("vmp:full"), QStringLiteral("vmp:half") };
        for (int i = 0; i < 2; ++i) {
            const HeadlessRun run = lumaro({ QStringLiteral("--convert-to"), formats[i], QStringLiteral("--outdir"),
                                       QString::number(i), QStringLiteral("long.rtf") },
                dir.path());
            QVERIFY2(run.exitCode == 0, qPrintable(run.err));
            frames[i]
                = int(readAnimation(dir.filePath(QString::number(i) + QStringLiteral("/long.vmp"))).frames.size());
        }
        QVERIFY2(frames[0] >= 2 && frames[1] >= 2 * frames[0] - 1 && frames[1] <= 2 * frames[0] + 1,
            qPrintable(QStringLiteral("%1 full, %2 half").arg(frames[0]).arg(frames[1])));
    }

    // The page files of the command line are those of the menu command for the same chosen name.
    void sameFilesAsTheMenuCommand()
    {
        ShellFixture fx;
        const QString source = fx.file(QStringLiteral("letter.rtf"));
        ShellFixture::writeFile(source, longRtf(8));
        TFrameForm *frame = fx.showFrame({ source });
        TEditForm *doc = frame->activeDocument();
        QVERIFY(doc);
        QDir(fx.docs()).mkdir(QStringLiteral("menu"));
        fx.dialogs().answerSave(fx.file(QStringLiteral("menu/letter.png")));
        fx.dialogs().answerMessage(Dialogs::Ok);
        doc->findChild<QAction *>(QStringLiteral("PortableNetworkGraphicpng1"))->trigger();
        QCOMPARE(fx.dialogs().unexpectedCount(), 0);

        const HeadlessRun run = lumaro({ QStringLiteral("--convert-to"), QStringLiteral("png"), QStringLiteral("--outdir"),
                                   QStringLiteral("cli"), QStringLiteral("letter.rtf") },
            fx.docs());
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QStringList menuFiles = filesIn(fx.file(QStringLiteral("menu")));
        QVERIFY(menuFiles.size() >= 2);
        QCOMPARE(filesIn(fx.file(QStringLiteral("cli"))), menuFiles);
        for (const QString &name : menuFiles) {
            const QImage a = QImage(fx.file(QStringLiteral("menu/") + name)).convertToFormat(QImage::Format_ARGB32);
            const QImage b = QImage(fx.file(QStringLiteral("cli/") + name)).convertToFormat(QImage::Format_ARGB32);
            QVERIFY(!a.isNull());
            QVERIFY2(a == b, qPrintable(name));
        }
    }

    void badExportOptionsFailAndWriteNothing_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown") << "pdfa"
                                 << "unknown format \"pdfa\"";
        QTest::newRow("options on png") << "png:big"
                                        << "png takes no options";
        QTest::newRow("options on rtf") << "rtf:x"
                                        << "rtf takes no options";
        QTest::newRow("font") << "pdf-text:arial"
                              << "unknown font \"arial\"";
        QTest::newRow("size") << "pdf-text:helvetica:9"
                              << "size \"9\" is not offered for helvetica";
        QTest::newRow("size not a number") << "pdf-text:courier:x"
                                           << "size \"x\"";
        QTest::newRow("too many") << "pdf-text:times:12:1"
                                  << "at most FONT:SIZE";
        QTest::newRow("page size") << "vmp:700"
                                   << "unknown page size \"700\"";
        QTest::newRow("seconds low") << "vmp:full:4"
                                     << "from 5 to 60";
        QTest::newRow("seconds high") << "vmp:full:61"
                                      << "from 5 to 60";
        QTest::newRow("frame") << "vmp:full:15:blue"
                               << "frame \"blue\"";
    }
    void badExportOptionsFailAndWriteNothing()
    {
        QFETCH(QString, format);
        QFETCH(QString, message);
        QTemporaryDir dir;
        ShellFixture::writeFile(dir.filePath(QStringLiteral("good.rtf")), sampleRtf());
        const HeadlessRun run = lumaro({ QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"),
                                   QStringLiteral("out"), QStringLiteral("good.rtf") },
            dir.path());
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith(QStringLiteral("lumaro: ")) && run.err.contains(message), qPrintable(run.err));
        QCOMPARE(run.outLines(), QStringList());
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("out"))));
    }

    void unreadableInputsFailAndTheRestIsWritten()
    {
        QTemporaryDir dir;
        ShellFixture::writeFile(dir.filePath(QStringLiteral("bad.rtc")), "not a zlib stream");
        ShellFixture::writeFile(dir.filePath(QStringLiteral("good.rtf")), sampleRtf());
        const HeadlessRun run = lumaro(
            { QStringLiteral("--convert-to"), QStringLiteral("tiff"), QStringLiteral("--outdir"), QStringLiteral("out"),
                QStringLiteral("missing.rtf"), QStringLiteral("bad.rtc"), QStringLiteral("good.rtf") },
            dir.path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("lumaro: missing.rtf: no such file")), qPrintable(run.err));
        QVERIFY2(run.err.contains(QStringLiteral("lumaro: bad.rtc: ")), qPrintable(run.err));
        QCOMPARE(filesIn(dir.filePath(QStringLiteral("out"))), QStringList { QStringLiteral("good - Page 1.tiff") });
        QCOMPARE(run.outLines(),
            QStringList { QStringLiteral("good.rtf -> ") + dir.filePath(QStringLiteral("out/good - Page 1.tiff")) });
    }

    // An output folder that cannot be written: the reason is given, and no page is left.
    void unwritableOutputFails()
    {
        QTemporaryDir dir;
        ShellFixture::writeFile(dir.filePath(QStringLiteral("good.rtf")), sampleRtf());
        ShellFixture::writeFile(dir.filePath(QStringLiteral("out")), "a file, not a folder");
        const HeadlessRun run = lumaro({ QStringLiteral("--convert-to"), QStringLiteral("png"), QStringLiteral("--outdir"),
                                   QStringLiteral("out"), QStringLiteral("good.rtf") },
            dir.path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("lumaro: good.rtf: ")), qPrintable(run.err));
        QCOMPARE(run.outLines(), QStringList());
        QCOMPARE(filesIn(dir.path()), (QStringList { QStringLiteral("good.rtf"), QStringLiteral("out") }));
    }

    // A page that cannot be written ends the export; the pages before it do not stay behind.
    void aFailedPageRemovesThePagesWrittenBeforeIt()
    {
        QTemporaryDir dir;
        ShellFixture::writeFile(dir.filePath(QStringLiteral("long.rtf")), longRtf(12));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("out/long - Page 2.png")));
        const HeadlessRun run = lumaro({ QStringLiteral("--convert-to"), QStringLiteral("png"), QStringLiteral("--outdir"),
                                   QStringLiteral("out"), QStringLiteral("long.rtf") },
            dir.path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(
            run.err.contains(QStringLiteral("lumaro: long.rtf: ")) && run.err.contains(QStringLiteral("Page 2.png")),
            qPrintable(run.err));
        QCOMPARE(run.outLines(), QStringList());
        QCOMPARE(QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList { QStringLiteral("long - Page 2.png") });
    }

    // Side by side or one after the other: the same files, lines, messages and exit status.
    void jobsGiveTheSameOutputs_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("png") << "png";
        QTest::newRow("pdf") << "pdf";
        QTest::newRow("pdf-searchable") << "pdf-searchable";
        QTest::newRow("doc") << "doc";
    }
    void jobsGiveTheSameOutputs()
    {
        QFETCH(QString, format);
        QTemporaryDir dir;
        QStringList inputs;
        for (int i = 1; i <= 20; ++i) {
            const QString name = QStringLiteral("doc%1.rtf").arg(i, 2, 10, QLatin1Char('0'));
            ShellFixture::writeFile(dir.filePath(name), longRtf(1 + i % 4));
            inputs.append(name);
        }
        // An unreadable input, and two inputs that name the same output.
        ShellFixture::writeFile(dir.filePath(QStringLiteral("bad.rtc")), "not a zlib stream");
        inputs.insert(7, QStringLiteral("bad.rtc"));
        ShellFixture::writeFile(dir.filePath(QStringLiteral("doc05.txt")), "plain words\r\n");
        inputs.insert(15, QStringLiteral("doc05.txt"));

        QList<HeadlessRun> runs;
        for (const char *jobs : {"1", "3"}) {
            const QString out = QStringLiteral("out") + QLatin1String(jobs);
            runs.append(lumaro(QStringList{QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"), out,
                                           QStringLiteral("--jobs"), QLatin1String(jobs)}
                                   + inputs,
                               dir.path()));
        }
        QCOMPARE(runs[0].exitCode, 1);
        QCOMPARE(runs[1].exitCode, runs[0].exitCode);
        QCOMPARE(QString(runs[1].out).replace(QStringLiteral("/out3/"), QStringLiteral("/out1/")), runs[0].out);
        QCOMPARE(QString(runs[1].err).replace(QStringLiteral("/out3/"), QStringLiteral("/out1/")), runs[0].err);
        QVERIFY2(runs[0].err.contains(QStringLiteral("lumaro: bad.rtc: ")), qPrintable(runs[0].err));
        QVERIFY2(runs[0].err.contains(QStringLiteral("lumaro: doc05.txt: ")), qPrintable(runs[0].err));
        QVERIFY(runs[0].outLines().size() >= 20);

        const QStringList files = filesIn(dir.filePath(QStringLiteral("out1")));
        QCOMPARE(filesIn(dir.filePath(QStringLiteral("out3"))), files);
        QVERIFY(files.size() >= 20);
        for (const QString &name : files) {
            QByteArray one = ShellFixture::readFile(dir.filePath(QStringLiteral("out1/") + name));
            QByteArray three = ShellFixture::readFile(dir.filePath(QStringLiteral("out3/") + name));
            // The PDFs carry the time they were made.
            static const QRegularExpression date(QStringLiteral("/CreationDate \\(D:[0-9Z+\\-']*\\)"));
            if (format == QLatin1String("pdf-searchable")) {
                // Qt's PDF writer gives each file an identifier of its own: the text is compared.
                const auto text = [](const QString &path) {
                    QProcess p;
                    p.start(QStringLiteral("pdftotext"), { path, QStringLiteral("-") });
                    p.waitForFinished(60000);
                    return p.readAllStandardOutput();
                };
                one = text(dir.filePath(QStringLiteral("out1/") + name));
                three = text(dir.filePath(QStringLiteral("out3/") + name));
                QVERIFY(!one.isEmpty());
            } else if (name.endsWith(QLatin1String(".pdf"))) {
                one = QString::fromLatin1(one).replace(date, QString()).toLatin1();
                three = QString::fromLatin1(three).replace(date, QString()).toLatin1();
            }
            QVERIFY2(one == three, qPrintable(name));
        }
    }

    void badJobsFail_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        const QString convert = QStringLiteral("--convert-to=rtf");
        QTest::newRow("zero") << QStringList{convert, QStringLiteral("--jobs"), QStringLiteral("0"), QStringLiteral("a.txt")}
                              << "--jobs needs a number of documents from 1 to 1024";
        QTest::newRow("word") << QStringList{convert, QStringLiteral("--jobs=many"), QStringLiteral("a.txt")}
                              << "--jobs needs a number";
        QTest::newRow("missing") << QStringList{convert, QStringLiteral("a.txt"), QStringLiteral("--jobs")}
                                 << "--jobs needs a number";
        QTest::newRow("without conversion") << QStringList{QStringLiteral("--jobs"), QStringLiteral("2"), QStringLiteral("a.txt")}
                                            << "--jobs is only used with --convert-to";
    }
    void badJobsFail()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QTemporaryDir dir;
        ShellFixture::writeFile(dir.filePath(QStringLiteral("a.txt")), "words");
        const HeadlessRun run = lumaro(arguments, dir.path());
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith(QStringLiteral("lumaro: ")) && run.err.contains(message), qPrintable(run.err));
        QCOMPARE(filesIn(dir.path()), QStringList{QStringLiteral("a.txt")});
    }

    void helpDocumentsEveryFormat()
    {
        QTemporaryDir dir;
        const HeadlessRun run = lumaro({ QStringLiteral("--help") }, dir.path());
        QCOMPARE(run.exitCode, 0);
        const QString help = run.outLines().join(u'\n');
        for (const QString &name : DocumentConverter::formatNames())
            QVERIFY2(
                help.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(QRegularExpression::escape(name)))),
                qPrintable(name));
        for (const char *text : { "pdf-text[:FONT[:SIZE]]", "pdf-searchable", "--jobs N", "times,", "helvetica", "courier",
                 "vmp[:SIZE[:SECONDS[:FRAME]]]", "full,", "half, 800, 900 or 1000", "5 to 60", "Page N" })
            QVERIFY2(help.contains(QLatin1String(text)), text);
    }
};

LUMARO_TEST_CLASS(tst_ConvertExport)
#include "tst_convertexport.moc"
