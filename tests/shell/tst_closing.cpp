#include "editor/richtext/RxRichEdit.h"
#include "tests/shell/ShellFixture.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTabBar>

#include <utility>

// Documents closed in every way the frame allows. Each step checks that the frame's view of its
// windows (list, active document, tabs, merged menus) agrees with what is really open; in the
// sanitizer build of CI these tests also show that no window is asked anything while it is being
// destroyed.

namespace {

TEditForm *newDocument(TFrameForm *frame)
{
    frame->New1Click();
    return frame->activeDocument();
}

void modify(TEditForm *document, const QString &text)
{
    document->Editor()->textCursor().insertText(text);
    QVERIFY(document->Editor()->isModified());
}

void trigger(QObject *owner, const char *name)
{
    auto *action = owner->findChild<QAction *>(QString::fromLatin1(name));
    QVERIFY2(action, name);
    QVERIFY2(action->isEnabled(), name);
    action->trigger();
}

QList<QMenu *> barMenus(TFrameForm *frame)
{
    QList<QMenu *> menus;
    for (QAction *a : frame->menuBar()->actions()) {
        if (a->menu())
            menus.append(a->menu());
    }
    return menus;
}

// The frame's bookkeeping against the windows that are open: every listed window is open and
// shown in a sub-window of the area, has exactly one tab, the active document is listed, and the
// menu bar holds its menus (the frame's own when none is open).
void checkConsistent(TFrameForm *frame, const QList<TEditForm *> &expected)
{
    const QList<TEditForm *> documents = frame->documentWindows();
    QCOMPARE(
        QSet<TEditForm *>(documents.begin(), documents.end()), QSet<TEditForm *>(expected.begin(), expected.end()));
    QCOMPARE(frame->documentCount(), int(expected.size()));
    QCOMPARE(frame->tabBar()->count(), int(expected.size()));
    for (int i = 0; i < frame->tabBar()->count(); ++i)
        QVERIFY(documents.contains(frame->documentOfTab(i)));
    for (TEditForm *document : documents) {
        QVERIFY(!document->isClosed());
        QVERIFY(document->subWindow());
        QVERIFY(frame->findChild<QMdiArea *>()->subWindowList().contains(document->subWindow()));
    }
    TEditForm *active = frame->activeDocument();
    QCOMPARE(frame->UpdateLockCount(), 0);
    if (expected.isEmpty()) {
        QVERIFY(!active);
        QCOMPARE(barMenus(frame).first()->objectName(), QStringLiteral("FrameFile1"));
        return;
    }
    QVERIFY(active);
    QCOMPARE(documents.first(), active);
    QCOMPARE(frame->documentOfTab(frame->tabBar()->currentIndex()), active);
    QVERIFY(barMenus(frame).contains(active->menuGroups().first().menu));
}

} // namespace

// A failed check ends the test at once.
#define CHECK_CONSISTENT(...)                                                                                          \
    do {                                                                                                               \
        checkConsistent(__VA_ARGS__);                                                                                  \
        if (QTest::currentTestFailed())                                                                                \
            return;                                                                                                    \
    } while (false)

class tst_Closing : public QObject
{
    Q_OBJECT

private slots:
    void closeTakesTheWindowOutAtOnceAndTheNextComesForward()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        TEditForm *a = frame->activeDocument();
        TEditForm *b = newDocument(frame);
        TEditForm *c = newDocument(frame);
        CHECK_CONSISTENT(frame, { a, b, c });

        // The document's own Close: gone from the list before its window is freed.
        QPointer<QMdiSubWindow> cSub = c->subWindow();
        trigger(c, "Close1");
        CHECK_CONSISTENT(frame, { a, b });
        ShellFixture::flushDeletes();
        QVERIFY(!cSub);
        CHECK_CONSISTENT(frame, { a, b });
        QCOMPARE(frame->activeDocument()->statusText(6), QStringLiteral("2 Document(s) Open"));

        // A window that is not the active one.
        TEditForm *active = frame->activeDocument();
        TEditForm *other = active == a ? b : a;
        QVERIFY(other->closeDocument());
        CHECK_CONSISTENT(frame, { active });
        QCOMPARE(frame->activeDocument(), active);

        // The frame's Close Current Document, down to no document at all.
        frame->CloseCurrentDocument1Click();
        CHECK_CONSISTENT(frame, {});
        ShellFixture::flushDeletes();
        CHECK_CONSISTENT(frame, {});
        frame->FlipThroughTop2Documents1Click();
        frame->StepThroughAllDocuments1Click();
        frame->CloseCurrentDocument1Click();
        frame->CloseAllDocuments1Click();
        CHECK_CONSISTENT(frame, {});

