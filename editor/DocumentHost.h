#pragma once

#include <QString>

class TRxRichEdit;

// What the document commands (saving, the close query) need of the
// document window that runs them. The window implements it; tests may implement it alone.
class DocumentHost
{
public:
    virtual ~DocumentHost() = default;

    virtual TRxRichEdit &editor() = 0;
    // The full path of the document's file, or "Untitled".
    virtual QString documentFileName() const = 0;
    virtual void setDocumentFileName(const QString &path) = 0;
    // The window's caption (the full path).
    virtual void setWindowCaption(const QString &caption) = 0;
    // The caption of the frame's currently selected tab.
    virtual void setSelectedTabCaption(const QString &caption) = 0;
    virtual void setApplicationTitle(const QString &title) = 0;
    virtual void setModifiedIndicator(bool modified) = 0;
    virtual void applyZoom() = 0;
    virtual void runChangeHandler() = 0;
    virtual void focusEditor() = 0;
    // The initial folder of the save dialog.
    virtual QString saveFolder() const = 0;

    // The document history.
    virtual void recordSavedAs(const QString &path, int filterIndex) = 0;
    virtual void recordSavedSelection(const QString &path) = 0;

    // Re-paginates or redraws the visible page view after a change of the text.
    virtual void refreshPageViews() { }
    // The selection-change handler of the window (status bar, toolbar state).
    virtual void runSelectionChangeHandler() { }
    // The paragraph indents (twips) the indent commands step from; refreshed on selection change.
    // A negative value keeps that indent.
    virtual void setCachedIndents(int firstIndent, int leftIndent)
    {
        Q_UNUSED(firstIndent);
        Q_UNUSED(leftIndent);
    }

    static QString untitled() { return QStringLiteral("Untitled"); }
};
