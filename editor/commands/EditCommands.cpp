#include "editor/commands/EditCommands.h"

#include "editor/DocumentHost.h"
#include "editor/richtext/RxRichEdit.h"

#include <QKeySequence>
#include <QTextDocument>

EditCommands::EditCommands(TRxRichEdit &editor, DocumentHost &host)
    : m_editor(editor)
    , m_host(host)
{
    updatePasteAvailability();
}

QList<Command> EditCommands::commands()
{
    return {
        { .name = "Undo1",
            .caption = QStringLiteral("&Undo "),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_Z),
            .toolTip = QStringLiteral("Undo"),
            .statusTip = QStringLiteral("Undo the Previous Action."),
            .icon = "edit-undo",
            .button = "btnUndo",
            .run = [this] { Undo1Click(); },
            .enabled = [this] { return canUndo(); },
            .dynamicCaption = [this] { return undoCaption(); } },
        { .name = "Redo1",
            .caption = QStringLiteral("&Redo "),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_Y),
            .toolTip = QStringLiteral("Redo"),
            .statusTip = QStringLiteral("Redo the Previous Action."),
            .icon = "edit-redo",
            .button = "btnRedo",
            .run = [this] { Redo1Click(); },
            .enabled = [this] { return canRedo(); },
            .dynamicCaption = [this] { return redoCaption(); } },
        { .name = "Cut1",
            .caption = QStringLiteral("Cu&t"),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_X),
            .toolTip = QStringLiteral("Cut"),
            .statusTip = QStringLiteral("Cuts the Selection to the Clipboard."),
            .icon = "edit-cut",
            .button = "btnCut",
            .run = [this] { Cut1Click(); },
            .enabled = [this] { return hasSelection(); } },
        { .name = "Copy1",
            .caption = QStringLiteral("&Copy"),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_C),
            .toolTip = QStringLiteral("Copy"),
            .statusTip = QStringLiteral("Copies the Selection to the Clipboard."),
            .icon = "edit-copy",
            .button = "btnCopy",
            .run = [this] { Copy1Click(); },
            .enabled = [this] { return hasSelection(); } },
        { .name = "Paste1",
            .caption = QStringLiteral("&Paste"),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_V),
            .toolTip = QStringLiteral("Paste"),
            .statusTip = QStringLiteral("Paste the Contents of the Clipboard."),
            .icon = "edit-paste",
            .button = "btnPaste",
            .run = [this] { Paste1Click(); },
            .enabled = [this] { return canPaste(); } },
        { .name = "SelectAll1",
            .caption = QStringLiteral("Select &All"),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_A),
            .statusTip = QStringLiteral("Select All Text."),
            .icon = "edit-select-all",
            .run = [this] { SelectAll1Click(); } },
        { .name = "ClearSelection1",
            .caption = QStringLiteral("C&lear Selection"),
            .shortcut = QKeySequence(Qt::CTRL | Qt::Key_D),
            .statusTip = QStringLiteral("Delete the Selected Text."),
            .icon = "edit-delete",
            .run = [this] { ClearSelection1Click(); },
            .enabled = [this] { return hasSelection(); } },
        { .name = "ClearSelection2",
            .caption = QStringLiteral("Clear Selection"),
            .statusTip = QStringLiteral("Delete the Selected Text."),
            .icon = "edit-delete",
            .run = [this] { ClearSelection2Click(); },
            .enabled = [this] { return hasSelection(); } },
        { .name = "ClearAll1",
            .caption = QStringLiteral("Clear All"),
            .statusTip = QStringLiteral("Delete All Text."),
            .icon = "edit-clear-all",
            .run = [this] { ClearAll1Click(); },
            .enabled = [this] { return m_editor.textLength() > 0; } },
    };
}

QString EditCommands::undoTypeName(int type)
{
    switch (type) {
    case TRxRichEdit::UndoTyping:
        return QStringLiteral("typing");
    case TRxRichEdit::UndoDelete:
        return QStringLiteral("delete");
    case TRxRichEdit::UndoDragDrop:
        return QStringLiteral("drag and drop");
    case TRxRichEdit::UndoCut:
        return QStringLiteral("cut");
    case TRxRichEdit::UndoPaste:
        return QStringLiteral("paste");
    default:
        return QString();
    }
}

QString EditCommands::undoCaption() const
{
    return QStringLiteral("&Undo ") + (canUndo() ? undoTypeName(m_editor.undoType()) : QString());
}

QString EditCommands::redoCaption() const
{
    return QStringLiteral("&Redo ") + (canRedo() ? undoTypeName(m_editor.redoType()) : QString());
}

bool EditCommands::canUndo() const
{
    return m_editor.document()->isUndoAvailable();
}

bool EditCommands::canRedo() const
{
    return m_editor.document()->isRedoAvailable();
}

bool EditCommands::hasSelection() const
{
    return m_editor.selLength() > 0;
}

bool EditCommands::canPaste() const
{
    return m_pasteAvailable;
}

void EditCommands::updatePasteAvailability()
{
    m_pasteAvailable = m_editor.canPasteFromClipboard();
}

void EditCommands::afterChange()
{
    m_host.runChangeHandler();
    m_host.runSelectionChangeHandler();
    m_host.refreshPageViews();
}

void EditCommands::Undo1Click()
{
    m_editor.undo();
    afterChange();
}

void EditCommands::Redo1Click()
{
    m_editor.redo();
    afterChange();
}

void EditCommands::Cut1Click()
{
    m_editor.cut();
    m_host.refreshPageViews();
}

void EditCommands::Copy1Click()
{
    m_editor.copy();
}

void EditCommands::Paste1Click()
{
    m_editor.paste();
    m_host.refreshPageViews();
}

void EditCommands::SelectAll1Click()
{
    m_editor.selectAll();
}

void EditCommands::ClearSelection1Click()
{
    // The indents are forgotten before the text goes, so the selection-change handler that the
    // delete runs reads the indents of the paragraph the caret lands in.
    m_host.setCachedIndents(0, 0);
    m_editor.deleteSelection();
    m_host.refreshPageViews();
}

void EditCommands::ClearSelection2Click()
{
    m_editor.deleteSelection();
    m_host.refreshPageViews();
}

void EditCommands::ClearAll1Click()
{
    m_host.setCachedIndents(0, -1);
    m_editor.clearAllText();
    m_host.refreshPageViews();
}
