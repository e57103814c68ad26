#pragma once

#include "platform/Dialogs.h"

#include <QByteArray>
#include <QString>

class DocumentHost;

// Save, Save As and Save Selected Text As of a document window.
//
// A save that fails leaves everything as it was before the command: the old file (byte for
// byte), the document's name, captions, modified flag and content. The history only hears of
// files that were written.
class SaveCommands
{
public:
    enum class Result {
        Saved, // the file was written
        NotNeeded, // Save of an unmodified document: nothing to write
        Cancelled, // the save dialog was cancelled
        Failed, // the write failed; the reason was shown
    };

    explicit SaveCommands(DocumentHost &host);

    Result save();
    Result saveAs();
    Result saveSelectionAs();

    // Save writes even an unmodified document while this is set (between Save As and its Save).
    bool forceSave() const { return m_forceSave; }
    // Set when Save As wrote the document (the e-mail command asks for it).
    bool savedForMail() const { return m_savedForMail; }
    void setSavedForMail(bool saved) { m_savedForMail = saved; }
    // The save dialog's filter index (1 to 13); it stays with the window and governs its later
    // plain Saves.
    int filterIndex() const { return m_filterIndex; }
    void setFilterIndex(int index) { m_filterIndex = index; }

    // While set, every file the window writes (Save, Save As, Save Selected Text As) is sealed
    // in the password container with it: the document was opened from such a file.
    QByteArray protectionPassword() const { return m_protectionPassword; }
    void setProtectionPassword(const QByteArray &password);

    // The save dialog as Save As shows it (fileName preset, filters, options).
    Dialogs::FileRequest saveDialogRequest(const QString &fileName) const;
    // Save As's preset: the name without its last four characters ("Untitled" stays as it is).
    static QString presetFileName(const QString &documentFileName);

private:
    Result write(const QString &path);

    DocumentHost &m_host;
    bool m_forceSave = false;
    bool m_savedForMail = false;
    int m_filterIndex = 1;
    QByteArray m_protectionPassword;
};
