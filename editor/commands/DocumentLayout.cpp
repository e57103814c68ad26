#include "editor/commands/DocumentLayout.h"

#include "editor/commands/TextToolCommands.h"

namespace {

using E = MenuEntry;

E cmd(const char *name)
{
    return E::command(name);
}

QList<E> phraseItems(TextToolCommands::PhraseList list)
{
    static QList<QByteArray> names; // stable storage for the entries' names
    QList<E> items;
    const int count = int(TextToolCommands::phrases(list).size());
    for (int i = 0; i < count; ++i) {
        const QByteArray name = TextToolCommands::phraseCommandName(list, i);
        auto it = std::find(names.cbegin(), names.cend(), name);
        if (it == names.cend()) {
            names.append(name);
            it = names.cend() - 1;
        }
        items.append(cmd(it->constData()));
    }
    return items;
}

QList<E> specialCharacterItems(bool popup)
{
    QList<E> items;
    for (const TextToolCommands::SpecialCharacter &special : TextToolCommands::specialCharacters()) {
        if (popup || special.inMenu)
            items.append(cmd(special.name));
    }
    return items;
}

QList<E> trackChanges()
{
    return { cmd("MarkasRevisedText1"), cmd("EndRevisedText1"), cmd("AcceptChangesMade1"),
        cmd("RejectSelectedChanges1") };
}

QList<E> insertBuilders()
{
    return { cmd("EmotionalIcons1"), cmd("ParagraphDivider1"), cmd("FromEquationBuilder1"),
        cmd("CreativeCharacters1") };
}

QList<E> exportItems()
{
    return {
        cmd("PortableDocumentFormatpdf1"),
        cmd("PortableDocumentFormatsearchablepdf1"),
        E::submenu(QStringLiteral("Portable Document Format (Text Only)"), "PortableDocumentFormatTextOnly1",
            {
                cmd("inTimesRoman121"),
                cmd("inTimesRoman111"),
                cmd("inTimesRoman101"),
                E::separator(),
                cmd("inHelvetica121"),
                cmd("inHelvetica111"),
                cmd("inHelvetica101"),
                E::separator(),
                cmd("inCourierNew121"),
                cmd("inCourierNew111"),
                cmd("inCourierNew101"),
                E::separator(),
                cmd("inCourierNew91"),
                cmd("inCourierNew81"),
                cmd("inCourierNew71"),
            }),
        E::separator(QStringLiteral("Digital Image Formats")),
        cmd("WindowsBitmapbmp1"),
        cmd("PortableNetworkGraphicpng1"),
        cmd("GraphicsInterchangeFormatgif1"),
        cmd("WindowsEnhancedMetafileemf1"),
        cmd("TaggedInformationFileFormattiff1"),
        cmd("JointPhotographicExpertsGroupjpg1"),
        E::separator(QStringLiteral("Velmora Office Presentation Format")),
        cmd("VelmoraPresentationFileFormatvmp1"),
    };
}

} // namespace

