#include "app/DocumentHistory.h"
#include "tests/history/HistoryTestFiles.h"
#include "tests/support/TestMain.h"

#include <QBuffer>
#include <QItemSelectionModel>

class tst_DocumentHistory : public QObject
{
    Q_OBJECT

private:
    // A history whose full list is `paths`, top first.
    static void fill(DocumentHistory &history, const QStringList &paths)
    {
        for (auto it = paths.crbegin(); it != paths.crend(); ++it)
            history.addAtTop(*it);
    }

private slots:
    void openingTwiceLeavesOneEntryAtTop()
    {
        DocumentHistory history;
        fill(history, { QStringLiteral("/d/b.rtf"), QStringLiteral("/d/c.txt") });
        history.recordOpened(QStringLiteral("/d/a.rtf"));
        history.recordOpened(QStringLiteral("/d/c.txt"));
        history.recordOpened(QStringLiteral("/d/a.rtf"));
        const QStringList expected { QStringLiteral("/d/a.rtf"), QStringLiteral("/d/c.txt"),
            QStringLiteral("/d/b.rtf") };
        QCOMPARE(history.entries(), expected);
        QCOMPARE(history.displayed(), expected);
    }

    void openingAnEntryHiddenByTheFilterMovesItWithoutDuplicate()
    {
        DocumentHistory history;
        fill(history, { QStringLiteral("/d/a.txt"), QStringLiteral("/d/b.rtf"), QStringLiteral("/d/c.txt") });
        history.setFilter(DocumentHistory::PlainText);
        history.recordOpened(QStringLiteral("/d/b.rtf"));
        QCOMPARE(history.entries(),
            (QStringList { QStringLiteral("/d/b.rtf"), QStringLiteral("/d/a.txt"), QStringLiteral("/d/c.txt") }));
        QCOMPARE(history.displayed(),
            (QStringList { QStringLiteral("/d/b.rtf"), QStringLiteral("/d/a.txt"), QStringLiteral("/d/c.txt") }));
    }

    void openKeepsTheCurrentRowOnItsEntry()
    {
        DocumentHistory history;
        fill(history, { QStringLiteral("/d/a.rtf"), QStringLiteral("/d/b.rtf"), QStringLiteral("/d/c.rtf") });
        QItemSelectionModel selection(&history);
        selection.setCurrentIndex(history.index(2), QItemSelectionModel::ClearAndSelect);
        history.recordOpened(QStringLiteral("/d/new.rtf"));
        QCOMPARE(selection.currentIndex().data(DocumentHistory::PathRole).toString(), QStringLiteral("/d/c.rtf"));
        selection.setCurrentIndex(history.index(1), QItemSelectionModel::ClearAndSelect);
        history.recordOpened(QStringLiteral("/d/b.rtf"));
        QCOMPARE(selection.currentIndex().data(DocumentHistory::PathRole).toString(), QStringLiteral("/d/a.rtf"));
        QCOMPARE(history.firstEntry(), QStringLiteral("/d/b.rtf"));
    }

    void saveAsRecordsOnlyNewDocuments_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<QStringList>("expected");

