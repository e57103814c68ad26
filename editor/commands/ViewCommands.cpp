#include "editor/commands/ViewCommands.h"

#include "app/DesktopSettings.h"
#include "editor/richtext/RxRichEdit.h"
#include "platform/Dialogs.h"

#include <QKeySequence>

ViewCommands::ViewCommands(ViewHost &host)
    : m_host(host)
{
    m_fullWidth = m_host.frameSetting(FullWidthLayout);
}

QList<Command> ViewCommands::commands()
{
    using K = Command::Kind;
    return {
        { .name = "ZoomIn1",
            .caption = QStringLiteral("Zoom In"),
            .shortcut = QKeySequence(Qt::Key_F7),
            .toolTip = QStringLiteral("Zoom In"),
            .statusTip = QStringLiteral("Zoom In on the Document."),
            .icon = "zoom-in",
            .button = "btnZoomPlus",
            .run = [this] { ZoomIn1Click(); },
            .enabled = [this] { return m_host.isZoomAllowed(); } },
        { .name = "ZoomOut1",
            .caption = QStringLiteral("Zoom Out"),
            .shortcut = QKeySequence(Qt::Key_F8),
            .toolTip = QStringLiteral("Zoom Out"),
            .statusTip = QStringLiteral("Zoom out on the Document."),
            .icon = "zoom-out",
            .button = "btnZoomMinus",
            .run = [this] { ZoomOut1Click(); },
            .enabled = [this] { return m_host.isZoomAllowed(); } },
        { .name = "FullWidthOutlineLayout1",
            .caption = QStringLiteral("Full Width Outline Layout"),
            .kind = K::Exclusive,
            .exclusiveGroup = 40,
            .run = [this] { FullWidthOutlineLayout1Click(); },
            .checked = [this] { return m_fullWidth; } },
        { .name = "CentredOutlineLayout1",
            .caption = QStringLiteral("Centred Outline Layout"),
            .kind = K::Exclusive,
            .exclusiveGroup = 40,
            .run = [this] { CentredOutlineLayout1Click(); },
            .checked = [this] { return !m_fullWidth; } },
        { .name = "FullHeightViewingLayout1",
            .caption = QStringLiteral("Full Height Viewing Layout"),
            .kind = K::Checkable,
            .run = [this] { FullHeightViewingLayout1Click(); },
            .checked = [this] { return m_host.frameSetting(FullHeightLayout); } },
        { .name = "EditorSideButtons1",
            .caption = QStringLiteral("Editor Side Buttons"),
            .kind = K::Checkable,
            .run = [this] { EditorSideButtons1Click(); },
            .checked = [this] { return m_host.frameSetting(SideButtons); } },
        { .name = "TabbedDocumentInterface1",
            .caption = QStringLiteral("Tabbed Document Interface"),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_T),
            .kind = K::Checkable,
            .run = [this] { TabbedDocumentInterface1Click(); },
            .checked = [this] { return m_host.frameSetting(TabbedDocument); } },
        // The frame's Window menu owns the navigation keys; these items show them.
        { .name = "FlipToLastActiveDocument1",
            .caption = QStringLiteral("Flip To Last Active Document\tCtrl+F7"),
            .toolTip = QStringLiteral("Flip To Last Active Document"),
            .statusTip = QStringLiteral("Flip To Last Active Document - Ctrl+F7"),
            .icon = "go-previous",
            .button = "btnSuperScript",
            .run = [this] { m_host.flipDocuments(); } },
        { .name = "StepToNextDocument1",
            .caption = QStringLiteral("Step To Next Document\tCtrl+F8"),
            .toolTip = QStringLiteral("Step To Next Document"),
            .statusTip = QStringLiteral("Step To Next Document - Ctrl+F8"),
            .icon = "go-next",
            .button = "btnSubScript",
            .run = [this] { m_host.stepDocuments(); } },
        { .name = "WordWrapOn1",
            .caption = QStringLiteral("WordWrap On"),
            .kind = K::Checkable,
            .run = [this] { WordWrapOn1Click(); },
            .checked = [this] { return m_host.viewEditor().wordWrap(); },
            .dynamicCaption =
                [this] {
                    return m_host.viewEditor().wordWrap() ? QStringLiteral("WordWrap On")
                                                          : QStringLiteral("WordWrap Off");
                } },
        { .name = "imgToolTips",
            .caption = QStringLiteral("Short-Cut Keys..."),
            .toolTip = QStringLiteral("Short-Cut Keys..."),
            .statusTip = QStringLiteral("Short-Cut Keys..."),
            .icon = "input-keyboard",
            .button = "imgToolTips",
            .run = [this] { imgToolTipsClick(); } },
    };
}