QList<MenuDefinition> DocumentLayout::menuBar()
{
    using PL = TextToolCommands::PhraseList;
    return {
        { QStringLiteral("&File"), "File1", 0,
            {
                cmd("New1"),
                cmd("Open1"),
                cmd("Templates1"),
                cmd("Close1"),
                E::separator(),
                E::submenu(QStringLiteral("Online Cloud Storage"), "OnlineCloudStorage1",
                    { cmd("OpenDropBox1"), cmd("OpenOneDrive1"), E::separator(), cmd("CustomCloudStorage1") }),
                E::separator(QStringLiteral("Document Save Options")),
                cmd("Save1"),
                cmd("Saveas1"),
                cmd("Saveselectedas1"),
                E::submenu(QStringLiteral("Export Document as"), "ExportDocumentas1", exportItems()),
                E::separator(QStringLiteral("Printer and Printing Options")),
                cmd("PrinterSetup1"),
                cmd("PrintPreview1"),
                cmd("Print1"),
                E::separator(),
                E::submenu(QStringLiteral("Send To"), "SendTo1", { cmd("EMailRecipient1"), cmd("MessagebyLAN1") }),
                E::separator(),
                cmd("DocumentHistory1"),
                E::separator(),
                cmd("Exit1"),
            } },
        { QStringLiteral("&Edit"), "Edit1", 1,
            {
                cmd("Undo1"),
                cmd("Redo1"),
                E::separator(QStringLiteral("Clipboard Actions")),
                cmd("Cut1"),
                cmd("Copy1"),
                cmd("Paste1"),
                cmd("PasteSpecial1"),
                E::separator(),
                cmd("SelectAll1"),
                cmd("ClearSelection1"),
                cmd("ClearAll1"),
                E::separator(QStringLiteral("Document Search Options")),
                cmd("Find1"),
                cmd("FindNext1"),
                cmd("FindandReplace1"),
                E::separator(),
                cmd("GotoLine1"),
                E::separator(),
                cmd("ObjectProperties1"),
            } },
        { QStringLiteral("View"), "View1", 1,
            {
                cmd("FullWidthOutlineLayout1"),
                cmd("CentredOutlineLayout1"),
                cmd("FullHeightViewingLayout1"),
                E::separator(QStringLiteral("Document Thumbnail Views")),
                cmd("PrintPreviewThumbnails1"),
                cmd("PDFExportPreviewThumbnails1"),
                cmd("ImageExportPreviewThumbnails1"),
                E::separator(),
                cmd("DisableMouseRepositioning1"),
                E::separator(),
                cmd("EditorSideButtons1"),
                cmd("TabbedDocumentInterface1"),
                E::separator(),
                cmd("ZoomIn1"),
                cmd("ZoomOut1"),
                E::separator(QStringLiteral("Document Navigation")),
                cmd("FlipToLastActiveDocument1"),
                cmd("StepToNextDocument1"),
            } },
        { QStringLiteral("&Insert"), "Insert1", 1,
            {
                cmd("Object1"),
                cmd("PicturefromFile1"),
                cmd("FromScanner1"),
                E::separator(),
                cmd("Table1"),
                cmd("LinktoFile1"),
                cmd("FromCharacterMap1"),
                E::separator(QStringLiteral("Document Enhancements")),
                cmd("EmotionalIcons1"),
                cmd("ParagraphDivider1"),
                cmd("FromEquationBuilder1"),
                cmd("CreativeCharacters1"),
                E::separator(QStringLiteral("Auto Text")),
                E::submenu(QStringLiteral("Date and Time"), "DateandTime1",
                    { cmd("LongDate1"), cmd("Date1"), cmd("ShortDate1"), cmd("Date2"), cmd("ShortDate2"),
                        E::separator(), cmd("DayoftheWeek1"), cmd("MonthoftheYear1"), cmd("YearofthisCentury1"),
                        E::separator(), cmd("LongTime1"), cmd("ShortTime1"), cmd("AccurateTime1") }),
                E::submenu(QStringLiteral("Afrikaanse Skrif"), "AfrikaanseSkrif1",
                    { E::submenu(
                          QStringLiteral("Brief Inleiding"), "BriefInleiding1", phraseItems(PL::AfrikaansOpening)),
                        E::submenu(QStringLiteral("Brief Afsluiting"), "BriefAfsluiting1",
                            phraseItems(PL::AfrikaansClosing)) }),
                E::submenu(QStringLiteral("English Text"), "EnglishText1",
                    { E::submenu(QStringLiteral("Salutations"), "Salutations1", phraseItems(PL::EnglishSalutations)),
                        E::submenu(
                            QStringLiteral("Letter Ending"), "LetterEnding1", phraseItems(PL::EnglishEndings)) }),
                cmd("CustomTextPhrases1"),
                E::separator(),
                E::submenu(QStringLiteral("Special Characters"), "SpecialCharacters1", specialCharacterItems(false)),
            } },
        { QStringLiteral("F&ormat"), "Format1", 1,
            {
                cmd("FontOptions1"),
                cmd("ParagraphAttributes1"),
                E::separator(QStringLiteral("Paragraph Formatting")),
                E::submenu(QStringLiteral("Paragraph Presets"), "ParagraphPresets1",
                    { cmd("SingleLineSpacing1"), cmd("N15LineSpacing1"), cmd("DoubleLineSpacing1"), E::separator(),
                        cmd("Heading11"), cmd("Heading21"), cmd("Heading31"), cmd("NormalDefaultText1"), E::separator(),
                        cmd("InsertaPageBreak1"), cmd("ViewasRTFCode1") }),
                E::submenu(QStringLiteral("Bullets and Numbering"), "BulletsandNumbering1",
                    { cmd("None1"), cmd("DecimalNumbers1"), cmd("LowerCaseLetters1"), cmd("UpperCaseLetters1"),
                        cmd("LowerCaseRoman1"), cmd("UpperCaseRoman1"), E::separator(), cmd("DefaultBullet1"),
                        cmd("SmallBullet1"), cmd("HollowBlock1"), E::separator(),
                        E::submenu(QStringLiteral("Numbering Style"), "NumberingStyle1",
                            { cmd("StyleNone1"), cmd("Period1"), cmd("Parenthesis1"), cmd("Enclosed1") }),
                        E::separator(), cmd("StepBulletStyles1") }),
                E::submenu(QStringLiteral("Underline Type"), "UnderlineType1",
                    { cmd("Single1"), cmd("Thick1"), cmd("Wave1"), cmd("DashDotDot1"), cmd("DashDot1"), cmd("Dash1"),
                        cmd("Dotted1"), E::separator(),
                        E::submenu(QStringLiteral("Line Colour"), "LineColour1",
                            { cmd("Automatic1"), cmd("Blue1"), cmd("Aqua1"), cmd("Lime1"), cmd("Purple1"), cmd("Red1"),
                                cmd("Yellow1") }) }),
                E::separator(QStringLiteral("Visual Text Effects")),
                E::submenu(QStringLiteral("Standard Text"), "StandardText1",
                    { cmd("Bold1"), cmd("Italic1"), cmd("Underline1"), E::separator(), cmd("Superscript1"),
                        cmd("Subscript1"), E::separator(), cmd("WordWrapOn1") }),
                E::submenu(QStringLiteral("Special Effects"), "SpecialEffects1",
                    { cmd("AllCaps1"), cmd("SmallCaps1"), E::separator(), cmd("HiddenText1"), cmd("DisabledText1"),
                        cmd("ProtectedText1"), E::separator(), cmd("ScrambleText1"), cmd("UnscrambleText1"),
                        cmd("ReverseForwardText1") }),
                E::separator(),
                cmd("FormatPainter1"),
            } },
        { QStringLiteral("&Tools"), "Tools1", 1,
            {
                cmd("CheckSpelling1"),
                cmd("WordCount2"),
                E::submenu(QStringLiteral("Track Changes"), "TrackChanges1", trackChanges()),
                E::submenu(QStringLiteral("Document Protection"), "DocumentProtection1",
                    { cmd("ProtectDocument1"), cmd("UnProtectDocument1") }),
                E::separator(QStringLiteral("Online Tools")),
                cmd("OnlineTutorials1"),
                cmd("OnlineDictionary1"),
                cmd("OnlineTranslations1"),
                cmd("OnlineAppDownloads1"),
                cmd("OnlineNationalMailSearch1"),
                cmd("OnlineInternationalParcelSearch1"),
                E::separator(QStringLiteral("Velmora Office Tools")),
                cmd("AddressBook1"),
                cmd("EnvelopePrinter1"),
                cmd("Ordinex1"),
                E::separator(),
                cmd("VelmoraTabulonSpreadsheet1"),
                E::separator(QStringLiteral("Scrivane Custom Options")),
                cmd("FontSmoothingOptions1"),
                cmd("VelmoraLumaroStartupOptions1"),
            } },
        { QStringLiteral("&Help"), "Help1", 10,
            {
                cmd("HelpIndex1"),
                E::separator(QStringLiteral("Help File Selection")),
                cmd("HelpinAfrikaans1"),
                cmd("HelpinEnglish1"),
                E::separator(QStringLiteral("Software Updates and Information")),
                cmd("CheckforUpdates1"),
                cmd("AboutVelmoraLumaroEditor1"),
            } },
    };
}

