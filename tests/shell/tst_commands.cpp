#include "app/QtDialogs.h"
#include "editor/DocumentFileFormats.h"
#include "editor/commands/CommandRegistry.h"
#include "editor/commands/EditCommands.h"
#include "editor/commands/ViewCommands.h"
#include "editor/richtext/RxRichEdit.h"
#include "platform/RichTextProperties.h"
#include "tests/shell/ShellFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>

namespace {

TEditForm *openDocument(ShellFixture &fx)
{
    TFrameForm *frame = fx.showFrame();
    frame->activateWindow();
    if (!QTest::qWaitForWindowActive(frame))
        return nullptr;
    TEditForm *doc = frame->activeDocument();
    if (doc)
        doc->Editor()->setFocus();
    return doc;
}

QAction *action(TEditForm *doc, const char *name)
{
    return doc->commands().action(QString::fromLatin1(name));
}

void setText(TEditForm *doc, const QString &text)
{
    doc->Editor()->setPlainText(text);
    doc->Editor()->document()->clearUndoRedoStacks();
}

// Commands whose parts of the program are not built yet: present, disabled, without a handler.
const QStringList kUnbuilt = [] {
    QStringList names = {
        // character formatting
        "Bold1", "Italic1", "Underline1", "Superscript1", "Subscript1", "btnTextColour", "btnBackColour",
        "FontOptions1", "AllCaps1", "SmallCaps1", "HiddenText1", "DisabledText1", "ProtectedText1",
        "LTRLeftToRightText1", "RTLRightToLeftText1", "FormatPainter1", "Single1", "Thick1", "Wave1", "DashDotDot1",
        "DashDot1", "Dash1", "Dotted1", "Automatic1", "Blue1", "Aqua1", "Lime1", "Purple1", "Red1", "Yellow1",
        // paragraph formatting
        "btnLeft", "btnCenter", "btnRight", "btnJustify", "btnIndent", "btnDedent", "btnFirstIndentP",
        "btnFirstIndentM", "SingleLineSpacing1", "N15LineSpacing1", "DoubleLineSpacing1", "Heading11", "Heading21",
        "Heading31", "NormalDefaultText1", "InsertaPageBreak1", "btnBullet", "btnNumbering", "None1", "DecimalNumbers1",
        "LowerCaseLetters1", "UpperCaseLetters1", "LowerCaseRoman1", "UpperCaseRoman1", "DefaultBullet1",
        "SmallBullet1", "HollowBlock1", "StyleNone1", "Period1", "Parenthesis1", "Enclosed1", "StepBulletStyles1",
        "ParagraphAttributes1",
        // search
        "Find1", "FindNext1", "FindandReplace1", "GotoLine1",
        // text tools
        "ScrambleText1", "UnscrambleText1", "ReverseForwardText1", "btnDate", "btnTime", "MarkasRevisedText1",
        "EndRevisedText1", "AcceptChangesMade1", "RejectSelectedChanges1", "Object1", "PicturefromFile1", "LinktoFile1",
        "ObjectProperties1", "PasteSpecial1", "btnFont", "LongDate1", "Date1", "ShortDate1", "Date2", "ShortDate2",
        "DayoftheWeek1", "MonthoftheYear1", "YearofthisCentury1", "LongTime1", "ShortTime1", "AccurateTime1"
    };
    for (int i = 1; i <= 7; ++i)
        names << QStringLiteral("AfrikaansOpening%1").arg(i);
    for (int i = 1; i <= 12; ++i)
        names << QStringLiteral("AfrikaansClosing%1").arg(i);
    for (int i = 1; i <= 5; ++i)
        names << QStringLiteral("EnglishSalutation%1").arg(i);
    for (int i = 1; i <= 12; ++i)
        names << QStringLiteral("EnglishEnding%1").arg(i);
    names << "SpecialN1"
          << "SpecialECircumflex1"
          << "SpecialEDiaeresis1"
          << "SpecialIDiaeresis1"
          << "SpecialEAcute1"
          << "SpecialEGrave1"
          << "SpecialAGrave1"
          << "SpecialAAcute1"
          << "SpecialADiaeresis1"
          << "SpecialODiaeresis1"
          << "SpecialUDiaeresis1"
          << "OpeningSmartQuote1"
          << "ClosingSmartQuote1"
          << "Registered1"
          << "Trademark1"
          << "Copyright1";
    // spelling, help, launchers
    names << "CheckSpelling1"
          << "HelpIndex1"
          << "HelpinAfrikaans1"
          << "HelpinEnglish1"
          << "AboutVelmoraLumaroEditor1"
          << "AddressBook1"
          << "EnvelopePrinter1"
          << "Ordinex1"
          << "VelmoraTabulonSpreadsheet1"
          << "MessagebyLAN1"
          << "EMailRecipient1";
    // page views and paper
    names << "PrintPreviewThumbnails1"
          << "PDFExportPreviewThumbnails1"
          << "ImageExportPreviewThumbnails1"
          << "DisableMouseRepositioning1"
          << "Image4"
          << "PaperA41"
          << "PaperLetter1"
          << "PaperLegal1"
          << "PaperEnvelope091"
          << "PaperEnvelope101"
          << "PaperEnvelopeDL1"
          << "PaperEnvelopeDLMaxi1"
          << "Portrait1"
          << "Landscape1";
    // printing
    names << "PrinterSetup1"
          << "PrintPreview1"
          << "Print1"
          << "btnPrint";
    // builders
    names << "Table1"
          << "FromCharacterMap1"
          << "EmotionalIcons1"
          << "ParagraphDivider1"
          << "FromEquationBuilder1"
          << "CreativeCharacters1";
    // phrases and templates
    names << "Templates1"
          << "CustomTextPhrases1";
    // tools
    names << "OpenDropBox1"
          << "OpenOneDrive1"
          << "CustomCloudStorage1"
          << "WordCount2"
          << "ViewasRTFCode1"
          << "OnlineTutorials1"
          << "OnlineDictionary1"
          << "OnlineTranslations1"
          << "OnlineAppDownloads1"
          << "OnlineNationalMailSearch1"
          << "OnlineInternationalParcelSearch1"
          << "CheckforUpdates1"
          << "FontSmoothingOptions1"
          << "FromScanner1"
          << "imgDocStats"
          << "imgViewDocs"
          << "imgCustSpell";
    return names;
}();

} // namespace

