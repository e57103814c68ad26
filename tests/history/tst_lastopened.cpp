#include "app/DocumentHistory.h"
#include "app/LastOpenedDocument.h"
#include "tests/history/FakeDocumentWindow.h"
#include "tests/history/HistoryTestFiles.h"
#include "tests/support/TestMain.h"

using Result = LastOpenedDocument::Result;

class tst_LastOpenedDocument : public QObject
{
    Q_OBJECT

private:
    ScriptedDialogs &dialogs() { return ScriptedDialogs::installed(); }
    QTemporaryDir m_dir;

private slots:
    void init() { dialogs().reset(); }
    void cleanup() { QCOMPARE(dialogs().pendingAnswers(), 0); }

    void reloadsTheTopDisplayedEntry()
    {
        const QString first = HistoryTestFiles::create(m_dir.filePath(QStringLiteral("sub/First Letter.rtf")), "first");
        const QString second = HistoryTestFiles::create(m_dir.filePath(QStringLiteral("second.rtf")), "second");
        DocumentHistory history;
        history.addAtTop(second);
        history.addAtTop(first);
        FakeDocumentWindow window;
        QCOMPARE(LastOpenedDocument::reload(history, window), Result::Loaded);
        QCOMPARE(window.loaded, QStringList { first });
        QCOMPARE(window.fileName, first);
        QCOMPARE(window.content, QStringLiteral("first"));
        QCOMPARE(window.tabCaption, QStringLiteral("First Letter.rtf"));
        QCOMPARE(history.entries(), (QStringList { first, second }));
        QVERIFY(dialogs().shown().isEmpty());
    }

    void failedLoadKeepsTheWindowsNameAndTab()
    {
        // A window that took the unread file's name would overwrite it with its own text on Save.
        const QString unreadable = HistoryTestFiles::create(m_dir.filePath(QStringLiteral("broken.rtf")), "x");
        DocumentHistory history;
        history.addAtTop(unreadable);
        FakeDocumentWindow window;
        window.fileName = QStringLiteral("/home/user/mine.rtf");
        window.loadSucceeds = false;
        QCOMPARE(LastOpenedDocument::reload(history, window), Result::LoadFailed);
        QCOMPARE(window.loaded, QStringList { unreadable });
        QCOMPARE(window.fileName, QStringLiteral("/home/user/mine.rtf"));
        QCOMPARE(window.tabCaption, QStringLiteral("New Document"));
        QCOMPARE(window.content, QStringLiteral("unsaved work"));
    }

    void reloadsTheFirstTextEntryWhenFilteredToText()
    {
        const QString rtf = HistoryTestFiles::create(m_dir.filePath(QStringLiteral("a.rtf")));
        const QString txt = HistoryTestFiles::create(m_dir.filePath(QStringLiteral("b.txt")), "plain");
        const QString txt2 = HistoryTestFiles::create(m_dir.filePath(QStringLiteral("c.txt")));
        DocumentHistory history;
        for (const QString &path : { txt2, txt, rtf })
            history.addAtTop(path);
        history.setFilter(DocumentHistory::PlainText);
        FakeDocumentWindow window;
        QCOMPARE(LastOpenedDocument::reload(history, window), Result::Loaded);
        QCOMPARE(window.loaded, QStringList { txt });
        QCOMPARE(window.tabCaption, QStringLiteral("b.txt"));
        QCOMPARE(history.entries(), (QStringList { rtf, txt, txt2 }));
    }

