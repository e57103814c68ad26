#include "app/LastOpenedDocument.h"

#include "app/DocumentHistory.h"
#include "platform/Dialogs.h"

#include <QFileInfo>

LastOpenedDocumentHost::~LastOpenedDocumentHost() = default;

namespace LastOpenedDocument {

Result reload(const DocumentHistory &history, LastOpenedDocumentHost &window)
{
    if (window.hasText() && window.isModified()) {
        const Dialogs::Button answer
            = Dialogs::instance().confirm(QStringLiteral("Save current document?"), Dialogs::Buttons::YesNoCancel);
        if (answer == Dialogs::Cancel)
            return Result::Cancelled;
        // Loading replaces the window's content: without the save the user's work would be lost.
        if (answer == Dialogs::Yes && !window.save())
            return Result::NotSaved;
    }
    const QString path = history.firstEntry();
    if (path.isEmpty()) {
        Dialogs::instance().information(QStringLiteral("Document History List is Empty."));
        return Result::EmptyHistory;
    }
    if (!QFileInfo(path).isFile()) {
        Dialogs::instance().information(QStringLiteral("Document does not exist or has been deleted."));
        return Result::Missing;
    }
    // The window takes the file's name only once the file was read: a failed load keeps the
    // window's own name, so its next Save cannot overwrite the unread file.
    if (!window.loadDocument(path))
        return Result::LoadFailed;
    window.setDocumentFileName(path);
    window.setTabCaption(QFileInfo(path).fileName());
    return Result::Loaded;
}

} // namespace LastOpenedDocument
