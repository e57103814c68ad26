#include "editor/CloseQuery.h"

#include "editor/DocumentHost.h"
#include "editor/SaveCommands.h"
#include "editor/richtext/RxRichEdit.h"
#include "platform/Dialogs.h"

#include <QFileInfo>

QString CloseQuery::question(const QString &documentFileName)
{
    const QString name
        = documentFileName == DocumentHost::untitled() ? documentFileName : QFileInfo(documentFileName).fileName();
    return QStringLiteral("Do you want to save changes to \"%1\"?").arg(name);
}

bool CloseQuery::mayClose(DocumentHost &host, SaveCommands &save)
{
    if (!host.editor().isModified())
        return true;
    switch (Dialogs::instance().confirm(question(host.documentFileName()), Dialogs::Buttons::YesNoCancel)) {
    case Dialogs::No:
        return true;
    case Dialogs::Yes: {
        const SaveCommands::Result result = save.save();
        return result == SaveCommands::Result::Saved || result == SaveCommands::Result::NotNeeded;
    }
    default:
        return false;
    }
}
