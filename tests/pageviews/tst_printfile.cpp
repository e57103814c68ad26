#include "editor/PageViewHost.h"
#include "editor/PageViews.h"
#include "editor/richtext/RxRichEdit.h"
#include "pages/DocumentPrinting.h"
#include "pages/GmPreview.h"
#include "pages/GmPrinter.h"
#include "tests/shell/HeadlessRun.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTextCursor>

namespace {

const QString kQueue = QStringLiteral("LumaroFile");

struct Result
{
    bool ok = false;
    QString output;
};

Result run(const QString &program, const QStringList &arguments, int timeoutMs = 20000)
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
    return run(QStringLiteral("lpstat"), { QStringLiteral("-r") }, 5000)
        .output.contains(QStringLiteral("scheduler is running"));
}

// The print system writes file queues only when FileDevice is allowed; the line has to be in
// place before the scheduler starts.
bool allowFileDevice()
{
    const QString path = QStringLiteral("/etc/cups/cups-files.conf");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = file.readAll();
    file.close();
    if (QRegularExpression(QStringLiteral("(?m)^FileDevice\\s+Yes")).match(QString::fromLatin1(text)).hasMatch())
        return true;
    if (!file.open(QIODevice::Append))
        return false;
    file.write("\nFileDevice Yes\n");
    return true;
}

class Host : public PageViewHost
{
public:
    TRxRichEdit editor;
    TRxRichEdit &pageViewEditor() override { return editor; }
    void pageViewsChanged(bool, bool, bool) override { }
    QPoint thumbnailPointerPosition() const override { return QPoint(0, 0); }
    void saveViewSettings(bool, bool, bool) override { }
    void saveMouseRepositioning(bool) override { }
};

} // namespace

// Prints through a CUPS queue that writes a PDF file with text (set up here, scheduler started
// here when it is not running), and reads the text back with pdftotext.
class tst_PrintFile : public QObject
{
    Q_OBJECT

    QString m_skipReason;
    QTemporaryDir m_spool;
    QString m_output;

    void waitForOutput(qint64 notBefore)
    {
        QElapsedTimer wait;
        wait.start();
        while (wait.elapsed() < 90000) {
            const bool idle
                = run(QStringLiteral("lpstat"), { QStringLiteral("-o"), kQueue }, 5000).output.trimmed().isEmpty();
            const QFileInfo info(m_output);
            if (idle && info.exists() && info.size() > 0 && info.lastModified().toMSecsSinceEpoch() >= notBefore)
                return;
            QTest::qWait(250);
        }
    }

    QString printedText()
    {
        const Result text
            = run(QStringLiteral("pdftotext"), { QStringLiteral("-layout"), m_output, QStringLiteral("-") });
        return text.ok ? text.output : QString();
    }

