#pragma once

#include "editor/ProtectedFile.h"

#include <QByteArray>
#include <QString>

#include <functional>

class DocumentHost;
class SaveCommands;
class TCryptFile;

// The document window's protection commands ("Protect Document...", "UnProtect Document...") and
// the opening of protected files.
//
// New protection seals the saved file in the password container (ProtectedFile); unprotecting
// reads either that container or a file of the first scheme (through the window's TCryptFile).
// A document opened from a container keeps its password in the window's SaveCommands, so every
// later save writes the container again and its plain bytes never reach the disk.
class DocumentProtection
{
public:
    // closeWindow closes the document window without the close query (the document holds no
    // unsaved changes when it is called).
    DocumentProtection(DocumentHost &host, SaveCommands &save, TCryptFile &crypt, std::function<void()> closeWindow);

    // "Protect Document..." (F10): the saved file becomes a container; the window closes.
    void ProtectDocument1Click();
    // "UnProtect Document..." (F11): the file becomes plain again; the window closes so that it
    // is opened anew.
    void UnProtectDocument1Click();

    enum class OpenResult {
        Read, // *content holds the file's plain bytes
        Unlocked, // *content holds a container's content, opened with *password
        Cancelled, // the user stopped; nothing to show
        Failed, // the reason is in *error, or was shown already when *error is empty
    };
    // The first step of loading a file into the window: a container asks for its password; a file
    // of the first scheme is offered for unprotecting (declined, it is read as it is). Plain text
    // of a container exists only in memory.
    OpenResult openFile(const QString &path, QByteArray *content, QByteArray *password, QString *error);

    void setSaveFileFactory(ProtectedFile::SaveFileFactory factory) { m_factory = std::move(factory); }

    // The texts the commands show.
    static QString invalidLegacyPassword(); // "Invalid Password. Password must be four Characters Long!"
    static QString reopenForViewing(); // "Re-open your Document for viewing."

private:
    enum class LegacyOutcome { Unprotected, BadPassword, Stopped };
    LegacyOutcome unprotectLegacy(const QString &path);
    void unprotectContainer(const QString &path);
    void closeAfterUnprotect();

    DocumentHost &m_host;
    SaveCommands &m_save;
    TCryptFile &m_crypt;
    std::function<void()> m_closeWindow;
    ProtectedFile::SaveFileFactory m_factory = ProtectedFile::defaultSaveFileFactory();
};
