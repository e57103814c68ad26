#include "editor/DocumentProtection.h"

#include "editor/Crypt.h"
#include "editor/DocumentHost.h"
#include "editor/DocumentIO.h"
#include "editor/SaveCommands.h"
#include "editor/WaitCursor.h"
#include "editor/richtext/RxRichEdit.h"
#include "platform/Dialogs.h"
#include "platform/crypto/LegacyCipher.h"
#include "platform/crypto/ProtectedContainer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using Status = ProtectedContainer::Status;

namespace {

void plain(const QString &text)
{
    Dialogs::instance().message(Dialogs::Icon::None, QString(), text, Dialogs::Buttons::Ok);
}

bool yes(const QString &question)
{
    return Dialogs::instance().confirm(question, Dialogs::Buttons::YesNo) == Dialogs::Yes;
}

bool validContainerPassword(const QByteArray &password)
{
    return password.size() >= ProtectedContainer::MinPasswordBytes
        && password.size() <= ProtectedContainer::MaxPasswordBytes;
}

const QString protectTitle = QStringLiteral("Protect Document");
const QString unprotectTitle = QStringLiteral("Unprotect Document");

} // namespace

DocumentProtection::DocumentProtection(
    DocumentHost &host, SaveCommands &save, TCryptFile &crypt, std::function<void()> closeWindow)
    : m_host(host)
    , m_save(save)
    , m_crypt(crypt)
    , m_closeWindow(std::move(closeWindow))
{ }

QString DocumentProtection::invalidLegacyPassword()
{
    return QStringLiteral("Invalid Password. Password must be four Characters Long!");
}

QString DocumentProtection::reopenForViewing()
{
    return QStringLiteral("Re-open your Document for viewing.");
}

void DocumentProtection::ProtectDocument1Click()
{
    const QString path = m_host.documentFileName();
    if (path == DocumentHost::untitled()) {
        plain(QStringLiteral("Document must already be saved before protecting it!"));
        m_host.focusEditor();
        return;
    }
    // Only what is safely on disk is protected: a save that fails or is cancelled stops here.
    if (m_host.editor().isModified() && m_save.save() != SaveCommands::Result::Saved) {
        m_host.focusEditor();
        return;
    }

    Dialogs &dialogs = Dialogs::instance();
    const std::optional<QString> first
        = dialogs.inputPassword(protectTitle, QStringLiteral("Enter a password for the document (1 to 1024 bytes):"));
    if (!first) {
        m_host.focusEditor();
        return;
    }
    const std::optional<QString> second
        = dialogs.inputPassword(protectTitle, QStringLiteral("Enter the same password again:"));
    if (!second) {
        m_host.focusEditor();
        return;
    }
    if (yes(QStringLiteral("Continue with Protection?"))) {
        const QByteArray password = first->toUtf8();
        if (!validContainerPassword(password)) {
            plain(ProtectedContainer::message(Status::InvalidPassword));
        } else if (*first != *second) {
            plain(QStringLiteral("The two passwords differ. The document was not protected."));
        } else {
            QString error;
            bool ok = false;
            {
                WaitCursor wait;
                const QByteArray current = m_save.protectionPassword();
                ok = ProtectedFile::protect(path, password, m_factory, &error, current.isEmpty() ? nullptr : &current);
            }
            if (ok) {
                plain(QStringLiteral("Do not forget your password!"));
                m_closeWindow();
                return;
            }
            Dialogs::instance().error(error);
        }
    }
    m_host.focusEditor();
}

void DocumentProtection::UnProtectDocument1Click()
{
    const QString path = m_host.documentFileName();
    if (path == DocumentHost::untitled()) {
        plain(QStringLiteral("Document must already be saved before unprotecting it!"));
    } else if (m_host.editor().isModified()) {
        plain(QStringLiteral("Save Document before Protection"));
    } else if (ProtectedFile::kindOfFile(path) == ProtectedFile::Kind::Container) {
        unprotectContainer(path);
        return;
    } else if (unprotectLegacy(path) != LegacyOutcome::Stopped) {
        // Also after "Bad password !": the window shows the file's protected bytes.
        closeAfterUnprotect();
        return;
    }
    m_host.focusEditor();
}

void DocumentProtection::closeAfterUnprotect()
{
    plain(reopenForViewing());
    m_closeWindow();
}