void ViewCommands::ZoomIn1Click()
{
    m_host.setZoomStep(m_host.zoomStep() + 1);
}

void ViewCommands::ZoomOut1Click()
{
    m_host.setZoomStep(m_host.zoomStep() - 1);
}

QString ViewCommands::fullWidthRefusal()
{
    return QStringLiteral("Please unselect thumbnail view before selecting [Full Width] view.");
}

void ViewCommands::FullWidthOutlineLayout1Click(bool fromMenu)
{
    if (m_host.isAnyThumbnailViewOn()) {
        Dialogs::instance().information(fullWidthRefusal());
        return;
    }
    m_fullWidth = true;
    m_host.setFrameSetting(FullWidthLayout, true);
    m_host.setSidePanelsVisible(false);
    m_host.viewEditor().viewport()->update();
    if (fromMenu)
        DesktopSettings().setFullWidthLayout(true);
}

void ViewCommands::CentredOutlineLayout1Click(bool fromMenu)
{
    m_fullWidth = false;
    m_host.setFrameSetting(FullWidthLayout, false);
    m_host.setSidePanelsVisible(true);
    m_host.viewEditor().viewport()->update();
    if (fromMenu)
        DesktopSettings().setFullWidthLayout(false);
}

void ViewCommands::FullHeightViewingLayout1Click()
{
    const bool on = !m_host.frameSetting(FullHeightLayout);
    m_host.setFrameSetting(FullHeightLayout, on);
    m_host.setBarsVisible(!on);
    DesktopSettings().setFullHeightLayout(on);
}

void ViewCommands::EditorSideButtons1Click()
{
    const bool on = !m_host.frameSetting(SideButtons);
    m_host.setFrameSetting(SideButtons, on);
    m_host.setSideButtonsVisible(on);
    DesktopSettings().setViewRulers(on);
}

void ViewCommands::TabbedDocumentInterface1Click()
{
    const bool on = !m_host.frameSetting(TabbedDocument);
    m_host.setFrameSetting(TabbedDocument, on);
    DesktopSettings().setTabbedDocument(on);
}

void ViewCommands::WordWrapOn1Click()
{
    TRxRichEdit &editor = m_host.viewEditor();
    const int start = editor.selStart();
    editor.setWordWrap(!editor.wordWrap());
    editor.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    editor.setHorizontalScrollBarPolicy(editor.wordWrap() ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    editor.setSelection(start, 0);
    m_host.applyZoom();
}

QString ViewCommands::shortcutListText()
{
    return QStringLiteral("Short-Cut keys for the Editor.\n"
                          "^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^\n"
                          "Ctrl + O   -   Open Document...\n"
                          "Ctrl + N   -   New Document...\n"
                          "Ctrl + S   -   Save Document...\n"
                          "Ctrl + P   -   Print Document...\n"
                          "Ctrl + H   -   Document History...\n"
                          "\n"
                          "Ctrl + Home -   Move cursor to start of document\n"
                          "Ctrl + End    -   Move Cursor to end of document\n"
                          "\n"
                          "F7            -   Zoom In\n"
                          "F8            -   Zoom Out\n"
                          "Ctrl + F7   -   Flip to last active document\n"
                          "Ctrl + F8   -   Step to next document\n"
                          "\n"
                          "Ctrl + Z    -   Undo\n"
                          "Ctrl + Y    -   Redo\n"
                          "Ctrl + X    -   Cut\n"
                          "Ctrl + C    -   Copy\n"
                          "Ctrl + V    -   Paste\n"
                          "Ctrl + A    -   Select All\n"
                          "Ctrl + B    -   Bold\n"
                          "Ctrl + I    -   Italic\n"
                          "Ctrl + U    -   Underline\n"
                          "\n"
                          "F3            -   Search Again\n"
                          "Ctrl + F    -   Find Text\n"
                          "Ctrl + R    -   Find and Replace\n"
                          "\n"
                          "Ctrl + Shift + L   -   Step through all bullet styles by toggling the L key\n"
                          "\n"
                          "Ctrl + Alt + P   -   Open Print Preview\n"
                          "Ctrl + Alt + K   -   Enable Format Painter\n"
                          "Ctrl + Alt + T   -   Open Template Library\n"
                          "Ctrl + Alt + O   -   Open Font Dialog Window\n"
                          "Ctrl + Alt + A   -   Open Paragraph Alignment Window");
}

void ViewCommands::imgToolTipsClick()
{
    Dialogs::instance().information(shortcutListText());
}