QList<MenuEntry> DocumentLayout::editorPopup()
{
    return {
        cmd("Cut1"),
        cmd("Copy1"),
        cmd("Paste1"),
        E::separator(),
        cmd("SelectAll1"),
        E::separator(),
        cmd("ClearSelection2"),
        cmd("ClearAll1"),
        E::separator(),
        E::submenu(QStringLiteral("Insert"), "PopupInsert1", insertBuilders()),
    };
}

QList<MenuEntry> DocumentLayout::paragraphPopup()
{
    return {
        cmd("SingleLineSpacing1"),
        cmd("N15LineSpacing1"),
        cmd("DoubleLineSpacing1"),
        E::separator(),
        cmd("Heading11"),
        cmd("Heading21"),
        cmd("Heading31"),
        cmd("NormalDefaultText1"),
        E::separator(),
        cmd("InsertaPageBreak1"),
        cmd("ViewasRTFCode1"),
        E::separator(),
        E::submenu(QStringLiteral("Track Changes"), "PopupTrackChanges1", trackChanges()),
        E::separator(),
        cmd("LTRLeftToRightText1"),
        cmd("RTLRightToLeftText1"),
    };
}

QList<MenuEntry> DocumentLayout::specialCharacterPopup()
{
    return specialCharacterItems(true);
}

