#include "app/DesktopSettings.h"
#include "app/FrameClientArea.h"
#include "app/MenuMerger.h"
#include "app/StartupDialogs.h"
#include "editor/richtext/RxRichEdit.h"
#include "tests/shell/ShellFixture.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QTabBar>

namespace {

TEditForm *newDocument(TFrameForm *frame)
{
    frame->New1Click();
    return frame->activeDocument();
}

QStringList menuTitles(TFrameForm *frame)
{
    QStringList titles;
    for (QAction *a : frame->menuBar()->actions())
        titles.append(a->menu() ? a->menu()->objectName() : a->text());
    return titles;
}

void modify(TEditForm *document, const QString &text)
{
    document->Editor()->textCursor().insertText(text);
    QVERIFY(document->Editor()->isModified());
}

} // namespace

class tst_Frame : public QObject
{
    Q_OBJECT

private slots:
    void startWithoutArgumentsOpensOneUntitledDocument()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        QCOMPARE(frame->documentCount(), 1);
        QCOMPARE(frame->tabBar()->count(), 1);
        QCOMPARE(frame->tabBar()->tabText(0), QStringLiteral("New Document"));
        QCOMPARE(frame->activeDocument()->DocumentFileName(), QStringLiteral("Untitled"));
        QCOMPARE(frame->activeDocument()->windowTitle(), QStringLiteral("Untitled"));
        QCOMPARE(frame->UpdateLockCount(), 0);
        QVERIFY(!frame->isOpenNewOnShow());
        QCOMPARE(frame->activeDocument()->statusText(6), QStringLiteral("1 Document(s) Open"));
        QCOMPARE(fx.dialogs().messageTexts(), QStringList());
    }

    void startWithAFileOpensItAlone()
    {
        ShellFixture fx;
        const QString path = fx.file(QStringLiteral("letter.rtf"));
        ShellFixture::writeFile(path, sampleRtf());
        TFrameForm *frame = fx.showFrame({ path });
        QCOMPARE(frame->documentCount(), 1);
        QCOMPARE(frame->tabBar()->tabText(0), QStringLiteral("letter.rtf"));
        QCOMPARE(frame->activeDocument()->DocumentFileName(), path);
        QVERIFY(frame->activeDocument()->Editor()->toPlainText().startsWith(QStringLiteral("Plain start")));
        // The command line does not change the history.
        QVERIFY(fx.history()->history().entries().isEmpty());
    }

    void startWithAMissingFileOpensANewDocument()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame({ fx.file(QStringLiteral("nowhere.rtf")) });
        QCOMPARE(frame->documentCount(), 1);
        QCOMPARE(frame->activeDocument()->DocumentFileName(), QStringLiteral("Untitled"));
    }

    void startWithAnUnreadableFileSaysSo()
    {
        ShellFixture fx;
        const QString path = fx.file(QStringLiteral("broken.rtc"));
        ShellFixture::writeFile(path, "not zlib");
        fx.dialogs().answerMessage(Dialogs::Ok);
        TFrameForm *frame = fx.showFrame({ path });
        QCOMPARE(fx.dialogs().messageTexts(), QStringList { QStringLiteral("Unable to Open File") });
        QCOMPARE(frame->UpdateLockCount(), 0);
        QVERIFY(!frame->isScreenUpdateSuspended());
        QCOMPARE(frame->documentCount(), 1);
    }

    void flipAndStepVisitDocumentsInOrder()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        TEditForm *d3 = frame->activeDocument();
        TEditForm *d2 = newDocument(frame);
        TEditForm *d1 = newDocument(frame);
        QCOMPARE(frame->documentWindows(), (QList<TEditForm *> { d1, d2, d3 }));

        frame->FlipThroughTop2Documents1Click();
        QCOMPARE(frame->activeDocument(), d2);
        frame->FlipThroughTop2Documents1Click();
        QCOMPARE(frame->activeDocument(), d1);

        frame->StepThroughAllDocuments1Click();
        QCOMPARE(frame->activeDocument(), d3);
        frame->StepThroughAllDocuments1Click();
        QCOMPARE(frame->activeDocument(), d2);
        frame->StepThroughAllDocuments1Click();
        QCOMPARE(frame->activeDocument(), d1);
        QCOMPARE(frame->UpdateLockCount(), 0);

        // The keys reach the same commands from the menu bar.
        QAction *flip = frame->findChild<QAction *>(QStringLiteral("FlipThroughTop2Documents1"));
        QCOMPARE(flip->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F7));
        flip->trigger();
        QCOMPARE(frame->activeDocument(), d2);
    }

    void flipAndStepWithOneDocumentDoNothing()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        TEditForm *only = frame->activeDocument();
        QSignalSpy activations(frame->findChild<QMdiArea *>(), &QMdiArea::subWindowActivated);
        frame->FlipThroughTop2Documents1Click();
        frame->StepThroughAllDocuments1Click();
        QCOMPARE(frame->activeDocument(), only);
        QCOMPARE(activations.count(), 0);
    }

    void shortcutsReachTheMergedMenus()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        QVERIFY(QTest::qWaitForWindowActive(frame));
        TEditForm *first = frame->activeDocument();
        first->Editor()->setFocus();
        QTest::keySequence(first->Editor(), QKeySequence(Qt::CTRL | Qt::Key_N));
        QCOMPARE(frame->documentCount(), 2);
        QTest::keySequence(frame->activeDocument()->Editor(), QKeySequence(Qt::CTRL | Qt::Key_F7));
        QCOMPARE(frame->activeDocument(), first);
    }

    void nestedUpdateLocksResumeAtTheOutermostEnd()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        frame->BeginScreenUpdate();
        frame->BeginScreenUpdate();
        QVERIFY(frame->isScreenUpdateSuspended());
        frame->EndScreenUpdate();
        QVERIFY(frame->isScreenUpdateSuspended());
        QCOMPARE(frame->UpdateLockCount(), 1);
        frame->EndScreenUpdate();
        QVERIFY(!frame->isScreenUpdateSuspended());
        QCOMPARE(frame->UpdateLockCount(), 0);
        frame->EndScreenUpdate();
        QCOMPARE(frame->UpdateLockCount(), 0);
        frame->BeginScreenUpdate();
        QVERIFY(frame->isScreenUpdateSuspended());
        frame->EndScreenUpdate();
    }

    void tabsAndActivationFollowEachOther()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        TEditForm *first = frame->activeDocument();
        TEditForm *second = newDocument(frame);
        QTabBar *tabs = frame->tabBar();
        QCOMPARE(tabs->count(), 2);
        QCOMPARE(tabs->currentIndex(), 1);

        // Selecting a tab activates its document.
        tabs->setCurrentIndex(0);
        QCOMPARE(frame->activeDocument(), first);
        QCOMPARE(frame->findChild<QMdiArea *>()->activeSubWindow(), first->subWindow());
        QCOMPARE(frame->UpdateLockCount(), 0);

        // Activating a document selects its tab, without activating anything again.
        QSignalSpy activations(frame->findChild<QMdiArea *>(), &QMdiArea::subWindowActivated);
        QSignalSpy tabChanges(tabs, &QTabBar::currentChanged);
        frame->activateDocument(second);
        QCOMPARE(tabs->currentIndex(), 1);
        QCOMPARE(activations.count(), 1);
        QCOMPARE(tabChanges.count(), 1);
        QCOMPARE(frame->tabTag(), 0);
        QCOMPARE(frame->activeDocument(), second);
    }

    void closeAllAsksEachModifiedDocumentAndKeepsTheCancelledOne()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        TEditForm *older = frame->activeDocument();
        TEditForm *newer = newDocument(frame);
        modify(older, QStringLiteral("older text"));
        modify(newer, QStringLiteral("newer text"));
        // From the back of the list to its front: the older window is asked first.
        fx.dialogs().answerMessage(Dialogs::Cancel);
        fx.dialogs().answerMessage(Dialogs::No);
        frame->CloseAllDocuments1Click();
        ShellFixture::flushDeletes();
        QCOMPARE(fx.dialogs().messageTexts().size(), 2);
        QCOMPARE(frame->documentWindows(), QList<TEditForm *> { older });
        QCOMPARE(frame->tabBar()->count(), 1);
        QCOMPARE(older->Editor()->toPlainText(), QStringLiteral("older text"));
    }

    void exitStopsWhenADocumentRefuses()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        TEditForm *a = frame->activeDocument();
        TEditForm *b = newDocument(frame);
        modify(a, QStringLiteral("a"));
        modify(b, QStringLiteral("b"));
        fx.dialogs().answerMessage(Dialogs::No);
        fx.dialogs().answerMessage(Dialogs::Cancel);
        QVERIFY(!frame->close());
        QCOMPARE(frame->documentCount(), 2);
        QVERIFY(frame->isVisible());

        // Yes whose save dialog is cancelled stops the exit too.
        fx.dialogs().answerMessage(Dialogs::Yes);
        fx.dialogs().answerSaveCancel();
        QVERIFY(!frame->close());
        QCOMPARE(frame->documentCount(), 2);

        fx.dialogs().answerMessage(Dialogs::No);
        fx.dialogs().answerMessage(Dialogs::No);
        QVERIFY(frame->close());
        ShellFixture::flushDeletes();
        QCOMPARE(frame->documentCount(), 0);
        QCOMPARE(fx.dialogs().pendingAnswers(), 0);
    }

    void documentMenusReplaceTheFrameMenusOfTheirGroup()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        QCOMPARE(menuTitles(frame),
            (QStringList { QStringLiteral("File1"), QStringLiteral("Edit1"), QStringLiteral("View1"),
                QStringLiteral("Insert1"), QStringLiteral("Format1"), QStringLiteral("Tools1"), QStringLiteral("Window1"),
                QStringLiteral("Help1") }));
        frame->activeDocument()->closeDocument();
        ShellFixture::flushDeletes();
        QCOMPARE(menuTitles(frame), (QStringList { QStringLiteral("FrameFile1"), QStringLiteral("Window1") }));
        QVERIFY(!frame->findChild<QAction *>(QStringLiteral("CloseCurrentDocument1"))->isEnabled());
        QVERIFY(!frame->findChild<QAction *>(QStringLiteral("TileVertically1"))->isEnabled());

        auto *f0 = new QMenu(QStringLiteral("f0"), frame);
        auto *f9 = new QMenu(QStringLiteral("f9"), frame);
        auto *c0 = new QMenu(QStringLiteral("c0"), frame);
        auto *c1a = new QMenu(QStringLiteral("c1a"), frame);
        auto *c1b = new QMenu(QStringLiteral("c1b"), frame);
        auto *c10 = new QMenu(QStringLiteral("c10"), frame);
        QCOMPARE(MenuMerger::merged({ { 0, f0 }, { 9, f9 } }, { { 0, c0 }, { 1, c1a }, { 1, c1b }, { 10, c10 } }),
            (QList<QMenu *> { c0, c1a, c1b, f9, c10 }));
    }

    void newTakesTheStartupOptions()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        const QTextCharFormat format = frame->activeDocument()->Editor()->defaultCharFormat();
        QCOMPARE(format.fontFamilies().toStringList().value(0), QStringLiteral("Arial"));
        QCOMPARE(format.fontPointSize(), 12.0);
        QCOMPARE(frame->startupOptions().DefaultFontSize, 12);
    }

    void openingTheSameFileTwiceKeepsOneHistoryEntry()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        const QString a = fx.file(QStringLiteral("a.rtf"));
        const QString b = fx.file(QStringLiteral("b.rtf"));
        ShellFixture::writeFile(a, sampleRtf());
        ShellFixture::writeFile(b, sampleRtf());
        for (const QString &path : { a, b, a }) {
            fx.dialogs().answerOpen({ path });
            frame->Open1Click();
        }
        QCOMPARE(fx.dialogs().shown().first().file.title, QStringLiteral("Open File"));
        QCOMPARE(fx.dialogs().shown().first().file.filters.size(), 11);
        QCOMPARE(fx.history()->history().entries(), (QStringList { a, b }));
        // Every Open makes a window, also for a file already open.
        QCOMPARE(frame->documentCount(), 4);
    }

    void droppedFilesOpenEachInAWindow()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        const QString a = fx.file(QStringLiteral("one.rtf"));
        const QString b = fx.file(QStringLiteral("two.txt"));
        ShellFixture::writeFile(a, sampleRtf());
        ShellFixture::writeFile(b, "plain words");
        QMimeData data;
        data.setUrls({ QUrl::fromLocalFile(a), QUrl::fromLocalFile(b) });
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame, &drop);
        QCOMPARE(frame->documentCount(), 3);
        QCOMPARE(frame->tabBar()->tabText(1), QStringLiteral("one.rtf"));
        QCOMPARE(frame->tabBar()->tabText(2), QStringLiteral("two.txt"));
        QCOMPARE(frame->activeDocument()->Editor()->toPlainText(), QStringLiteral("plain words"));
    }

    void transparencyFromSettings_data()
    {
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("alpha");
        QTest::newRow("opaque") << 0 << 255;
        QTest::newRow("half") << 50 << 128;
        QTest::newRow("fully") << 100 << 0;
        QTest::newRow("above range") << 150 << 0;
    }
    void transparencyFromSettings()
    {
        QFETCH(int, percent);
        QFETCH(int, alpha);
        QCOMPARE(TFrameForm::transparencyAlpha(percent), alpha);
    }

    void frameReadsTabbedSettingAndTransparency()
    {
        ShellFixture fx;
        ShellFixture::writeFile(fx.home() + QStringLiteral("/DeskTopDock.ini"),
            "[Transparency]\r\nValue=50\r\n[InterFace]\r\nTabbed Document=1\r\n");
        TFrameForm *frame = fx.showFrame();
        QVERIFY(frame->settings().tabbedDocument);
        QVERIFY(frame->tabBar()->isVisible());
        QCOMPARE(qRound(frame->windowOpacity() * 255), 128);
    }

    void backgroundPictureIsCentred()
    {
        QCOMPARE(FrameClientArea::picturePosition(QSize(1000, 600), QSize(460, 280)), QPoint(270, 160));
        QCOMPARE(FrameClientArea::picturePosition(QSize(301, 101), QSize(460, 280)), QPoint(-79, -89));
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        QVERIFY(!frame->backgroundPicture().isNull());
        QVERIFY(frame->findChild<QLabel *>(QStringLiteral("Image1"))->isHidden());
    }

    void everyStartDialogIsMadeOnceInOrder()
    {
        ShellFixture fx;
        const QStringList order = StartupDialogs::creationOrder();
        QCOMPARE(order.size(), 21);
        QCOMPARE(order.first(), QStringLiteral("TPrintPreviewForm"));
        QCOMPARE(order.at(3), QStringLiteral("THistoryForm"));
        QCOMPARE(order.last(), QStringLiteral("TfrmOnlineStorage"));
        QWidget parent;
        StartupDialogs dialogs;
        dialogs.createAll(&parent);
        QCOMPARE(dialogs.dialogs().size(), order.size());
        for (int i = 0; i < order.size(); ++i) {
            QDialog *d = dialogs.dialogs().at(i);
            QCOMPARE(QString::fromLatin1(d->metaObject()->className()), order.at(i));
            QVERIFY(!d->isVisible());
        }
        QVERIFY(dialogs.historyForm());
        dialogs.destroyAll();
        // The history is written when its dialog goes.
        QVERIFY(QFile::exists(fx.home() + QStringLiteral("/WrdFileList.dat")));
    }
};

LUMARO_TEST_CLASS(tst_Frame)
#include "tst_frame.moc"