        // New after the last window closed works as at start.
        TEditForm *fresh = newDocument(frame);
        CHECK_CONSISTENT(frame, { fresh });
    }

    void closeAllAsksModifiedWindowsAndClosesTheRest()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        TEditForm *a = frame->activeDocument();
        newDocument(frame); // b: unmodified, it closes without a question
        TEditForm *c = newDocument(frame);
        modify(a, QStringLiteral("kept"));
        modify(c, QStringLiteral("dropped"));
        // a is asked (Cancel: it stays), b closes without a question, c is asked (No).
        fx.dialogs().answerMessage(Dialogs::Cancel);
        fx.dialogs().answerMessage(Dialogs::No);
        frame->CloseAllDocuments1Click();
        QCOMPARE(fx.dialogs().messageTexts().size(), 2);
        QCOMPARE(fx.dialogs().pendingAnswers(), 0);
        CHECK_CONSISTENT(frame, { a });
        ShellFixture::flushDeletes();
        CHECK_CONSISTENT(frame, { a });
        QCOMPARE(a->Editor()->toPlainText(), QStringLiteral("kept"));

        fx.dialogs().answerMessage(Dialogs::No);
        frame->CloseAllDocuments1Click();
        CHECK_CONSISTENT(frame, {});
        ShellFixture::flushDeletes();
        CHECK_CONSISTENT(frame, {});
    }

    void exitWithACancelledSaveKeepsEveryWindowThenClosesAll()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        TEditForm *a = frame->activeDocument();
        TEditForm *b = newDocument(frame);
        TEditForm *c = newDocument(frame);
        modify(b, QStringLiteral("unsaved"));

        // Yes, then the save dialog is cancelled: the exit stops with everything open.
        fx.dialogs().answerMessage(Dialogs::Yes);
        fx.dialogs().answerSaveCancel();
        trigger(c, "Exit1");
        QVERIFY(frame->isVisible());
        CHECK_CONSISTENT(frame, { a, b, c });
        QCOMPARE(b->Editor()->toPlainText(), QStringLiteral("unsaved"));

        // Yes with a file: saved, and every window goes.
        const QString path = fx.file(QStringLiteral("saved.rtf"));
        fx.dialogs().answerMessage(Dialogs::Yes);
        fx.dialogs().answerSave(path);
        frame->Exit1Click();
        QVERIFY(!frame->isVisible());
        QVERIFY(ShellFixture::readFile(path).startsWith("{\\rtf"));
        CHECK_CONSISTENT(frame, {});
        ShellFixture::flushDeletes();
        CHECK_CONSISTENT(frame, {});
        QCOMPARE(fx.dialogs().pendingAnswers(), 0);
    }

    void aWindowClosingWhileAnotherIsActivated()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        auto *area = frame->findChild<QMdiArea *>();
        TEditForm *a = frame->activeDocument();
        TEditForm *b = newDocument(frame);
        TEditForm *c = newDocument(frame);

        // b is about to become active when a closes: the area is in the middle of its activation.
        QPointer<TEditForm> victim = a;
        auto closeVictim = [&victim] {
            if (victim)
                std::exchange(victim, nullptr)->closeDocument();
        };
        auto hook = connect(b->subWindow(), &QMdiSubWindow::aboutToActivate, this, closeVictim);
        frame->activateDocument(b);
        disconnect(hook);
        QVERIFY(!victim);
        CHECK_CONSISTENT(frame, { b, c });
        QCOMPARE(frame->activeDocument(), b);
        ShellFixture::flushDeletes();
        CHECK_CONSISTENT(frame, { b, c });

        // Closing the active window brings another forward, whose activation closes a third one.
        TEditForm *d = newDocument(frame);
        frame->activateDocument(c);
        frame->activateDocument(d);
        CHECK_CONSISTENT(frame, { b, c, d });
        victim = b;
        hook = connect(area, &QMdiArea::subWindowActivated, this, [&](QMdiSubWindow *window) {
            if (window && window == c->subWindow())
                closeVictim();
        });
        d->closeDocument();
        disconnect(hook);
        ShellFixture::flushDeletes();
        QList<TEditForm *> left { c };
        if (victim)
            left.append(b); // the area brought b forward, not c
        CHECK_CONSISTENT(frame, left);

        // A tab chosen while the window of another tab closes.
        TEditForm *e = newDocument(frame);
        left.append(e);
        CHECK_CONSISTENT(frame, left);
        victim = e;
        hook = connect(c->subWindow(), &QMdiSubWindow::aboutToActivate, this, closeVictim);
        for (int i = 0; i < frame->tabBar()->count(); ++i) {
            if (frame->documentOfTab(i) == c)
                frame->tabBar()->setCurrentIndex(i);
        }
        disconnect(hook);
        QVERIFY(!victim);
        left.removeAll(e);
        CHECK_CONSISTENT(frame, left);
        ShellFixture::flushDeletes();
        CHECK_CONSISTENT(frame, left);
    }

    void aSubWindowDestroyedWithoutClosingLeavesTheFrame()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        TEditForm *a = frame->activeDocument();
        TEditForm *b = newDocument(frame);
        TEditForm *c = newDocument(frame);
        modify(c, QStringLiteral("no question when the window is destroyed"));
        // The active one and one in the back.
        delete c->subWindow();
        CHECK_CONSISTENT(frame, { a, b });
        delete a->subWindow();
        CHECK_CONSISTENT(frame, { b });
        ShellFixture::flushDeletes();
        CHECK_CONSISTENT(frame, { b });
        QCOMPARE(fx.dialogs().messageTexts(), QStringList());
    }

    void destroyingTheFrameWithOpenWindowsAsksNothing()
    {
        ShellFixture fx;
        TFrameForm *frame = fx.showFrame();
        const QString path = fx.file(QStringLiteral("open.rtf"));
        ShellFixture::writeFile(path, sampleRtf());
        QVERIFY(frame->openInNewWindow(path));
        modify(newDocument(frame), QStringLiteral("modified"));
        QPointer<TEditForm> watched = frame->activeDocument();
        QCOMPARE(frame->documentCount(), 3);
        fx.destroyFrame();
        QVERIFY(!watched);
        QCOMPARE(fx.dialogs().messageTexts(), QStringList());
    }
};

LUMARO_TEST_CLASS(tst_Closing)
#include "tst_closing.moc"
