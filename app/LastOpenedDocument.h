#pragma once

#include <QString>

class DocumentHistory;

// What "Last Opened Document" needs of the document window it reloads.
class LastOpenedDocumentHost
{
public:
    virtual ~LastOpenedDocumentHost();
    virtual bool isModified() const = 0;
    virtual bool hasText() const = 0;
    // The window's Save command; false when the document was not written (the save dialog was
    // cancelled or the write failed).
    virtual bool save() = 0;
    virtual void setDocumentFileName(const QString &path) = 0;
    // Loads the file into this window, replacing its content; false (reason shown, content and
    // name unchanged) when it could not be read.
    virtual bool loadDocument(const QString &path) = 0;
    // The caption of the frame's currently selected tab.
    virtual void setTabCaption(const QString &caption) = 0;
};

// Reloads the top entry of the history's displayed list into the current document window.
namespace LastOpenedDocument {

enum class Result {
    Loaded,
    Cancelled, // the user cancelled the save question
    NotSaved, // the user wanted the document saved and the save did not happen: nothing replaced
    EmptyHistory, // "Document History List is Empty."
    Missing, // "Document does not exist or has been deleted."
    LoadFailed, // the file could not be read: the window keeps its content and its name
};

// Asks to save a modified document first, then loads the top displayed entry into the window
// and names its tab after it. The history's order is not changed. Messages go through Dialogs.
Result reload(const DocumentHistory &history, LastOpenedDocumentHost &window);

} // namespace LastOpenedDocument
