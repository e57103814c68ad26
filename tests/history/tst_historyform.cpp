#include "app/GradientPainter.h"
#include "app/History.h"
#include "app/LastOpenedDocument.h"
#include "tests/history/FakeDocumentWindow.h"
#include "tests/history/HistoryTestFiles.h"
#include "tests/support/TestMain.h"

#include <QListView>
#include <QPushButton>
#include <QToolButton>

#include <memory>

namespace {

const QString missingOnClick = QStringLiteral(
    "Document does not exist or has been moved.\r\n\r\nPlease remove this listing from document history.");
const QString missingOnOpen = QStringLiteral("Document does not exist or has been moved.");

class RecordingHost final : public HistoryHost
{
public:
    bool succeed = true;
    QStringList opened;
    bool openDocument(const QString &path) override
    {
        opened.append(path);
        return succeed;
    }
};

} // namespace

class tst_HistoryForm : public QObject
{
    Q_OBJECT

private:
    ScriptedDialogs &dialogs() { return ScriptedDialogs::installed(); }

    // Real documents in a private folder, named as given (folders are made as needed).
    QStringList documents(const QStringList &names)
    {
        QStringList paths;
        for (const QString &name : names)
            paths.append(HistoryTestFiles::create(m_docs->filePath(name)));
        return paths;
    }
    static void writeHistory(const QStringList &paths)
    {
        QByteArray bytes;
        for (const QString &path : paths)
            bytes += path.toUtf8() + "\r\n";
        HistoryTestFiles::create(DocumentHistory::defaultFileName(), bytes);
    }
    // A dialog made from a history file of these paths, shown and active.
    std::unique_ptr<THistoryForm> shownForm(const QStringList &paths)
    {
        writeHistory(paths);
        auto form = std::make_unique<THistoryForm>();
        form->setHost(&m_host);
        form->show();
        if (!QTest::qWaitForWindowActive(form.get()))
            qWarning("history dialog did not become active");
        return form;
    }
    static QListView *list(THistoryForm &form) { return form.findChild<QListView *>(QStringLiteral("ListBox1")); }
    template <typename T> static void click(THistoryForm &form, const char *name)
    {
        T *control = form.findChild<T *>(QLatin1String(name));
        QVERIFY2(control, name);
        QTest::mouseClick(control, Qt::LeftButton);
    }
    static void clickRow(THistoryForm &form, int row, Qt::KeyboardModifiers modifiers = {})
    {
        QListView *view = list(form);
        QTest::mouseClick(
            view->viewport(), Qt::LeftButton, modifiers, view->visualRect(view->model()->index(row, 0)).center());
    }
    static QList<int> selectedRows(THistoryForm &form)
    {
        QList<int> rows;
        for (const QModelIndex &index : list(form)->selectionModel()->selectedRows())
            rows.append(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    // Shows the dialog again and makes it the active window. (The offscreen platform keeps
    // its window focused through hide() and so does not activate it again by itself.)
    static bool reshow(THistoryForm &form)
    {
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            return false;
        QApplication::setActiveWindow(&form);
        return QTest::qWaitFor([&form] { return form.isActiveWindow(); });
    }
    static int currentRow(THistoryForm &form)
    {
        const QModelIndex current = list(form)->currentIndex();
        return current.isValid() ? current.row() : -1;
    }

    std::unique_ptr<TestSupport::FreshHome> m_home;
    std::unique_ptr<QTemporaryDir> m_docs;
    RecordingHost m_host;

private slots:
    void init()
    {
        m_home = std::make_unique<TestSupport::FreshHome>();
        m_docs = std::make_unique<QTemporaryDir>();
        m_host = RecordingHost();
        dialogs().reset();
    }
    void cleanup()
    {
        QCOMPARE(dialogs().pendingAnswers(), 0);
        m_docs.reset();
        m_home.reset();
    }

    void hasTheNamedControls()
    {
        auto form = shownForm(documents({ QStringLiteral("a.rtf") }));
        QCOMPARE(form->windowTitle(), QStringLiteral("Document History"));
        const QList<QPair<const char *, QString>> buttons { { "RbButton1", QStringLiteral(" Clear List") },
            { "btnRemove", QStringLiteral(" Remove From List") }, { "btnOpen", QStringLiteral("  Open") },
            { "btnClose", QStringLiteral("  Close") }, { "btnSearch", QStringLiteral("Search") } };
        for (const auto &[name, caption] : buttons) {
            auto *button = form->findChild<QPushButton *>(QLatin1String(name));
            QVERIFY2(button, name);
            QCOMPARE(button->text(), caption);
        }
        const QList<QPair<const char *, QString>> images { { "ImgAllDocs", QStringLiteral("All Document Formats") },
            { "imgRTFDocs", QStringLiteral("Rich Text Format") },
            { "imgRTCDocs", QStringLiteral("Rich Text Compressed") },
            { "imgDocs", QStringLiteral("MS Word Doc - RTF") }, { "imgTXTDocs", QStringLiteral("Plain Text ANSI") },
            { "imgOtherDocs", QStringLiteral("Other Document Types") } };
        for (const auto &[name, hint] : images) {
            auto *image = form->findChild<QToolButton *>(QLatin1String(name));
            QVERIFY2(image, name);
            QCOMPARE(image->toolTip(), hint);
        }
        QCOMPARE(list(*form)->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(list(*form)->visualRect(form->history().index(0)).height(), 35);
    }

    void missingHistoryFileIsReportedOnceAndWrittenAtExit()
    {
        const QStringList docs = documents({ QStringLiteral("opened.rtf"), QStringLiteral("saved.rtf") });
        dialogs().answerMessage(Dialogs::Ok);
        auto form = std::make_unique<THistoryForm>();
        QCOMPARE(dialogs().messageTexts(), QStringList { QStringLiteral("File not Found!") });
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QVERIFY(selectedRows(*form).isEmpty());
        form->hide();
        form->addFromOpen(docs[0]);
        form->addFromSaveAs(docs[1], 1);
        form->addFromSaveAs(m_docs->filePath(QStringLiteral("letter.ktp")), 4);
        form->addFromSaveAs(m_docs->filePath(QStringLiteral("unicode.txt")), 5);
        form.reset();
        QCOMPARE(dialogs().messageTexts().size(), 1);
        QCOMPARE(HistoryTestFiles::contents(DocumentHistory::defaultFileName()),
            (docs[1] + QStringLiteral("\r\n") + docs[0] + QStringLiteral("\r\n")).toUtf8());
    }

    void emptyHistoryIsWrittenAtExitToo()
    {
        dialogs().answerMessage(Dialogs::Ok);
        delete new THistoryForm;
        QVERIFY(QFileInfo::exists(DocumentHistory::defaultFileName()));
        QCOMPARE(HistoryTestFiles::contents(DocumentHistory::defaultFileName()), QByteArray());
    }

    void exitWritesTheFullListWhateverTheFilter()
    {
        const QStringList docs = documents({ QStringLiteral("a.txt"), QStringLiteral("b.rtf") });
        auto form = shownForm(docs);
        click<QToolButton>(*form, "imgTXTDocs");
        QCOMPARE(form->history().displayed(), QStringList { docs[0] });
        form.reset();
        THistoryForm again;
        QCOMPARE(again.history().displayed(), docs);
    }

    void firstShowingSelectsTheTopRowOnce()
    {
        auto form = shownForm(documents({ QStringLiteral("a.rtf"), QStringLiteral("b.rtf"), QStringLiteral("c.rtf") }));
        QCOMPARE(currentRow(*form), 0);
        QCOMPARE(selectedRows(*form), QList<int> { 0 });
        clickRow(*form, 2);
        QCOMPARE(selectedRows(*form), QList<int> { 2 });
        form->hide();
        list(*form)->selectionModel()->clearSelection();
        QVERIFY(reshow(*form));
        QCOMPARE(currentRow(*form), 2);
        QCOMPARE(selectedRows(*form), QList<int> { 2 });
        QCOMPARE(QApplication::focusWidget(), list(*form));
    }

    void openMovesTheSelectedEntryToTheTop()
    {
        const QStringList docs
            = documents({ QStringLiteral("a.rtf"), QStringLiteral("b.txt"), QStringLiteral("c.txt") });
        writeHistory(docs);
        THistoryForm form;
        form.setHost(&m_host);
        QTimer::singleShot(0, &form, [&form, this] {
            click<QToolButton>(form, "imgTXTDocs");
            clickRow(form, 1);
            click<QPushButton>(form, "btnOpen");
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QCOMPARE(m_host.opened, QStringList { docs[2] });
        QVERIFY(!form.isVisible());
        QCOMPARE(form.history().displayed(), (QStringList { docs[2], docs[1] }));
        QCOMPARE(form.history().entries(), (QStringList { docs[2], docs[0], docs[1] }));
        QVERIFY(dialogs().shown().isEmpty());
    }

    void openNeedsExactlyOneSelectedRow_data()
    {
        QTest::addColumn<QList<int>>("rows");
        QTest::newRow("none") << QList<int> {};
        QTest::newRow("two") << QList<int> { 0, 2 };
    }

    void openNeedsExactlyOneSelectedRow()
    {
        QFETCH(QList<int>, rows);
        auto form = shownForm(documents({ QStringLiteral("a.rtf"), QStringLiteral("b.rtf"), QStringLiteral("c.rtf") }));
        list(*form)->selectionModel()->clearSelection();
        for (int row : rows)
            clickRow(*form, row, Qt::ControlModifier);
        QCOMPARE(selectedRows(*form), rows);
        dialogs().answerMessage(Dialogs::Ok);
        click<QPushButton>(*form, "btnOpen");
        QCOMPARE(dialogs().messageTexts(), QStringList { QStringLiteral("Please select only one document to open.") });
        QVERIFY(m_host.opened.isEmpty());
        QVERIFY(form->isVisible());
    }

    void missingDocumentIsReportedOnClickAndOnOpen()
    {
        const QStringList docs = documents({ QStringLiteral("here.rtf") });
        const QString gone = m_docs->filePath(QStringLiteral("gone.rtf"));
        auto form = shownForm({ docs[0], gone });
        QVERIFY(dialogs().shown().isEmpty());

        dialogs().answerMessage(Dialogs::Ok);
        clickRow(*form, 1);
        QCOMPARE(dialogs().messageTexts(), QStringList { missingOnClick });
        // The message box gives the activation back when it closes: that must not report again.
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(form.get(), &activate);
        QCOMPARE(dialogs().messageTexts().size(), 1);

        dialogs().answerMessage(Dialogs::Ok);
        click<QPushButton>(*form, "btnOpen");
        QCOMPARE(dialogs().lastMessage(), missingOnOpen);
        QVERIFY(m_host.opened.isEmpty());
        QVERIFY(form->isVisible());
        QCOMPARE(form->history().entries(), (QStringList { docs[0], gone }));
    }

    void activationTestsTheCurrentRow()
    {
        const QString gone = m_docs->filePath(QStringLiteral("gone.rtf"));
        dialogs().answerMessage(Dialogs::Ok);
        auto form = shownForm({ gone });
        QTRY_COMPARE(dialogs().messageTexts(), QStringList { missingOnClick });
        form->hide();
        dialogs().answerMessage(Dialogs::Ok);
        QVERIFY(reshow(*form));
        QTRY_COMPARE(dialogs().messageTexts().size(), 2);
        QCOMPARE(form->history().entries(), QStringList { gone });
    }

    void failedOpenIsReportedAndClosesTheDialog()
    {
        const QStringList docs = documents({ QStringLiteral("a.rtf"), QStringLiteral("b.rtf") });
        m_host.succeed = false;
        auto form = shownForm(docs);
        clickRow(*form, 1);
        dialogs().answerMessage(Dialogs::Ok);
        click<QPushButton>(*form, "btnOpen");
        QCOMPARE(dialogs().messageTexts(), QStringList { missingOnOpen });
        QCOMPARE(m_host.opened, QStringList { docs[1] });
        QVERIFY(!form->isVisible());
        QCOMPARE(form->history().entries(), (QStringList { docs[1], docs[0] }));
    }

    void enterAndDoubleClickOpen()
    {
        const QStringList docs = documents({ QStringLiteral("a.rtf"), QStringLiteral("b.rtf") });
        auto form = shownForm(docs);
        list(*form)->selectionModel()->clear();
        dialogs().answerMessage(Dialogs::Ok);
        QTest::keyClick(list(*form), Qt::Key_Return);
        QCOMPARE(dialogs().messageTexts(), QStringList { QStringLiteral("Please make a selection first.") });
        QVERIFY(m_host.opened.isEmpty());
        QVERIFY(form->isVisible());

        clickRow(*form, 1);
        QTest::keyClick(list(*form), Qt::Key_Enter);
        QCOMPARE(m_host.opened, QStringList { docs[1] });
        QVERIFY(!form->isVisible());

        QVERIFY(reshow(*form));
        QListView *view = list(*form);
        clickRow(*form, 1);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(form->history().index(1)).center());
        QCOMPARE(m_host.opened, (QStringList { docs[1], docs[0] }));
        QCOMPARE(form->history().entries(), (QStringList { docs[0], docs[1] }));
        QCOMPARE(dialogs().messageTexts().size(), 1);
    }

    void removeDeletesSelectedEntriesFromBothLists_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QList<int>>("remaining"); // indexes into the documents
        QTest::newRow("yes") << int(Dialogs::Yes) << QList<int> { 1, 2 };
        QTest::newRow("no") << int(Dialogs::No) << QList<int> { 0, 1, 2, 3 };
    }

    void removeDeletesSelectedEntriesFromBothLists()
    {
        QFETCH(int, answer);
        QFETCH(QList<int>, remaining);
        const QStringList docs = documents(
            { QStringLiteral("a.txt"), QStringLiteral("b.rtf"), QStringLiteral("c.txt"), QStringLiteral("d.txt") });
        auto form = shownForm(docs);
        click<QToolButton>(*form, "imgTXTDocs");
        QCOMPARE(form->history().displayed(), (QStringList { docs[0], docs[2], docs[3] }));
        QCOMPARE(selectedRows(*form), QList<int> { 0 });
        clickRow(*form, 2, Qt::ControlModifier);
        QCOMPARE(selectedRows(*form), (QList<int> { 0, 2 }));

        dialogs().answerMessage(Dialogs::Button(answer));
        click<QPushButton>(*form, "btnRemove");
        QCOMPARE(dialogs().messageTexts(), QStringList { QStringLiteral("Remove Selected Document(s)?") });
        QCOMPARE(dialogs().shown().first().buttons, Dialogs::Buttons::YesNo);
        QCOMPARE(QApplication::focusWidget(), list(*form));

        click<QToolButton>(*form, "ImgAllDocs");
        QStringList expected;
        for (int i : remaining)
            expected.append(docs[i]);
        QCOMPARE(form->history().displayed(), expected);
        QCOMPARE(form->history().entries(), expected);
    }

    void clearListEmptiesTheHistoryOnYes_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("emptied");
        QTest::newRow("yes") << int(Dialogs::Yes) << true;
        QTest::newRow("no") << int(Dialogs::No) << false;
    }

    void clearListEmptiesTheHistoryOnYes()
    {
        QFETCH(int, answer);
        QFETCH(bool, emptied);
        const QStringList docs = documents({ QStringLiteral("a.txt"), QStringLiteral("b.rtf") });
        auto form = shownForm(docs);
        click<QToolButton>(*form, "imgTXTDocs");
        dialogs().answerMessage(Dialogs::Button(answer));
        click<QPushButton>(*form, "RbButton1");
        QCOMPARE(dialogs().messageTexts(), QStringList { QStringLiteral("Clear All of List?") });
        QCOMPARE(form->history().entries(), emptied ? QStringList {} : docs);
        QCOMPARE(QApplication::focusWidget(), list(*form));
        form.reset();
        QCOMPARE(HistoryTestFiles::contents(DocumentHistory::defaultFileName()).isEmpty(), emptied);
    }

    void searchSelectsTheFirstFileNameMatch_data()
    {
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("messages");
        const QString prompt = QStringLiteral("Enter a document name to search for:");
        QTest::newRow("found") << std::optional<QString>(QStringLiteral("report")) << QList<int> { 1 }
                               << QStringList { prompt };
        QTest::newRow("found, any case") << std::optional<QString>(QStringLiteral("rEpOrT")) << QList<int> { 1 }
                                         << QStringList { prompt };
        QTest::newRow("folder only") << std::optional<QString>(QStringLiteral("quarterly")) << QList<int> { 0 }
                                     << QStringList { prompt };
        QTest::newRow("cancel") << std::optional<QString>() << QList<int> { 0 } << QStringList { prompt };
        QTest::newRow("empty") << std::optional<QString>(QString()) << QList<int> { 0 }
                               << QStringList { prompt,
                                      QStringLiteral("Please enter a valid document name to search for.") };
    }

    void searchSelectsTheFirstFileNameMatch()
    {
        QFETCH(std::optional<QString>, answer);
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, messages);
        auto form = shownForm(documents({ QStringLiteral("Quarterly Reports/plan.rtf"), QStringLiteral("MyReport.rtf"),
            QStringLiteral("other report.txt") }));
        QCOMPARE(selectedRows(*form), QList<int> { 0 });
        dialogs().answerInput(answer);
        if (messages.size() > 1)
            dialogs().answerMessage(Dialogs::Ok);
        click<QPushButton>(*form, "btnSearch");
        QCOMPARE(dialogs().messageTexts(), messages);
        QCOMPARE(dialogs().shown().first().title, QStringLiteral("Search for a Document"));
        QCOMPARE(selectedRows(*form), selected);
        QCOMPARE(currentRow(*form), selected.first());
    }

    void filterStaysForLastOpenedDocumentAndTheNextShowing()
    {
        const QStringList docs = documents(
            { QStringLiteral("a.rtf"), QStringLiteral("b.TXT"), QStringLiteral("c.txt"), QStringLiteral("d.txt") });
        writeHistory(docs);
        THistoryForm form;
        QTimer::singleShot(0, &form, [&form, this] {
            click<QToolButton>(form, "imgTXTDocs");
            click<QPushButton>(form, "btnClose");
        });
        QCOMPARE(form.exec(), int(QDialog::Rejected));
        QCOMPARE(form.history().displayed(), (QStringList { docs[2], docs[3] }));

        FakeDocumentWindow window;
        QCOMPARE(LastOpenedDocument::reload(form.history(), window), LastOpenedDocument::Result::Loaded);
        QCOMPARE(window.loaded, QStringList { docs[2] });
        QCOMPARE(window.tabCaption, QStringLiteral("c.txt"));

        QVERIFY(reshow(form));
        QCOMPARE(form.history().displayed(), (QStringList { docs[2], docs[3] }));
        QVERIFY(form.findChild<QToolButton *>(QStringLiteral("imgTXTDocs"))->isChecked());
        QCOMPARE(form.firstEntry(), docs[2]);
    }

    void rowsArePaintedWithTheGradientBand()
    {
        const QString deep = QStringLiteral("a folder with a rather long name/and another one below it/"
                                            "and a third one for good measure/Quarterly report.rtc");
        auto form = shownForm(documents({ QStringLiteral("a.rtf"), QStringLiteral("b.txt"), deep,
            QStringLiteral("page.html"), QStringLiteral("letter.doc") }));
        QListView *view = list(*form);
        // Kept beside the build as a test artifact, for a look at the whole dialog.
        const QString artifacts = QStringLiteral(LUMARO_BINARY_DIR "/test-artifacts");
        QDir().mkpath(artifacts);
        QVERIFY(form->grab().save(artifacts + QStringLiteral("/history-dialog.png")));
        const QImage image = view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect selected = view->visualRect(form->history().index(0));
        const QRect plain = view->visualRect(form->history().index(1));
        QCOMPARE(selected.height(), 35);
        const int x = selected.left() + 38; // between the picture and the path
        const QColor cream(255, 245, 221), grey(197, 197, 197);
        QCOMPARE(image.pixelColor(x, selected.top() + 5), cream);
        QCOMPARE(image.pixelColor(x, selected.top() + 17), cream);
        QCOMPARE(image.pixelColor(x, selected.top() + 25), QColor(255, 229, 161));
        QCOMPARE(image.pixelColor(x, selected.top() + 33), QColor(255, 212, 101));
        QCOMPARE(image.pixelColor(x, selected.top()), grey);
        QCOMPARE(image.pixelColor(x, selected.bottom()), grey);
        QCOMPARE(image.pixelColor(selected.left(), selected.top() + 17), grey);
        // The rounded corner leaves the very corner pixel unpainted.
        QCOMPARE(image.pixelColor(selected.topLeft()), QColor(Qt::white));
        QCOMPARE(image.pixelColor(x, plain.top() + 5), QColor(Qt::white));

        // The path is drawn in black from 40 pixels on, and the picture left of it.
        const auto darkPixels = [&image](QRect area) {
            int dark = 0;
            for (int py = area.top(); py <= area.bottom(); ++py)
                for (int px = area.left(); px <= area.right(); ++px)
                    dark += qGray(image.pixel(px, py)) < 64;
            return dark;
        };
        QVERIFY(darkPixels(QRect(plain.left() + 40, plain.top(), plain.width() - 40, plain.height())) > 20);
        QCOMPARE(darkPixels(QRect(plain.left() + 37, plain.top(), 3, plain.height())), 0);
        QVERIFY(image.pixelColor(plain.left() + 10, plain.top() + 27) != QColor(Qt::white));
        // A path too long for the row runs on one line up to its right end, a short one does not.
        const QRect longRow = view->visualRect(form->history().index(2));
        QVERIFY(darkPixels(QRect(longRow.right() - 60, longRow.top(), 60, longRow.height())) > 0);
        QCOMPARE(darkPixels(QRect(plain.right() - 60, plain.top(), 60, plain.height())), 0);
        QCOMPARE(darkPixels(QRect(longRow.left() + 40, longRow.top(), longRow.width() - 40, 9)), 0);
    }

    void titlePanelDragsTheWindow()
    {
        auto form = shownForm(documents({ QStringLiteral("a.rtf") }));
        QWidget *panel = form->findChild<QWidget *>(QStringLiteral("TitlePanel"));
        QVERIFY(panel);
        const QPoint before = form->pos();
        QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(20, 10));
        QTest::mouseMove(panel, QPoint(70, 40));
        QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(70, 40));
        QTRY_COMPARE(form->pos(), before + QPoint(50, 30));
    }

    void unwritableHistoryFileIsReportedAndKept()
    {
        HistoryTestFiles::UnwritableFolder folder;
        if (!folder.isAvailable())
            QSKIP(qPrintable(folder.why()));
        const QByteArray saved = qgetenv("LUMARO_HOME");
        qputenv("LUMARO_HOME", folder.path().toLocal8Bit());
        const QByteArray old = (m_docs->filePath(QStringLiteral("old.rtf")) + QStringLiteral("\r\n")).toUtf8();
        HistoryTestFiles::create(DocumentHistory::defaultFileName(), old);
        QVERIFY(folder.lock());
        {
            THistoryForm form;
            for (int i = 0; i < 400; ++i)
                form.addFromLink(m_docs->filePath(QStringLiteral("a-long-folder-name/linked-document-%1.rtf").arg(i)));
            dialogs().answerMessage(Dialogs::Ok);
        }
        QCOMPARE(dialogs().messageTexts().size(), 1);
        QVERIFY(dialogs().lastMessage().startsWith(QStringLiteral("The document history could not be saved to ")));
        QCOMPARE(HistoryTestFiles::contents(folder.path() + QStringLiteral("/WrdFileList.dat")), old);
        qputenv("LUMARO_HOME", saved);
    }
};

LUMARO_TEST_CLASS(tst_HistoryForm)
#include "tst_historyform.moc"