class tst_Commands : public QObject
{
    Q_OBJECT

private slots:
    void init() { TEditForm::setScreenSizeForTesting(QSize(1920, 1080)); }
    void cleanup() { TEditForm::setScreenSizeForTesting({}); }

    void commandsWithoutHandlerAreListedAndDisabled()
    {
        ShellFixture fx;
        TEditForm *doc = openDocument(fx);
        QVERIFY(doc);
        const QStringList unbuilt = doc->commands().unbuiltCommands();
        const QSet<QString> actual(unbuilt.cbegin(), unbuilt.cend());
        const QSet<QString> expected(kUnbuilt.cbegin(), kUnbuilt.cend());
        QVERIFY2(actual == expected,
            qPrintable(QStringLiteral("without handler but not listed: ")
                + QStringList((actual - expected).values()).join(u' ') + QStringLiteral("; listed but built: ")
                + QStringList((expected - actual).values()).join(u' ')));
        for (const QString &name : unbuilt)
            QVERIFY2(!doc->commands().action(name)->isEnabled(), qPrintable(name));
    }

    void menusToolbarsAndSideButtonsShowTheSameActions()
    {
        ShellFixture fx;
        TEditForm *doc = openDocument(fx);
        QVERIFY(doc);
        // The frame's menu bar carries the document's seven menus and its own Window menu.
        QStringList titles;
        for (QAction *menu : fx.frame()->menuBar()->actions())
            titles << menu->text();
        QCOMPARE(
            titles, (QStringList { "&File", "&Edit", "View", "&Insert", "F&ormat", "&Tools", "&Window", "&Help" }));
        // Every command is reachable from a menu, a pop-up, a toolbar or a side button.
        QSet<QAction *> shown;
        const auto collect = [&shown](auto &&self, const QList<QAction *> &actions) -> void {
            for (QAction *a : actions) {
                shown.insert(a);
                if (a->menu())
                    self(self, a->menu()->actions());
            }
        };
        for (const MenuGroup &group : doc->menuGroups())
            collect(collect, group.menu->actions());
        for (QMenu *popup :
            { doc->editorPopup(), doc->paragraphPopup(), doc->paperPopup(), doc->specialCharacterPopup() })
            collect(collect, popup->actions());
        for (QToolButton *button : doc->findChildren<QToolButton *>()) {
            if (button->defaultAction())
                shown.insert(button->defaultAction());
        }
        for (QAction *command : doc->commands().actions())
            QVERIFY2(shown.contains(command), qPrintable(command->objectName()));
        // Buttons carry their own names and show their command's action.
        const QStringList buttons = { "btnNew", "btnSave", "btnCut", "btnCopy", "btnPaste", "btnUndo", "btnRedo",
            "btnZoomPlus", "btnZoomMinus", "btnBold", "btnCrypt", "btnHelp", "btnSuperScript", "imgToolTips",
            "imgFindReplace", "imgTemplates" };
        for (const QString &name : buttons) {
            auto *button = doc->findChild<QToolButton *>(name);
            QVERIFY2(button, qPrintable(name));
            QCOMPARE(button->defaultAction(), doc->commands().actionForButton(name));
        }
        QCOMPARE(doc->findChild<QToolButton *>("btnCut")->defaultAction(), action(doc, "Cut1"));
        QVERIFY(doc->findChild<QWidget *>("FontName"));
        QVERIFY(doc->findChild<QWidget *>("FontSize1"));
        QCOMPARE(doc->findChild<QToolBar *>("ToolBar1")->actions().size() > 30, true);
    }