        const QString old1 = QStringLiteral("/d/first.rtf"), old2 = QStringLiteral("/d/second.rtf");
        QTest::newRow("new rich text") << QStringLiteral("/d/new.rtf") << 1
                                       << QStringList { QStringLiteral("/d/new.rtf"), old1, old2 };
        QTest::newRow("template") << QStringLiteral("/d/letter.ktp") << 4 << QStringList { old1, old2 };
        QTest::newRow("template under another filter")
            << QStringLiteral("/d/letter.ktp") << 13 << QStringList { old1, old2 };
        // Templates are recognised by their exact extension; "X.KTP" is saved as rich text.
        QTest::newRow("upper-case template extension")
            << QStringLiteral("/d/LETTER.KTP") << 13 << QStringList { QStringLiteral("/d/LETTER.KTP"), old1, old2 };
        QTest::newRow("unicode text") << QStringLiteral("/d/notes.txt") << 5 << QStringList { old1, old2 };
        QTest::newRow("ansi text") << QStringLiteral("/d/notes.txt") << 6
                                   << QStringList { QStringLiteral("/d/notes.txt"), old1, old2 };
        QTest::newRow("existing entry keeps its place") << old2 << 1 << QStringList { old1, old2 };
        QTest::newRow("other letter case is another document")
            << QStringLiteral("/d/SECOND.rtf") << 1 << QStringList { QStringLiteral("/d/SECOND.rtf"), old1, old2 };
    }

    void saveAsRecordsOnlyNewDocuments()
    {
        QFETCH(QString, path);
        QFETCH(int, filterIndex);
        QFETCH(QStringList, expected);
        DocumentHistory history;
        fill(history, { QStringLiteral("/d/first.rtf"), QStringLiteral("/d/second.rtf") });
        history.recordSavedAs(path, filterIndex);
        QCOMPARE(history.entries(), expected);
        QCOMPARE(history.displayed(), expected);
    }

    void selectionSavesAndLinksAddEvenWhenListed()
    {
        DocumentHistory history;
        fill(history, { QStringLiteral("/d/a.rtf") });
        history.recordSavedSelection(QStringLiteral("/d/a.rtf"));
        history.recordLinkOpened(QStringLiteral("/d/a.rtf"));
        QCOMPARE(history.entries(), QStringList(3, QStringLiteral("/d/a.rtf")));
        QCOMPARE(history.displayed(), history.entries());
    }

    void pathsDifferingInCaseAreDistinct()
    {
        DocumentHistory history;
        history.recordOpened(QStringLiteral("/d/Report.rtf"));
        history.recordOpened(QStringLiteral("/d/report.rtf"));
        history.recordOpened(QStringLiteral("/D/report.rtf"));
        QCOMPARE(history.entries().size(), 3);
        QVERIFY(history.contains(QStringLiteral("/d/Report.rtf")));
        QVERIFY(!history.contains(QStringLiteral("/d/REPORT.rtf")));
        history.moveToTop(QStringLiteral("/d/Report.rtf"));
        QCOMPARE(history.firstEntry(), QStringLiteral("/d/Report.rtf"));
    }

    void filtersMatchExtensionsExactly_data()
    {
        QTest::addColumn<DocumentHistory::Filter>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("all") << DocumentHistory::AllDocuments
                             << QStringList { QStringLiteral("/d/a.rtf"), QStringLiteral("/d/b.TXT"),
                                    QStringLiteral("/d/c.txt"), QStringLiteral("/x.txt/readme"),
                                    QStringLiteral("/d/d.h"), QStringLiteral("/d/e.tar.rtc"),
                                    QStringLiteral("/d/f.html"), QStringLiteral("/d/g.doc"), QStringLiteral("/d/h.hpp"),
                                    QStringLiteral("/d/i.pas") };
        QTest::newRow("rich text") << DocumentHistory::RichText << QStringList { QStringLiteral("/d/a.rtf") };
        QTest::newRow("compressed") << DocumentHistory::Compressed << QStringList { QStringLiteral("/d/e.tar.rtc") };
        QTest::newRow("word") << DocumentHistory::WordDocument << QStringList { QStringLiteral("/d/g.doc") };
        // The folder's ".txt" is no extension, and ".TXT" differs from ".txt".
        QTest::newRow("plain text") << DocumentHistory::PlainText << QStringList { QStringLiteral("/d/c.txt") };
        QTest::newRow("other") << DocumentHistory::OtherDocuments
                               << QStringList { QStringLiteral("/d/d.h"), QStringLiteral("/d/f.html"),
                                      QStringLiteral("/d/i.pas") };
    }

    void filtersMatchExtensionsExactly()
    {
        QFETCH(DocumentHistory::Filter, filter);
        QFETCH(QStringList, expected);
        DocumentHistory history;
        const QStringList all { QStringLiteral("/d/a.rtf"), QStringLiteral("/d/b.TXT"), QStringLiteral("/d/c.txt"),
            QStringLiteral("/x.txt/readme"), QStringLiteral("/d/d.h"), QStringLiteral("/d/e.tar.rtc"),
            QStringLiteral("/d/f.html"), QStringLiteral("/d/g.doc"), QStringLiteral("/d/h.hpp"),
            QStringLiteral("/d/i.pas") };
        fill(history, all);
        history.setFilter(filter);
        QCOMPARE(history.displayed(), expected);
        QCOMPARE(history.entries(), all);
        QCOMPARE(history.firstEntry(), expected.value(0));
    }

    void additionsUnderAFilterGoIntoBothLists()
    {
        DocumentHistory history;
        fill(history, { QStringLiteral("/d/a.txt"), QStringLiteral("/d/b.rtf") });
        history.setFilter(DocumentHistory::PlainText);
        history.recordSavedSelection(QStringLiteral("/d/c.rtf"));
        QCOMPARE(history.displayed(), (QStringList { QStringLiteral("/d/c.rtf"), QStringLiteral("/d/a.txt") }));
        QCOMPARE(history.entries().first(), QStringLiteral("/d/c.rtf"));
        // Choosing the filter again applies it afresh.
        history.setFilter(DocumentHistory::PlainText);
        QCOMPARE(history.displayed(), QStringList { QStringLiteral("/d/a.txt") });
    }

    void removingFilteredRowsRemovesThemFromTheFullList()
    {
        DocumentHistory history;
        fill(history,
            { QStringLiteral("/d/a.txt"), QStringLiteral("/d/b.rtf"), QStringLiteral("/d/c.txt"),
                QStringLiteral("/d/d.rtf"), QStringLiteral("/d/e.txt") });
        history.setFilter(DocumentHistory::PlainText);
        history.removeDisplayedRows({ 2, 0 });
        QCOMPARE(history.displayed(), QStringList { QStringLiteral("/d/c.txt") });
        history.setFilter(DocumentHistory::AllDocuments);
        QCOMPARE(history.displayed(),
            (QStringList { QStringLiteral("/d/b.rtf"), QStringLiteral("/d/c.txt"), QStringLiteral("/d/d.rtf") }));
    }

    void removingOneOfTwoEqualRowsKeepsTheOther()
    {
        DocumentHistory history;
        fill(history, { QStringLiteral("/d/a.rtf"), QStringLiteral("/d/b.rtf"), QStringLiteral("/d/a.rtf") });
        history.removeDisplayedRows({ 2, 7, -1 });
        QCOMPARE(history.displayed(), (QStringList { QStringLiteral("/d/a.rtf"), QStringLiteral("/d/b.rtf") }));
        QCOMPARE(history.entries(), (QStringList { QStringLiteral("/d/b.rtf"), QStringLiteral("/d/a.rtf") }));
        history.setFilter(DocumentHistory::AllDocuments);
        QCOMPARE(history.displayed(), history.entries());
    }

    void openedRowMovesToTopOfBothLists()
    {
        DocumentHistory history;
        fill(history,
            { QStringLiteral("/d/a.rtf"), QStringLiteral("/d/b.txt"), QStringLiteral("/d/c.rtf"),
                QStringLiteral("/d/d.txt") });
        history.setFilter(DocumentHistory::PlainText);
        history.moveRowToTop(1);
        QCOMPARE(history.displayed(), (QStringList { QStringLiteral("/d/d.txt"), QStringLiteral("/d/b.txt") }));
        QCOMPARE(history.entries(),
            (QStringList { QStringLiteral("/d/d.txt"), QStringLiteral("/d/a.rtf"), QStringLiteral("/d/b.txt"),
                QStringLiteral("/d/c.rtf") }));
    }

    void clearEmptiesBothLists()
    {
        DocumentHistory history;
        fill(history, { QStringLiteral("/d/a.rtf"), QStringLiteral("/d/b.txt") });
        history.setFilter(DocumentHistory::PlainText);
        history.clear();
        QVERIFY(history.displayed().isEmpty());
        QVERIFY(history.entries().isEmpty());
        QCOMPARE(history.rowCount(), 0);
        QVERIFY(history.firstEntry().isEmpty());
    }

    void searchLooksAtFileNamesOnly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("expected");
        // Rows: 0 a folder named after reports, 1 MyReport.rtf, 2 annual-REPORT.txt.
        QTest::newRow("lower case") << QStringLiteral("report") << 0 << 1;
        QTest::newRow("upper case") << QStringLiteral("REPORT") << 0 << 1;
        QTest::newRow("from the next row") << QStringLiteral("report") << 2 << 2;
        QTest::newRow("with extension") << QStringLiteral("report.rtf") << 0 << 1;
        QTest::newRow("folder only") << QStringLiteral("reports") << 0 << -1;
        QTest::newRow("folder path") << QStringLiteral("/home/") << 0 << -1;
        QTest::newRow("empty") << QString() << 0 << -1;
    }

    void searchLooksAtFileNamesOnly()
    {
        QFETCH(QString, text);
        QFETCH(int, from);
        QFETCH(int, expected);
        DocumentHistory history;
        fill(history,
            { QStringLiteral("/home/u/Reports/plan.rtf"), QStringLiteral("/home/u/MyReport.rtf"),
                QStringLiteral("/home/u/annual-REPORT.txt") });
        QCOMPARE(history.findByFileName(text, from), expected);
    }

    void picturesFollowTheExtension_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("picture");
        QTest::newRow("txt") << QStringLiteral("/d/a.txt") << 0;
        QTest::newRow("rtf") << QStringLiteral("/d/a.rtf") << 2;
        QTest::newRow("doc") << QStringLiteral("/d/a.doc") << 3;
        QTest::newRow("htm") << QStringLiteral("/d/a.htm") << 4;
        QTest::newRow("html") << QStringLiteral("/d/a.html") << 4;
        QTest::newRow("xml") << QStringLiteral("/d/a.xml") << 4;
        QTest::newRow("rtc") << QStringLiteral("/d/a.rtc") << 6;
        QTest::newRow("pas") << QStringLiteral("/d/a.pas") << 1;
        QTest::newRow("sql") << QStringLiteral("/d/a.sql") << 1;
        QTest::newRow("unknown") << QStringLiteral("/d/a.odt") << 1;
        QTest::newRow("none") << QStringLiteral("/d.rtf/a") << 1;
    }

    void picturesFollowTheExtension()
    {
        QFETCH(QString, path);
        QFETCH(int, picture);
        QCOMPARE(DocumentHistory::iconIndex(path), picture);
    }

    void writesOneUtf8PathPerCrLfLine()
    {
        DocumentHistory history;
        fill(history, { QStringLiteral("/home/zoë/Ünïcode.rtf"), QStringLiteral("/d/b.txt") });
        history.setFilter(DocumentHistory::RichText);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(history.write(buffer));
        // The full list is written, whatever the filter shows.
        QCOMPARE(buffer.data(),
            QByteArray("/home/zo\xc3\xab/\xc3\x9cn\xc3\xaf"
                       "code.rtf\r\n/d/b.txt\r\n"));
    }

    void readsHistoryFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("crlf") << QByteArray("/d/a.rtf\r\n/d/b.txt\r\n")
                              << QStringList { QStringLiteral("/d/a.rtf"), QStringLiteral("/d/b.txt") };
        QTest::newRow("lf, no final break") << QByteArray("/d/a.rtf\n/d/b.txt")
                                            << QStringList { QStringLiteral("/d/a.rtf"), QStringLiteral("/d/b.txt") };
        QTest::newRow("empty lines skipped")
            << QByteArray("\r\n/d/a.rtf\r\n\r\n\n") << QStringList { QStringLiteral("/d/a.rtf") };
        QTest::newRow("utf-8") << QByteArray("/home/zo\xc3\xab/a.rtf\r\n")
                               << QStringList { QStringLiteral("/home/zoë/a.rtf") };
        // A line that is not UTF-8 is read as Windows-1252, the other lines stay UTF-8.
        QTest::newRow("windows-1252 line")
            << QByteArray("/d/caf\xe9 \x80.rtf\r\n/d/\xc3\xa9.rtf\r\n")
            << QStringList { QStringLiteral("/d/café €.rtf"), QStringLiteral("/d/é.rtf") };
        QTest::newRow("duplicates kept") << QByteArray("/d/a.rtf\r\n/d/a.rtf\r\n")
                                         << QStringList { QStringLiteral("/d/a.rtf"), QStringLiteral("/d/a.rtf") };
        QTest::newRow("empty file") << QByteArray() << QStringList {};
        QTest::newRow("binary") << QByteArray("\x00\xff\r\r\n\x1f",
            6) << QStringList { QString(QChar(0)) + QChar(0xff) + QChar('\r'), QStringLiteral("\x1f") };
    }

    void readsHistoryFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, expected);
        DocumentHistory history;
        fill(history, { QStringLiteral("/old/entry.rtf") });
        history.setFilter(DocumentHistory::PlainText);
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QVERIFY(history.read(buffer));
        QCOMPARE(history.entries(), expected);
        QCOMPARE(history.displayed(), expected);
        QCOMPARE(history.filter(), DocumentHistory::AllDocuments);
    }

    void saveAndLoadRoundTrip()
    {
        TestSupport::FreshHome home;
        QCOMPARE(DocumentHistory::defaultFileName(), home.file(QStringLiteral("WrdFileList.dat")));
        DocumentHistory history;
        const QStringList paths { QStringLiteral("/d/ä b.rtf"), QStringLiteral("/d/x.RTC"),
            QStringLiteral("/d/x.RTC") };
        fill(history, paths);
        QVERIFY(history.save(DocumentHistory::defaultFileName()));
        DocumentHistory loaded;
        QVERIFY(loaded.load(DocumentHistory::defaultFileName()));
        QCOMPARE(loaded.entries(), paths);
        QVERIFY(HistoryTestFiles::entryNames(home.path()) == QStringList { QStringLiteral("WrdFileList.dat") });
    }

    void loadingAMissingFileChangesNothing()
    {
        TestSupport::FreshHome home;
        DocumentHistory history;
        fill(history, { QStringLiteral("/d/a.rtf") });
        QVERIFY(!history.load(home.file(QStringLiteral("WrdFileList.dat"))));
        QVERIFY(!history.errorString().isEmpty());
        QCOMPARE(history.entries(), QStringList { QStringLiteral("/d/a.rtf") });
    }

    void failedSaveKeepsTheOldFile()
    {
        HistoryTestFiles::UnwritableFolder folder;
        if (!folder.isAvailable())
            QSKIP(qPrintable(folder.why()));
        const QString target = folder.path() + QStringLiteral("/WrdFileList.dat");
        const QByteArray old("/d/old.rtf\r\n");
        QVERIFY(!HistoryTestFiles::create(target, old).isEmpty());
        QVERIFY(folder.lock());

        DocumentHistory history;
        // Far more than the 16 KiB the full disk holds.
        for (int i = 0; i < 400; ++i)
            history.addAtTop(QStringLiteral("/home/user/documents/a-rather-long-folder-name/report-%1.rtf").arg(i));
        QVERIFY(!history.save(target));
        QVERIFY(!history.errorString().isEmpty());
        QCOMPARE(HistoryTestFiles::contents(target), old);
        QCOMPARE(HistoryTestFiles::entryNames(folder.path()), QStringList { QStringLiteral("WrdFileList.dat") });
    }

    void firstShowFlagIsOneShot()
    {
        DocumentHistory history;
        QVERIFY(!history.takeFirstShowPending());
        history.setFirstShowPending(true);
        QVERIFY(history.takeFirstShowPending());
        QVERIFY(!history.takeFirstShowPending());
    }
};

LUMARO_TEST_CLASS(tst_DocumentHistory)
#include "tst_documenthistory.moc"
