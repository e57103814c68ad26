#include "editor/DocumentFileFormats.h"
#include "editor/SaveCommands.h"
#include "editor/richtext/RxRichEdit.h"
#include "tests/shell/ShellFixture.h"

#include <QDir>
#include <QMdiSubWindow>
#include <QProcess>
#include <QTabBar>

#include <unistd.h>

namespace {

bool hasBold(const TRxRichEdit &editor)
{
    for (QTextBlock b = editor.document()->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().fontWeight() >= QFont::Bold)
                return true;
        }
    }
    return false;
}

void trigger(QObject *owner, const char *name)
{
    auto *action = owner->findChild<QAction *>(QString::fromLatin1(name));
    QVERIFY2(action, name);
    QVERIFY2(action->isEnabled(), name);
    action->trigger();
}

void type(TEditForm *document, const QString &text)
{
    document->Editor()->setFocus();
    QTest::keyClicks(document->Editor(), text);
}

QString selectedTab(TFrameForm *frame)
{
    return frame->tabBar()->tabText(frame->tabBar()->currentIndex());
}

} // namespace

class tst_DocumentWindow : public QObject
{
    Q_OBJECT

private slots:
    void saveAsWritesTheFormatOfNameAndFilter_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QByteArray>("start");
        QTest::addColumn<bool>("windowKeepsFormatting");
        QTest::addColumn<bool>("inHistory");
        QTest::newRow("rtf") << "x.rtf" << 1 << QByteArray("{\\rtf") << true << true;
        QTest::newRow("rtc level 1") << "x.rtc" << 2 << QByteArray("\x78\x01") << true << true;
        QTest::newRow("doc") << "x.doc" << 3 << QByteArray("{\\rtf") << true << true;
        QTest::newRow("ktp not in history") << "x.ktp" << 4 << QByteArray("{\\rtf") << true << false;
        QTest::newRow("filter 5 utf-16") << "x.txt" << 5 << QByteArray("\xff\xfeP\0l\0", 6) << false << false;
        QTest::newRow("filter 6 ansi") << "x.txt" << 6 << QByteArray("Plain start, bold") << false << true;
        QTest::newRow("X.RTC is rich text") << "X.RTC" << 13 << QByteArray("{\\rtf") << true << true;
        QTest::newRow("NOTES.TXT is plain") << "NOTES.TXT" << 13 << QByteArray("Plain start") << false << true;
    }
    void saveAsWritesTheFormatOfNameAndFilter()
    {
        QFETCH(QString, name);
        QFETCH(int, filter);
        QFETCH(QByteArray, start);
        QFETCH(bool, windowKeepsFormatting);
        QFETCH(bool, inHistory);
        ShellFixture fx;
        const QString source = fx.file(QStringLiteral("source.rtf"));
        ShellFixture::writeFile(source, sampleRtf());
        TFrameForm *frame = fx.showFrame({ source });
        TEditForm *doc = frame->activeDocument();
        QVERIFY(doc);
        QVERIFY(hasBold(*doc->Editor()));

        const QString path = fx.file(name);
        fx.dialogs().answerSave(path, filter);
        trigger(doc, "Saveas1");
        QCOMPARE(fx.dialogs().messageTexts(), QStringList());
        const QByteArray bytes = ShellFixture::readFile(path);
        QVERIFY2(bytes.startsWith(start), bytes.left(20).toHex().constData());
        QCOMPARE(QDir(fx.docs()).entryList(QDir::Files).size(), 2); // no temporary file left
        QCOMPARE(doc->DocumentFileName(), path);
        QCOMPARE(doc->windowTitle(), path);
        QCOMPARE(selectedTab(frame), name);
        // The frame's caption is the document's; nothing of the program's name is appended to it
        // (a maximised document adds its own caption in brackets, as every MDI frame does).
        QVERIFY2(frame->windowTitle().startsWith(name + QStringLiteral(" - Velmora Lumaro")),
            qPrintable(frame->windowTitle()));
        QVERIFY(!frame->windowTitle().contains(QChar(0x2014)));
        QVERIFY(QGuiApplication::applicationDisplayName() == QGuiApplication::applicationName());
        QVERIFY(!doc->Editor()->isModified());
        QVERIFY(!doc->ForceSave());
        QVERIFY(doc->SavedForMail());
        QCOMPARE(hasBold(*doc->Editor()), windowKeepsFormatting);
        QVERIFY(!doc->Editor()->isPlainTextMode());
        QCOMPARE(fx.history()->contains(path), inHistory);

        // What was written reads back as the same text.
        QString error;
        frame->openInNewWindow(path, &error);
        QCOMPARE(error, QString());
        QCOMPARE(frame->activeDocument()->Editor()->toPlainText().trimmed(), doc->Editor()->toPlainText().trimmed());
    }

    void afterAnAnsiSaveSaveAsRtfWritesRichText()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        TEditForm *doc = frame->activeDocument();
        type(doc, QStringLiteral("words"));
        fx.dialogs().answerSave(fx.file(QStringLiteral("a.txt")), 6);
        trigger(doc, "Saveas1");
        QCOMPARE(ShellFixture::readFile(fx.file(QStringLiteral("a.txt"))), QByteArray("words"));
        fx.dialogs().answerSave(fx.file(QStringLiteral("a.rtf")), 1);
        trigger(doc, "Saveas1");
        QVERIFY(ShellFixture::readFile(fx.file(QStringLiteral("a.rtf"))).startsWith("{\\rtf"));
        // A later plain Save of the rich document stays rich.
        type(doc, QStringLiteral(" more"));
        trigger(doc, "Save1");
        QVERIFY(ShellFixture::readFile(fx.file(QStringLiteral("a.rtf"))).startsWith("{\\rtf"));
    }

    void loadChoosesTheReaderByExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("plain");
        QTest::addColumn<bool>("untitled");
        QTest::newRow("rtf") << "a.rtf" << false << false;
        QTest::newRow("ktp opens untitled") << "t.ktp" << false << true;
        QTest::newRow("NOTES.TXT plain") << "NOTES.TXT" << true << false;
        QTest::newRow("rtf text in .pas stays text") << "a.pas" << true << false;
    }
    void loadChoosesTheReaderByExtension()
    {
        QFETCH(QString, name);
        QFETCH(bool, plain);
        QFETCH(bool, untitled);
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        const QString path = fx.file(name);
        ShellFixture::writeFile(path, sampleRtf());
        fx.dialogs().answerOpen({ path }, 11);
        trigger(frame->activeDocument(), "Open1");
        QCOMPARE(frame->documentCount(), 2);
        TEditForm *doc = frame->activeDocument();
        QCOMPARE(doc->Editor()->isPlainTextMode(), plain);
        QCOMPARE(doc->Editor()->toPlainText().startsWith(QStringLiteral("{\\rtf1")), plain);
        QCOMPARE(doc->DocumentFileName(), untitled ? QStringLiteral("Untitled") : path);
        QCOMPARE(doc->windowTitle(), untitled ? QStringLiteral("Untitled") : path);
        QCOMPARE(selectedTab(frame), name);
        QVERIFY(!doc->Editor()->isModified());
        QCOMPARE(doc->statusText(1), QString());
        QVERIFY(fx.history()->contains(path));
        if (untitled) {
            // A template is saved under a new name.
            fx.dialogs().answerSaveCancel();
            type(doc, QStringLiteral("x"));
            trigger(doc, "Save1");
            QCOMPARE(fx.dialogs().shown().last().kind, ScriptedDialogs::Kind::Save);
            QCOMPARE(ShellFixture::readFile(path), sampleRtf());
        }
    }

    void newDocumentSaveAsksForANameAndCancelKeepsItUntitled()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        TEditForm *doc = frame->activeDocument();
        type(doc, QStringLiteral("draft"));
        QCOMPARE(doc->statusText(1), QStringLiteral("Modified"));
        fx.dialogs().answerSaveCancel();
        trigger(doc, "Save1");
        const ScriptedDialogs::Shown &asked = fx.dialogs().shown().last();
        QCOMPARE(asked.kind, ScriptedDialogs::Kind::Save);
        QCOMPARE(asked.file.fileName, QStringLiteral("Untitled"));
        QCOMPARE(asked.file.filters.size(), 13);
        QCOMPARE(asked.file.defaultSuffix, QStringLiteral("rtf"));
        QCOMPARE(asked.file.initialDir, fx.docs());
        QCOMPARE(doc->DocumentFileName(), QStringLiteral("Untitled"));
        QVERIFY(doc->Editor()->isModified());
        QCOMPARE(selectedTab(frame), QStringLiteral("New Document"));
    }

    void saveAsPresetDropsTheExtension()
    {
        QCOMPARE(SaveCommands::presetFileName(QStringLiteral("/d/letter.rtf")), QStringLiteral("/d/letter"));
        QCOMPARE(SaveCommands::presetFileName(QStringLiteral("Untitled")), QStringLiteral("Untitled"));
    }

    void closeQuestionNamesTheFileInQuotes()
    {
        ShellFixture fx;
        QDir(fx.docs()).mkpath(QStringLiteral("deep/folder"));
        const QString path = fx.file(QStringLiteral("deep/folder/b.rtf"));
        ShellFixture::writeFile(path, sampleRtf());
        TFrameForm *frame = fx.showFrame({ path });
        TEditForm *doc = frame->activeDocument();
        type(doc, QStringLiteral("change"));
        fx.dialogs().answerMessage(Dialogs::Cancel);
        QVERIFY(!doc->closeDocument());
        QCOMPARE(fx.dialogs().lastMessage(), QStringLiteral("Do you want to save changes to \"b.rtf\"?"));
        QCOMPARE(fx.dialogs().shown().last().buttons, Dialogs::Buttons::YesNoCancel);
        QCOMPARE(frame->documentCount(), 1);

        fx.dialogs().answerMessage(Dialogs::No);
        QVERIFY(doc->closeDocument());
        ShellFixture::flushDeletes();
        QCOMPARE(frame->documentCount(), 0);
        QCOMPARE(frame->tabBar()->count(), 0);
        QCOMPARE(ShellFixture::readFile(path), sampleRtf());
    }

    void closeQueryYesWithoutASaveKeepsTheWindow()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        TEditForm *doc = frame->activeDocument();
        type(doc, QStringLiteral("unsaved work"));
        fx.dialogs().answerMessage(Dialogs::Yes);
        fx.dialogs().answerSaveCancel();
        QVERIFY(!doc->closeDocument());
        ShellFixture::flushDeletes();
        QCOMPARE(fx.dialogs().messageTexts(),
            QStringList { QStringLiteral("Do you want to save changes to \"Untitled\"?") });
        QCOMPARE(frame->documentCount(), 1);
        QCOMPARE(doc->Editor()->toPlainText(), QStringLiteral("unsaved work"));
        QVERIFY(doc->Editor()->isModified());

        // Yes with a completed save closes it.
        fx.dialogs().answerMessage(Dialogs::Yes);
        fx.dialogs().answerSave(fx.file(QStringLiteral("kept.rtf")), 1);
        QVERIFY(doc->closeDocument());
        ShellFixture::flushDeletes();
        QCOMPARE(frame->documentCount(), 0);
        QVERIFY(ShellFixture::readFile(fx.file(QStringLiteral("kept.rtf"))).contains("unsaved work"));
    }

    void failedSaveKeepsOldFileAndModifiedState()
    {
        if (geteuid() != 0)
            QSKIP("needs root to mount a small tmpfs");
        ShellFixture fx;
        QTemporaryDir mount;
        if (QProcess::execute(QStringLiteral("mount"),
                { QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"), QStringLiteral("size=128k"),
                    QStringLiteral("tmpfs"), mount.path() })
            != 0)
            QSKIP("mount refused");
        const auto unmount = qScopeGuard([&] { QProcess::execute(QStringLiteral("umount"), { mount.path() }); });
        const QString path = mount.filePath(QStringLiteral("b.rtf"));
        ShellFixture::writeFile(path, sampleRtf());
        TFrameForm *frame = fx.showFrame({ path });
        TEditForm *doc = frame->activeDocument();
        QFile filler(mount.filePath(QStringLiteral("filler")));
        filler.open(QIODevice::WriteOnly);
        while (filler.write(QByteArray(4096, 'x')) == 4096 && filler.flush()) { }
        QString big;
        for (int i = 0; i < 3000; ++i)
            big += QStringLiteral("A paragraph that does not fit on the disk any more. ");
        doc->Editor()->textCursor().insertText(big);
        QVERIFY(doc->Editor()->isModified());

        fx.dialogs().answerMessage(Dialogs::Ok);
        trigger(doc, "Save1");
        QCOMPARE(fx.dialogs().lastMessage(), QStringLiteral("Failed to Save Stream"));
        QCOMPARE(ShellFixture::readFile(path), sampleRtf());
        QVERIFY(doc->Editor()->isModified());
        QCOMPARE(doc->statusText(1), QStringLiteral("Modified"));
        QCOMPARE(QDir(mount.path()).entryList(QDir::Files).size(), 2);

        // The close query's Yes with that failing save keeps the window and the work.
        fx.dialogs().answerMessage(Dialogs::Yes);
        fx.dialogs().answerMessage(Dialogs::Ok);
        QVERIFY(!doc->closeDocument());
        QCOMPARE(frame->documentCount(), 1);
        QVERIFY(doc->Editor()->toPlainText().contains(QStringLiteral("does not fit")));
        filler.remove();
    }

    void saveSelectedTextAsIsOfferedOnlyWithASelection()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        TEditForm *doc = frame->activeDocument();
        auto *item = doc->findChild<QAction *>(QStringLiteral("Saveselectedas1"));
        QVERIFY(!item->isEnabled());
        type(doc, QStringLiteral("alpha beta"));
        QVERIFY(!item->isEnabled());
        doc->Editor()->setSelection(6, 4);
        QVERIFY(item->isEnabled());

        const QString path = fx.file(QStringLiteral("part.txt"));
        fx.dialogs().answerSave(path, 6);
        trigger(doc, "Saveselectedas1");
        QCOMPARE(fx.dialogs().shown().last().file.fileName, QString());
        QCOMPARE(ShellFixture::readFile(path), QByteArray("beta"));
        QCOMPARE(doc->DocumentFileName(), QStringLiteral("Untitled"));
        QVERIFY(doc->Editor()->isModified());
        QCOMPARE(fx.history()->firstEntry(), path);
    }

    void lastOpenedDocumentReloadsTheFirstEntryIntoThisWindow()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        TEditForm *doc = frame->activeDocument();
        fx.dialogs().answerMessage(Dialogs::Ok);
        trigger(doc, "ToolButton18");
        QCOMPARE(fx.dialogs().lastMessage(), QStringLiteral("Document History List is Empty."));

        const QString path = fx.file(QStringLiteral("recent.rtf"));
        ShellFixture::writeFile(path, sampleRtf());
        fx.history()->addFromOpen(path);
        trigger(doc, "ToolButton18");
        QCOMPARE(frame->documentCount(), 1);
        QCOMPARE(doc->DocumentFileName(), path);
        QCOMPARE(selectedTab(frame), QStringLiteral("recent.rtf"));
        QVERIFY(hasBold(*doc->Editor()));
    }

    void aFileThatCannotBeReadLeavesTheWindowUntitled()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        const QString path = fx.file(QStringLiteral("broken.rtc"));
        ShellFixture::writeFile(path, "this is no zlib stream");
        fx.dialogs().answerOpen({ path }, 2);
        fx.dialogs().answerMessage(Dialogs::Ok);
        trigger(frame->activeDocument(), "Open1");
        QVERIFY2(fx.dialogs().lastMessage().startsWith(QStringLiteral("Decompression error")),
            qPrintable(fx.dialogs().lastMessage()));
        TEditForm *doc = frame->activeDocument();
        QCOMPARE(doc->DocumentFileName(), QStringLiteral("Untitled"));
        // A Save now asks for a name instead of overwriting the unread file.
        type(doc, QStringLiteral("x"));
        fx.dialogs().answerSaveCancel();
        trigger(doc, "Save1");
        QCOMPARE(ShellFixture::readFile(path), QByteArray("this is no zlib stream"));
    }
};

LUMARO_TEST_CLASS(tst_DocumentWindow)
#include "tst_documentwindow.moc"