    int printedPages()
    {
        const Result info = run(QStringLiteral("pdfinfo"), { m_output });
        const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info.output);
        return pages.hasMatch() ? pages.captured(1).toInt() : -1;
    }

    qint64 startJob()
    {
        QFile::remove(m_output);
        return QDateTime::currentMSecsSinceEpoch() - 2000;
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("lpstat")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            m_skipReason = QStringLiteral("the CUPS client programs or pdftotext are not installed");
            return;
        }
        const bool allowed = allowFileDevice();
        if (!schedulerRunning()) {
            if (!QFile::exists(QStringLiteral("/usr/sbin/cupsd"))) {
                m_skipReason = QStringLiteral("cupsd is not installed");
                return;
            }
            QDir().mkpath(QStringLiteral("/run/cups"));
            run(QStringLiteral("/usr/sbin/cupsd"), {}, 10000);
            QElapsedTimer wait;
            wait.start();
            while (!schedulerRunning() && wait.elapsed() < 15000)
                QTest::qWait(250);
            if (!schedulerRunning()) {
                m_skipReason = QStringLiteral("cupsd is not running and could not be started (needs root)");
                return;
            }
        }
        QFile::setPermissions(m_spool.path(),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                | QFileDevice::WriteOther | QFileDevice::ExeOther | QFileDevice::ReadGroup | QFileDevice::WriteGroup
                | QFileDevice::ExeGroup);
        m_output = m_spool.filePath(QStringLiteral("print.pdf"));
        const Result added = run(QStringLiteral("lpadmin"),
            { QStringLiteral("-p"), kQueue, QStringLiteral("-E"), QStringLiteral("-v"),
                QStringLiteral("file://") + m_output, QStringLiteral("-m"),
                QStringLiteral("lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd") });
        if (!added.ok) {
            m_skipReason = allowed ? QStringLiteral("cannot add the file queue: ") + added.output
                                   : QStringLiteral("file queues are not allowed (FileDevice) and cannot be allowed");
            return;
        }
        QElapsedTimer wait;
        wait.start();
        while (!TGmPrinter::Printers().contains(kQueue) && wait.elapsed() < 10000)
            QTest::qWait(250);
        QVERIFY(TGmPrinter::Printers().contains(kQueue));
    }

    void commandLinePrintsTheDocument()
    {
        if (!m_skipReason.isEmpty())
            QSKIP(qPrintable(m_skipReason));
        QTemporaryDir dir;
        const QString document = dir.filePath(QStringLiteral("letter.rtf"));
        QFile file(document);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 Dear reader, zebraquartz is the word.\\par}");
        file.close();

        const qint64 since = startJob();
        const HeadlessRun printed
            = runHeadless({ QStringLiteral("--print"), QStringLiteral("--printer"), kQueue, document }, dir.path());
        QCOMPARE(printed.exitCode, 0);
        QVERIFY2(printed.out.contains(kQueue), qPrintable(printed.out + printed.err));
        waitForOutput(since);
        QVERIFY2(printedText().contains(QStringLiteral("zebraquartz")), qPrintable(printedText()));

        // No such printer, or a queue that refuses jobs: a clear message and status 1.
        const HeadlessRun unknown = runHeadless(
            { QStringLiteral("--print"), QStringLiteral("--printer"), QStringLiteral("NoSuchQueue"), document },
            dir.path());
        QCOMPARE(unknown.exitCode, 1);
        QVERIFY(unknown.err.contains(QStringLiteral("no printer named NoSuchQueue")));
        QVERIFY(run(QStringLiteral("cupsreject"), { kQueue }).ok);
        const HeadlessRun refused
            = runHeadless({ QStringLiteral("--print"), QStringLiteral("--printer"), kQueue, document }, dir.path());
        run(QStringLiteral("cupsaccept"), { kQueue });
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.err.contains(QStringLiteral("does not accept jobs")), qPrintable(refused.err));
    }

    void printAllWithTheStripPrintsTheNewestText()
    {
        if (!m_skipReason.isEmpty())
            QSKIP(qPrintable(m_skipReason));
        TGmPrinter::SetProgramPrinter(kQueue);
        QWidget window;
        Host host;
        host.editor.setParent(&window);
        host.editor.setPlainText(QStringLiteral("First words of the letter."));
        PageViews views(host, &window);
        views.PrintViewClick();
        // Typed after the strip was made; no refresh yet.
        QTextCursor c(host.editor.document());
        c.movePosition(QTextCursor::End);
        c.insertText(QStringLiteral(" Newest typed word: xylophonic."));

        DocumentPrinting::Context context;
        context.editor = &host.editor;
        context.preview = views.GmPreview1();
        context.documentPath = QStringLiteral("/tmp/letter.rtf");
        context.stripVisible = true;
        context.updatePages = [&] { views.UpdatePrintPages(); };
        const qint64 since = startJob();
        DocumentPrinting::Print(context, true);
        QCOMPARE(ScriptedDialogs::installed().unexpectedCount(), 0);
        waitForOutput(since);
        const QString text = printedText();
        QVERIFY2(text.contains(QStringLiteral("xylophonic")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("First words")));
    }

    void reversedRangeAndTwoUp()
    {
        if (!m_skipReason.isEmpty())
            QSKIP(qPrintable(m_skipReason));
        TGmPrinter::SetProgramPrinter(kQueue);
        QWidget window;
        Host host;
        host.editor.setParent(&window);
        QTextCursor c(host.editor.document());
        const QStringList names { QStringLiteral("Alphapage"), QStringLiteral("Bravopage"),
            QStringLiteral("Charliepage") };
        for (int i = 0; i < names.size(); ++i) {
            if (i) {
                QTextBlockFormat f;
                f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                c.insertBlock(f);
            }
            c.insertText(names[i]);
        }
        PageViews views(host, &window);
        views.PrintViewClick();
        TGmPreview *preview = views.GmPreview1();
        QCOMPARE(preview->PageCount(), 3);

        qint64 since = startJob();
        QVERIFY(preview->PrintRange(3, 1));
        waitForOutput(since);
        QCOMPARE(printedPages(), 3);
        const QString text = printedText();
        const qsizetype a = text.indexOf(names[0]);
        const qsizetype b = text.indexOf(names[1]);
        const qsizetype cc = text.indexOf(names[2]);
        QVERIFY2(a >= 0 && b >= 0 && cc >= 0, qPrintable(text));
        QVERIFY2(cc < b && b < a, qPrintable(text));

        preview->SetPagesPerSheet(gmTwoPage);
        since = startJob();
        QVERIFY(preview->PrintAll());
        waitForOutput(since);
        QCOMPARE(printedPages(), 2);

        // A job aborted after its first page stops there and is ended: the next one prints.
        preview->SetPagesPerSheet(gmOnePage);
        const QMetaObject::Connection abort = connect(&preview->PageList(), &TGmPageList::printProgress, this,
            [preview](int done, int) {
                if (done == 1)
                    preview->GmPrinter().SetAborted(true);
            });
        QSignalSpy progress(&preview->PageList(), &TGmPageList::printProgress);
        QVERIFY(!preview->PrintAll());
        disconnect(abort);
        QCOMPARE(progress.count(), 1);
        QVERIFY(!preview->GmPrinter().Printing());
        since = startJob();
        QVERIFY(preview->PrintCurrentPage());
        waitForOutput(since);
        QCOMPARE(printedPages(), 1);
    }

    void cleanupTestCase()
    {
        if (m_skipReason.isEmpty())
            run(QStringLiteral("lpadmin"), { QStringLiteral("-x"), kQueue });
    }
};

LUMARO_TEST_CLASS(tst_PrintFile)
#include "tst_printfile.moc"