    void asksToSaveModifiedText_data()
    {
        QTest::addColumn<bool>("text");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<int>("answer"); // 0: no question expected
        QTest::addColumn<bool>("saveSucceeds");
        QTest::addColumn<Result>("result");
        QTest::addColumn<int>("saves");

        QTest::newRow("unmodified") << true << false << 0 << true << Result::Loaded << 0;
        QTest::newRow("modified but empty") << false << true << 0 << true << Result::Loaded << 0;
        QTest::newRow("yes saves first") << true << true << int(Dialogs::Yes) << true << Result::Loaded << 1;
        QTest::newRow("no discards") << true << true << int(Dialogs::No) << true << Result::Loaded << 0;
        QTest::newRow("cancel stops") << true << true << int(Dialogs::Cancel) << true << Result::Cancelled << 0;
        // The save was wanted and did not happen: replacing the content now would lose the work.
        QTest::newRow("yes, save fails") << true << true << int(Dialogs::Yes) << false << Result::NotSaved << 1;
    }

    void asksToSaveModifiedText()
    {
        QFETCH(bool, text);
        QFETCH(bool, modified);
        QFETCH(int, answer);
        QFETCH(bool, saveSucceeds);
        QFETCH(Result, result);
        QFETCH(int, saves);

        const QString path = HistoryTestFiles::create(m_dir.filePath(QStringLiteral("doc.rtf")), "from disk");
        DocumentHistory history;
        history.addAtTop(path);
        FakeDocumentWindow window;
        window.text = text;
        window.modified = modified;
        window.saveSucceeds = saveSucceeds;
        if (answer)
            dialogs().answerMessage(Dialogs::Button(answer));

        QCOMPARE(LastOpenedDocument::reload(history, window), result);
        QCOMPARE(window.saves, saves);
        QCOMPARE(dialogs().messageTexts(),
            answer ? QStringList { QStringLiteral("Save current document?") } : QStringList {});
        if (answer)
            QCOMPARE(dialogs().shown().first().buttons, Dialogs::Buttons::YesNoCancel);
        const bool loads = result == Result::Loaded;
        QCOMPARE(window.content, loads ? QStringLiteral("from disk") : QStringLiteral("unsaved work"));
        QCOMPARE(window.fileName, loads ? path : QStringLiteral("Untitled"));
        QCOMPARE(window.tabCaption, loads ? QStringLiteral("doc.rtf") : QStringLiteral("New Document"));
    }

    void reportsEmptyHistoryAndMissingFile_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<DocumentHistory::Filter>("filter");
        QTest::addColumn<Result>("result");
        QTest::addColumn<QString>("message");
        const QString gone = QStringLiteral("/nonexistent/lumaro/gone.rtf");
        QTest::newRow("empty") << QStringList {} << DocumentHistory::AllDocuments << Result::EmptyHistory
                               << QStringLiteral("Document History List is Empty.");
        QTest::newRow("filter shows nothing")
            << QStringList { gone } << DocumentHistory::PlainText << Result::EmptyHistory
            << QStringLiteral("Document History List is Empty.");
        QTest::newRow("missing") << QStringList { gone } << DocumentHistory::AllDocuments << Result::Missing
                                 << QStringLiteral("Document does not exist or has been deleted.");
        // A folder is not a document.
        QTest::newRow("folder") << QStringList { QDir::tempPath() } << DocumentHistory::AllDocuments << Result::Missing
                                << QStringLiteral("Document does not exist or has been deleted.");
    }

    void reportsEmptyHistoryAndMissingFile()
    {
        QFETCH(QStringList, entries);
        QFETCH(DocumentHistory::Filter, filter);
        QFETCH(Result, result);
        QFETCH(QString, message);
        DocumentHistory history;
        for (const QString &path : entries)
            history.addAtTop(path);
        history.setFilter(filter);
        FakeDocumentWindow window;
        dialogs().answerMessage(Dialogs::Ok);
        QCOMPARE(LastOpenedDocument::reload(history, window), result);
        QCOMPARE(dialogs().messageTexts(), QStringList { message });
        QCOMPARE(dialogs().shown().first().icon, Dialogs::Icon::Information);
        QVERIFY(window.loaded.isEmpty());
        QCOMPARE(history.entries(), entries);
    }
};

LUMARO_TEST_CLASS(tst_LastOpenedDocument)
#include "tst_lastopened.moc"
