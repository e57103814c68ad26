#pragma once

#include "editor/commands/Command.h"

class DocumentHost;
class TRxRichEdit;

// Undo, Redo, the clipboard commands, Select All and the two Clear commands. Every command that
// changes the text ends with the window's change handling and a refresh of its page views.
class EditCommands : public CommandArea
{
public:
    EditCommands(TRxRichEdit &editor, DocumentHost &host);

    QList<Command> commands() override;

    void Undo1Click();
    void Redo1Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void SelectAll1Click();
    // The Edit menu's Clear Selection also forgets the cached indents; the pop-up's does not.
    // Clear All forgets the first-line indent.
    void ClearSelection1Click();
    void ClearSelection2Click();
    void ClearAll1Click();

    // "&Undo typing", or "&Undo " when there is nothing to undo; the same for Redo.
    QString undoCaption() const;
    QString redoCaption() const;
    static QString undoTypeName(int type);

    bool canUndo() const;
    bool canRedo() const;
    bool hasSelection() const;
    // Whether the clipboard holds something the control can paste, as last looked up: asking the
    // clipboard is slow on X11, so it is asked when a menu opens and when the clipboard changes.
    bool canPaste() const;
    void updatePasteAvailability();

private:
    void afterChange();

    TRxRichEdit &m_editor;
    DocumentHost &m_host;
    bool m_pasteAvailable = false;
};