    void shortcutsWithTheEditorFocusedReachTheirCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QKeySequence>("keys");
        QTest::newRow("zoom in") << "ZoomIn1" << QKeySequence(Qt::Key_F7);
        QTest::newRow("zoom out") << "ZoomOut1" << QKeySequence(Qt::Key_F8);
        QTest::newRow("tabbed") << "TabbedDocumentInterface1" << QKeySequence(Qt::CTRL | Qt::Key_T);
        QTest::newRow("clear selection") << "ClearSelection1" << QKeySequence(Qt::CTRL | Qt::Key_D);
        QTest::newRow("save") << "Save1" << QKeySequence(Qt::CTRL | Qt::Key_S);
        QTest::newRow("history") << "DocumentHistory1" << QKeySequence(Qt::CTRL | Qt::Key_H);
    }

    void shortcutsWithTheEditorFocusedReachTheirCommands()
    {
        QFETCH(QString, command);
        QFETCH(QKeySequence, keys);
        ShellFixture fx;
        TEditForm *doc = openDocument(fx);
        QVERIFY(doc);
        doc->subWindow()->showMaximized();
        doc->FormResize();
        setText(doc, QStringLiteral("some words here"));
        doc->Editor()->setSelection(0, 4);
        QAction *a = action(doc, command.toLatin1().constData());
        QVERIFY(a);
        QCOMPARE(a->shortcut(), keys);
        QSignalSpy triggered(a, &QAction::triggered);
        if (command == QLatin1String("Save1"))
            fx.dialogs().answerSaveCancel();
        if (command == QLatin1String("DocumentHistory1"))
            QTimer::singleShot(0, fx.history(), [&fx] { fx.history()->close(); });
        QTest::keyClick(doc->Editor(), Qt::Key(keys[0].key()), keys[0].keyboardModifiers());
        QCOMPARE(triggered.count(), 1);
    }

    void editorKeysRunTheControlsCommandsAndTheWindowsFollowUp()
    {
        ShellFixture fx;
        TEditForm *doc = openDocument(fx);
        QVERIFY(doc);
        QTest::keyClicks(doc->Editor(), QStringLiteral("hello"));
        QCOMPARE(action(doc, "Undo1")->text(), QStringLiteral("&Undo typing"));
        QVERIFY(action(doc, "Undo1")->isEnabled());
        QTest::keyClick(doc->Editor(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(doc->Editor()->toPlainText(), QString());
        QCOMPARE(action(doc, "Undo1")->text(), QStringLiteral("&Undo "));
        QVERIFY(!action(doc, "Undo1")->isEnabled());
        QCOMPARE(action(doc, "Redo1")->text(), QStringLiteral("&Redo typing"));
        QTest::keyClick(doc->Editor(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(doc->Editor()->toPlainText(), QStringLiteral("hello"));
        QCOMPARE(doc->statusText(8), QStringLiteral("Words: 1"));
    }

    void undoAndRedoCaptionsNameTheEdit()
    {
        ShellFixture fx;
        TEditForm *doc = openDocument(fx);
        QVERIFY(doc);
        setText(doc, QStringLiteral("one two"));
        doc->Editor()->setSelection(0, 3);
        action(doc, "Cut1")->trigger();
        QCOMPARE(action(doc, "Undo1")->text(), QStringLiteral("&Undo cut"));
        action(doc, "Paste1")->trigger();
        QCOMPARE(action(doc, "Undo1")->text(), QStringLiteral("&Undo paste"));
        action(doc, "Undo1")->trigger();
        QCOMPARE(action(doc, "Redo1")->text(), QStringLiteral("&Redo paste"));
        QCOMPARE(doc->findChild<QToolButton *>("btnRedo")->isEnabled(), true);
    }

    void clipboardCommandsFollowSelectionAndClipboard()
    {
        ShellFixture fx;
        TEditForm *doc = openDocument(fx);
        QVERIFY(doc);
        setText(doc, QStringLiteral("text"));
        doc->Editor()->setSelection(0, 0);
        QApplication::clipboard()->clear();
        QTRY_VERIFY(!action(doc, "Paste1")->isEnabled());
        for (const char *name : { "Cut1", "Copy1", "ClearSelection1", "ClearSelection2", "Saveselectedas1" })
            QVERIFY2(!action(doc, name)->isEnabled(), name);
        QVERIFY(!doc->findChild<QToolButton *>("btnCut")->isEnabled());
        doc->Editor()->setSelection(0, 2);
        for (const char *name : { "Cut1", "Copy1", "ClearSelection1", "Saveselectedas1" })
            QVERIFY2(action(doc, name)->isEnabled(), name);
        // Another program copies: Paste comes on without a menu being opened.
        QApplication::clipboard()->setText(QStringLiteral("from elsewhere"));
        QTRY_VERIFY(action(doc, "Paste1")->isEnabled());
        QVERIFY(doc->findChild<QToolButton *>("btnPaste")->isEnabled());
    }

    void zoomStepsFollowTheScreensTable_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("presses");
        QTest::addColumn<int>("step");
        QTest::addColumn<double>("k");
        QTest::addColumn<QString>("text");
        QTest::newRow("wide step 6") << QSize(1920, 1080) << 1 << 5 << 6 << 0.3 << QStringLiteral("Zoom Factor: 150%");
        QTest::newRow("wide top") << QSize(1920, 1080) << 10 << 3 << 11 << 0.65
                                  << QStringLiteral("Zoom Factor: 200% - Maximum");
        QTest::newRow("narrow stays at 6")
            << QSize(1280, 1024) << 5 << 3 << 6 << 0.68 << QStringLiteral("Zoom Factor: 150% - Maximum");
        QTest::newRow("back to 1") << QSize(1920, 1080) << 2 << -3 << 1 << 0.0
                                   << QStringLiteral("Zoom Factor: 100% - Minimum");
    }

    void zoomStepsFollowTheScreensTable()
    {
        QFETCH(QSize, screen);
        QFETCH(int, from);
        QFETCH(int, presses);
        QFETCH(int, step);
        QFETCH(double, k);
        QFETCH(QString, text);
        TEditForm::setScreenSizeForTesting(screen);
        ShellFixture fx;
        TEditForm *doc = openDocument(fx);
        QVERIFY(doc);
        doc->subWindow()->showMaximized();
        doc->FormResize();
        QVERIFY(action(doc, "ZoomIn1")->isEnabled());
        doc->setZoomStep(from);
        for (int i = 0; i < std::abs(presses); ++i)
            action(doc, presses > 0 ? "ZoomIn1" : "ZoomOut1")->trigger();
        QCOMPARE(doc->ZoomStep(), step);
        QCOMPARE(doc->statusText(7), text);
        const int margin = doc->SideMarginWidth();
        QCOMPARE(doc->findChild<QWidget *>("XiPanel1")->width(), (margin - int(margin * k)) / 2);
        QCOMPARE(doc->findChild<QWidget *>("XiPanel2")->width(), (margin - int(margin * k)) / 2);
    }

    void zoomNeedsAMaximisedWindowAndTheIndentIsNeverNegative()
    {
        QCOMPARE(TEditForm::toolBarIndent(1920), (1920 - 1287) / 2);
        QCOMPARE(TEditForm::toolBarIndent(1280), 0);
        QCOMPARE(TEditForm::toolBarIndent(1024), 0);
        ShellFixture fx;
        TEditForm *doc = openDocument(fx);
        QVERIFY(doc);
        doc->subWindow()->showNormal();
        doc->FormResize();
        QVERIFY(!action(doc, "ZoomIn1")->isEnabled());
        QVERIFY(!doc->findChild<QToolButton *>("btnZoomMinus")->isEnabled());
        // A frame narrower than the screen (a desktop panel beside it) still zooms when maximised.
        fx.frame()->resize(900, 700);
        doc->subWindow()->showMaximized();
        doc->FormResize();
        QVERIFY(action(doc, "ZoomIn1")->isEnabled());
    }

    void layoutCommandsShowHideAndWriteTheirSettings()
    {
        ShellFixture fx;
        TEditForm *doc = openDocument(fx);
        QVERIFY(doc);
        QWidget *left = doc->findChild<QWidget *>("XiPanel1");
        action(doc, "FullWidthOutlineLayout1")->trigger();
        QVERIFY(left->isHidden());
        QVERIFY(action(doc, "FullWidthOutlineLayout1")->isChecked());
        QVERIFY(!action(doc, "CentredOutlineLayout1")->isChecked());
        QVERIFY(DesktopSettings().fullWidthLayout());
        action(doc, "CentredOutlineLayout1")->trigger();
        QVERIFY(!left->isHidden());
        QVERIFY(!DesktopSettings().fullWidthLayout());

        action(doc, "FullHeightViewingLayout1")->trigger();
        QVERIFY(doc->findChild<QToolBar *>("ToolBar1")->isHidden());
        QVERIFY(doc->findChild<QStatusBar *>("StatusBar1")->isHidden());
        QVERIFY(DesktopSettings().fullHeightLayout());
        action(doc, "FullHeightViewingLayout1")->trigger();
        QVERIFY(!doc->findChild<QToolBar *>("ToolBar2")->isHidden());

        action(doc, "EditorSideButtons1")->trigger();
        QVERIFY(doc->findChild<QToolButton *>("imgTemplates")->isHidden());
        QVERIFY(!DesktopSettings().viewRulers());

        const bool tabbed = fx.frame()->tabBar()->isVisible();
        action(doc, "TabbedDocumentInterface1")->trigger();
        QCOMPARE(fx.frame()->tabBar()->isVisible(), !tabbed);
        QCOMPARE(DesktopSettings().tabbedDocument(), !tabbed);
    }

    void fullWidthIsRefusedWhileAThumbnailViewIsOn()
    {
        ShellFixture fx;
        TEditForm *doc = openDocument(fx);
        QVERIFY(doc);
        fx.frame()->settings().printThumbnails = true;
        fx.dialogs().answerMessage(Dialogs::Ok);
        action(doc, "FullWidthOutlineLayout1")->trigger();
        QCOMPARE(fx.dialogs().messageTexts(),
            QStringList { "Please unselect thumbnail view before selecting [Full Width] view." });
        QVERIFY(!doc->findChild<QWidget *>("XiPanel1")->isHidden());
        QVERIFY(!action(doc, "FullWidthOutlineLayout1")->isChecked());
        QVERIFY(!DesktopSettings().fullWidthLayout());
    }

    void wordWrapTogglesScrollBarAndCaption()
    {
        ShellFixture fx;
        TEditForm *doc = openDocument(fx);
        QVERIFY(doc);
        setText(doc, QStringLiteral("abc def"));
        doc->Editor()->setSelection(4, 0);
        action(doc, "WordWrapOn1")->trigger();
        QCOMPARE(action(doc, "WordWrapOn1")->text(), QStringLiteral("WordWrap Off"));
        QVERIFY(!action(doc, "WordWrapOn1")->isChecked());
        QCOMPARE(doc->Editor()->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        QCOMPARE(doc->Editor()->selStart(), 4);
        action(doc, "WordWrapOn1")->trigger();
        QCOMPARE(action(doc, "WordWrapOn1")->text(), QStringLiteral("WordWrap On"));
        QCOMPARE(doc->Editor()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    }

    void statusBarShowsPositionCountsAndKeyStates()
    {
        ShellFixture fx;
        TEditForm *doc = openDocument(fx);
        QVERIFY(doc);
        setText(doc, QStringLiteral("don't\nline"));
        doc->Editor()->setSelection(8, 0);
        QCOMPARE(doc->statusText(0), QStringLiteral("Line:   2  Col:   3"));
        QCOMPARE(doc->statusText(8), QStringLiteral("Words: 2"));
        QCOMPARE(doc->statusText(9), QStringLiteral("Characters: 11")); // the break counts two
        QCOMPARE(doc->statusText(6), QStringLiteral("1 Document(s) Open"));
        QCOMPARE(doc->statusText(5), QStringLiteral("INSERT"));
        QTest::keyClick(doc->Editor(), Qt::Key_Insert);
        QCOMPARE(doc->statusText(5), QStringLiteral("OVERWRITE"));
        QTest::keyClicks(doc->Editor(), QStringLiteral("X"));
        QCOMPARE(doc->Editor()->toPlainText(), QStringLiteral("don't\nliXe"));
        QTest::keyClick(doc->Editor(), Qt::Key_Insert);
        QCOMPARE(doc->statusText(5), QStringLiteral("INSERT"));
    }

    void shortCutListShowsTheKeys()
    {
        ShellFixture fx;
        TEditForm *doc = openDocument(fx);
        QVERIFY(doc);
        fx.dialogs().answerMessage(Dialogs::Ok);
        doc->findChild<QToolButton *>("imgToolTips")->click();
        const QString text = fx.dialogs().messageTexts().value(0);
        QVERIFY(text.startsWith(QStringLiteral("Short-Cut keys for the Editor.")));
        QVERIFY(text.contains(QStringLiteral("Ctrl + Alt + A   -   Open Paragraph Alignment Window")));
    }

    void clearAllIsOneUndoStepAndKeepsProtectedText()
    {
        ShellFixture fx;
        TEditForm *doc = openDocument(fx);
        QVERIFY(doc);
        TRxRichEdit *editor = doc->Editor();
        setText(doc, QStringLiteral("open KEEP open"));
        QTextCursor c(editor->document());
        c.setPosition(5);
        c.setPosition(9, QTextCursor::KeepAnchor);
        QTextCharFormat protectedFormat;
        protectedFormat.setProperty(RichText::Protected, true);
        c.mergeCharFormat(protectedFormat);
        editor->document()->clearUndoRedoStacks();
        action(doc, "ClearAll1")->trigger();
        QCOMPARE(editor->toPlainText(), QStringLiteral("KEEP"));
        QCOMPARE(action(doc, "Undo1")->text(), QStringLiteral("&Undo delete"));
        action(doc, "Undo1")->trigger();
        QCOMPARE(editor->toPlainText(), QStringLiteral("open KEEP open"));
        QVERIFY(!editor->document()->isUndoAvailable());
    }

    void protectedTextSurvivesEveryRemovalPath()
    {
        ShellFixture fx;
        TEditForm *doc = openDocument(fx);
        QVERIFY(doc);
        TRxRichEdit *editor = doc->Editor();
        setText(doc, QStringLiteral("free guarded"));
        QTextCursor c(editor->document());
        c.setPosition(5);
        c.setPosition(12, QTextCursor::KeepAnchor);
        QTextCharFormat protectedFormat;
        protectedFormat.setProperty(RichText::Protected, true);
        c.mergeCharFormat(protectedFormat);
        // Ctrl+Backspace at the end removes the whole protected word, so it is refused.
        editor->setSelection(12, 0);
        QTest::keyClick(editor, Qt::Key_Backspace, Qt::ControlModifier);
        // Ctrl+Delete before the word.
        editor->setSelection(5, 0);
        QTest::keyClick(editor, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(editor->toPlainText(), QStringLiteral("free guarded"));
        // The pop-up menu is the window's, whose commands ask the control first.
        editor->setSelection(3, 5);
        QSignalSpy popup(editor, &TRxRichEdit::popupMenuRequested);
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5), editor->mapToGlobal(QPoint(5, 5)));
        QTimer::singleShot(0, doc->editorPopup(), &QMenu::close);
        QApplication::sendEvent(editor->viewport(), &menuEvent);
        QCOMPARE(popup.count(), 1);
        action(doc, "ClearSelection2")->trigger();
        action(doc, "Cut1")->trigger();
        QCOMPARE(editor->toPlainText(), QStringLiteral("free guarded"));
    }

    void saveDialogShowsEachPatternOnceAndNamesFollowTheFilter()
    {
        const auto filters = DocumentFileFormats::saveFilters();
        const QStringList names = QtDialogs::filterString(filters).split(QStringLiteral(";;"));
        QCOMPARE(names.first(), QStringLiteral("Rich Text Format (*.rtf)"));
        QCOMPARE(names.at(10), QStringLiteral("Web Page (*.htm *.html)"));
        for (const QString &name : names)
            QCOMPARE(name.count(QLatin1Char('(')), 1);
        QCOMPARE(QtDialogs::suffixOf(filters, 1), QStringLiteral("rtf"));
        QCOMPARE(QtDialogs::suffixOf(filters, 5), QStringLiteral("txt")); // Unicode text
        QCOMPARE(QtDialogs::suffixOf(filters, 2), QStringLiteral("rtc"));
        QCOMPARE(QtDialogs::suffixOf(filters, 13), QString()); // all files
    }
};

LUMARO_TEST_CLASS(tst_Commands)
#include "tst_commands.moc"