QList<MenuEntry> DocumentLayout::paperPopup()
{
    return {
        cmd("PaperA41"),
        cmd("PaperLetter1"),
        cmd("PaperLegal1"),
        E::separator(),
        cmd("PaperEnvelope091"),
        cmd("PaperEnvelope101"),
        cmd("PaperEnvelopeDL1"),
        cmd("PaperEnvelopeDLMaxi1"),
        E::separator(),
        cmd("Portrait1"),
        cmd("Landscape1"),
    };
}

QList<const char *> DocumentLayout::toolBar1()
{
    return { "btnNew", "ToolButton18", "btnHistory", "btnOpen", "btnSave", nullptr, "btnPrint", "btnPreview",
        "btnSpellCheck", nullptr, "btnCut", "btnCopy", "btnPaste", nullptr, "btnWeb", nullptr, "btnUndo", "btnRedo",
        nullptr, "btnZoomPlus", "btnZoomMinus", nullptr, "ToolButton9", "btnDecrypt", "btnScanner", "btnTable",
        "btnFileLink", "ToolButton13", nullptr, "btnEmail", "btnSpread", nullptr, "ToolButton16", "btnEnvelope",
        "btnTime", "btnDate", nullptr, "btnCrypt", "btnHelp" };
}

QList<const char *> DocumentLayout::toolBar2()
{
    return { "FontName", nullptr, "FontSize1", nullptr, "btnBold", "btnItalic", "btnUnderline", nullptr, "btnLeft",
        "btnCenter", "btnRight", "btnJustify", nullptr, "btnDedent", "btnFirstIndentM", "btnFirstIndentP", "btnIndent",
        nullptr, "btnParagraph", "btnFont", nullptr, "btnNumbering", "btnBullet", nullptr, "btnSub", "btnSup", nullptr,
        "btnBackColour", "btnTextColour", nullptr, "btnSuperScript", "btnSubScript" };
}

QList<const char *> DocumentLayout::leftSideButtons()
{
    return { "imgToolTips", "imgDocStats", "imgPrintMode", "imgPDFMode", "imgImageMode", "Image4" };
}

QList<const char *> DocumentLayout::rightSideButtons()
{
    return { "imgViewDocs", "imgCustSpell", "imgCustText", "imgFindReplace", "imgTranslation", "imgTemplates" };
}
