#include "tests/shell/ShellFixture.h"
#include "tests/shell/HeadlessRun.h"

#include <QDir>

namespace {

HeadlessRun lumaro(const QStringList &arguments, const QString &workingDir)
{
    return runHeadless(arguments, workingDir);
}

} // namespace

class tst_Convert : public QObject
{
    Q_OBJECT

private slots:
    void everyFormatRoundTrips_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("rtf") << "rtf"
                             << "letter.rtf" << QByteArray("{\\rtf");
        QTest::newRow("doc") << "doc"
                             << "letter.doc" << QByteArray("{\\rtf");
        QTest::newRow("rtc") << "rtc"
                             << "letter.rtc" << QByteArray("\x78\x01");
        QTest::newRow("ktp") << "ktp"
                             << "letter.ktp" << QByteArray("{\\rtf");
        QTest::newRow("txt") << "txt"
                             << "letter.txt" << QByteArray("Plain start, bold words");
        QTest::newRow("utxt") << "utxt"
                              << "letter.txt" << QByteArray("\xff\xfeP\0l\0a\0", 8);
    }
    void everyFormatRoundTrips()
    {
        QFETCH(QString, format);
        QFETCH(QString, output);
        QFETCH(QByteArray, start);
        QTemporaryDir dir;
        ShellFixture::writeFile(dir.filePath(QStringLiteral("letter.rtf")), sampleRtf());
        const HeadlessRun run = lumaro({ QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"),
                                   QStringLiteral("out"), QStringLiteral("letter.rtf") },
            dir.path());
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QString written = dir.filePath(QStringLiteral("out/") + output);
        QCOMPARE(run.out.trimmed(), QStringLiteral("letter.rtf -> ") + written);
        QVERIFY(ShellFixture::readFile(written).startsWith(start));
        QCOMPARE(QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files), QStringList { output });

        // And back to plain text: the same words.
        const HeadlessRun back
            = lumaro({ QStringLiteral("--convert-to=txt"), QStringLiteral("--outdir=back"), written }, dir.path());
        QVERIFY2(back.exitCode == 0, qPrintable(back.err));
        const QByteArray text = ShellFixture::readFile(dir.filePath(QStringLiteral("back/letter.txt")));
        QVERIFY2(text.startsWith("Plain start, bold words and italic ones.\r\nSecond paragraph."), text.constData());
    }

    void theCurrentFolderIsTheDefaultOutput()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("in"));
        ShellFixture::writeFile(dir.filePath(QStringLiteral("in/notes.txt")), "just words");
        const HeadlessRun run = lumaro(
            { QStringLiteral("--convert-to"), QStringLiteral("rtc"), QStringLiteral("in/notes.txt") }, dir.path());
        QCOMPARE(run.exitCode, 0);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("notes.rtc"))));
    }

    void badInputFailsWithAMessageAndWritesNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << QStringList { "--convert-to", "rtf", "--outdir", "out", "missing.rtf" } << 1
                                      << "missing.rtf: no such file";
        QTest::newRow("bad zlib") << QStringList { "--convert-to", "txt", "--outdir", "out", "bad.rtc" } << 1
                                  << "bad.rtc: Decompression error";
        QTest::newRow("folder") << QStringList { "--convert-to", "txt", "--outdir", "out", "." } << 1 << "is a folder";
        QTest::newRow("unknown format") << QStringList { "--convert-to", "pdfx", "--outdir", "out", "good.rtf" } << 2
                                        << "unknown format \"pdfx\"";
        QTest::newRow("no file") << QStringList { "--convert-to", "rtf", "--outdir", "out" } << 2
                                 << "at least one FILE";
        QTest::newRow("no format") << QStringList { "--convert-to" } << 2 << "needs a format";
        QTest::newRow("outdir alone") << QStringList { "--outdir", "out", "good.rtf" } << 2
                                      << "only used with --convert-to";
    }
    void badInputFailsWithAMessageAndWritesNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QTemporaryDir dir;
        ShellFixture::writeFile(dir.filePath(QStringLiteral("bad.rtc")), "{\\rtf1 not compressed}");
        ShellFixture::writeFile(dir.filePath(QStringLiteral("good.rtf")), sampleRtf());
        const HeadlessRun run = lumaro(arguments, dir.path());
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(QStringLiteral("lumaro: ")) && run.err.contains(message), qPrintable(run.err));
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("out"))));
        QCOMPARE(run.out, QString());
    }

    void oneBadFileDoesNotStopTheOthers()
    {
        QTemporaryDir dir;
        ShellFixture::writeFile(dir.filePath(QStringLiteral("good.rtf")), sampleRtf());
        ShellFixture::writeFile(dir.filePath(QStringLiteral("bad.rtc")), "garbage");
        const HeadlessRun run = lumaro({ QStringLiteral("--convert-to"), QStringLiteral("doc"), QStringLiteral("bad.rtc"),
                                   QStringLiteral("good.rtf") },
            dir.path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(QStringLiteral("bad.rtc")));
        QVERIFY(run.out.contains(QStringLiteral("good.rtf -> ")));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("good.doc"))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("bad.doc"))));
    }

    void outputNeverReplacesItsInput()
    {
        QTemporaryDir dir;
        ShellFixture::writeFile(dir.filePath(QStringLiteral("same.rtf")), sampleRtf());
        const HeadlessRun run
            = lumaro({ QStringLiteral("--convert-to"), QStringLiteral("rtf"), QStringLiteral("same.rtf") }, dir.path());
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.contains(QStringLiteral("replace the input")));
        QCOMPARE(ShellFixture::readFile(dir.filePath(QStringLiteral("same.rtf"))), sampleRtf());
    }

    void helpDocumentsTheConversion()
    {
        const HeadlessRun run = lumaro({ QStringLiteral("--help") }, QDir::tempPath());
        QCOMPARE(run.exitCode, 0);
        for (const char *word : { "--convert-to FORMAT", "--outdir DIR", "utxt", "rtc", "ktp" })
            QVERIFY2(run.out.contains(QLatin1String(word)), word);
    }
};

LUMARO_TEST_CLASS(tst_Convert)
#include "tst_convert.moc"