DocumentProtection::LegacyOutcome DocumentProtection::unprotectLegacy(const QString &path)
{
    const std::optional<QString> answer = Dialogs::instance().inputText(unprotectTitle,
        QStringLiteral("Please enter your four Character password."), QStringLiteral("Enter Password - eg. %7&K"));
    if (!answer || !yes(QStringLiteral("Continue with Unprotection?")))
        return LegacyOutcome::Stopped;
    if (answer->isEmpty() || answer->size() > LegacyCipher::MaxPasswordLength) {
        plain(invalidLegacyPassword());
        return LegacyOutcome::Stopped;
    }
    m_crypt.setPassword(*answer);
    m_crypt.setInfile(path);
    m_crypt.setOutfile(path);
    TCryptFile::Result result;
    {
        WaitCursor wait;
        result = m_crypt.Decrypt();
    }
    switch (result) {
    case TCryptFile::Result::Done:
        return LegacyOutcome::Unprotected;
    case TCryptFile::Result::BadPassword:
        return LegacyOutcome::BadPassword;
    case TCryptFile::Result::Declined:
        return LegacyOutcome::Stopped;
    case TCryptFile::Result::Failed:
        Dialogs::instance().error(m_crypt.errorString());
        return LegacyOutcome::Stopped;
    }
    return LegacyOutcome::Stopped;
}

void DocumentProtection::unprotectContainer(const QString &path)
{
    const std::optional<QString> answer
        = Dialogs::instance().inputPassword(unprotectTitle, QStringLiteral("Please enter the document's password."));
    if (!answer || !yes(QStringLiteral("Continue with Unprotection?"))) {
        m_host.focusEditor();
        return;
    }
    const QByteArray password = answer->toUtf8();
    if (!validContainerPassword(password)) {
        plain(ProtectedContainer::message(Status::InvalidPassword));
        m_host.focusEditor();
        return;
    }
    QString error;
    Status status = Status::Ok;
    bool ok = false;
    {
        WaitCursor wait;
        ok = ProtectedFile::unprotect(path, password, m_factory, &error, &status);
    }
    if (ok) {
        m_save.setProtectionPassword({});
        closeAfterUnprotect();
        return;
    }
    if (status == Status::WrongPassword) {
        plain(error);
        closeAfterUnprotect();
        return;
    }
    Dialogs::instance().error(error);
    m_host.focusEditor();
}

DocumentProtection::OpenResult DocumentProtection::openFile(
    const QString &path, QByteArray *content, QByteArray *password, QString *error)
{
    Dialogs &dialogs = Dialogs::instance();
    error->clear();
    switch (ProtectedFile::kindOfFile(path)) {
    case ProtectedFile::Kind::Plain:
        break;
    case ProtectedFile::Kind::Container: {
        const std::optional<QString> answer = dialogs.inputPassword(QStringLiteral("Open Protected Document"),
            QStringLiteral("The document \"%1\" is protected.\nPlease enter its password.")
                .arg(QFileInfo(path).fileName()));
        if (!answer)
            return OpenResult::Cancelled;
        const QByteArray given = answer->toUtf8();
        if (!validContainerPassword(given)) {
            plain(ProtectedContainer::message(Status::InvalidPassword));
            return OpenResult::Failed;
        }
        bool ok = false;
        {
            WaitCursor wait;
            ok = ProtectedFile::read(path, given, content, error);
        }
        if (!ok)
            return OpenResult::Failed;
        *password = given;
        return OpenResult::Unlocked;
    }
    case ProtectedFile::Kind::Legacy:
        if (yes(QStringLiteral("The document \"%1\" is protected the old way.\nDo you want to unprotect it now?")
                    .arg(QFileInfo(path).fileName()))) {
            switch (unprotectLegacy(path)) {
            case LegacyOutcome::Unprotected:
                break; // read below, now plain
            case LegacyOutcome::BadPassword:
                return OpenResult::Failed;
            case LegacyOutcome::Stopped:
                return OpenResult::Cancelled;
            }
        }
        // Declined: the file is read as it is (the recognition may also meet an unprotected file).
        break;
    }
    if (!DocumentIO::readFile(path, content, error))
        return OpenResult::Failed;
    return OpenResult::Read;
}
