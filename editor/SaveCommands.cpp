#include "editor/SaveCommands.h"

#include "editor/DocumentFileFormats.h"
#include "editor/DocumentHost.h"
#include "editor/DocumentIO.h"
#include "editor/WaitCursor.h"
#include "editor/richtext/RxRichEdit.h"

#include <QFileInfo>

using Formats = DocumentFileFormats;

namespace {

QString withoutFolder(const QString &path)
{
    return QFileInfo(path).fileName();
}

QString titleFor(const QString &path)
{
    return withoutFolder(path) + QStringLiteral(" - Velmora Lumaro");
}

} // namespace

SaveCommands::SaveCommands(DocumentHost &host)
    : m_host(host)
{ }

QString SaveCommands::presetFileName(const QString &documentFileName)
{
    if (documentFileName == DocumentHost::untitled())
        return documentFileName;
    return documentFileName.chopped(std::min<qsizetype>(4, documentFileName.size()));
}

Dialogs::FileRequest SaveCommands::saveDialogRequest(const QString &fileName) const
{
    Dialogs::FileRequest request;
    request.title = QStringLiteral("Save As");
    request.initialDir = m_host.saveFolder();
    request.fileName = fileName;
    request.filters = Formats::saveFilters();
    request.filterIndex = m_filterIndex;
    request.defaultSuffix = QStringLiteral("rtf");
    request.overwritePrompt = true;
    return request;
}

SaveCommands::Result SaveCommands::write(const QString &path)
{
    TRxRichEdit &editor = m_host.editor();
    const Formats::WriteFormat format = Formats::writeFormat(path, m_filterIndex);
    const bool plain = format == Formats::WriteFormat::PlainAnsi || format == Formats::WriteFormat::PlainUnicode;
    QString error;
    bool ok = false;
    {
        WaitCursor wait;
        ok = m_protectionPassword.isEmpty()
            ? DocumentIO::save(editor, path, format, false, &error)
            : DocumentIO::saveProtected(editor, path, format, false, m_protectionPassword, &error);
    }
    if (!ok) {
        Dialogs::instance().error(error);
        return Result::Failed;
    }
    // What was written as plain text is what the window holds from now on: the formatting and
    // embedded objects are gone from the open document too. The control then goes back to rich
    // text mode with that plain text.
    if (plain) {
        editor.setPlainTextMode(true);
        editor.setPlainTextMode(false);
    }
    return Result::Saved;
}

void SaveCommands::setProtectionPassword(const QByteArray &password)
{
    m_protectionPassword.fill('\0');
    m_protectionPassword = password;
}

SaveCommands::Result SaveCommands::save()
{
    TRxRichEdit &editor = m_host.editor();
    const int selStart = editor.selStart();
    const QString path = m_host.documentFileName();
    if (path == DocumentHost::untitled())
        return saveAs();
    if (!editor.isModified() && !m_forceSave)
        return Result::NotNeeded;

    m_host.setSelectedTabCaption(withoutFolder(path));
    const Result result = write(path);
    if (result != Result::Saved)
        return result;
    m_forceSave = false;
    if (Formats::isPlainText(path) || Formats::writeFormat(path, m_filterIndex) == Formats::WriteFormat::PlainUnicode) {
        editor.setSelection(std::min(selStart, editor.textLength()), 0);
        m_host.applyZoom();
    }
    m_host.setModifiedIndicator(false);
    return Result::Saved;
}

SaveCommands::Result SaveCommands::saveAs()
{
    const QString oldName = m_host.documentFileName();
    const Dialogs::FileResult chosen = Dialogs::instance().saveFile(saveDialogRequest(presetFileName(oldName)));
    if (!chosen.accepted())
        return Result::Cancelled;
    const int oldFilter = m_filterIndex;
    if (chosen.filterIndex >= 1 && chosen.filterIndex <= Formats::SaveFilterCount)
        m_filterIndex = chosen.filterIndex;
    const QString path = chosen.file();

    m_host.setDocumentFileName(path);
    m_host.setSelectedTabCaption(withoutFolder(path));
    m_host.setWindowCaption(path);
    m_host.setApplicationTitle(titleFor(path));
    m_forceSave = true;
    const Result result = save();
    m_forceSave = false;
    if (result != Result::Saved) {
        // The document keeps its old name: no file of the new name holds it.
        m_filterIndex = oldFilter;
        m_host.setDocumentFileName(oldName);
        m_host.setSelectedTabCaption(
            oldName == DocumentHost::untitled() ? QStringLiteral("New Document") : withoutFolder(oldName));
        m_host.setWindowCaption(oldName);
        m_host.setApplicationTitle(titleFor(oldName));
        return result;
    }
    m_savedForMail = true;
    m_host.recordSavedAs(path, m_filterIndex);
    return result;
}

SaveCommands::Result SaveCommands::saveSelectionAs()
{
    const Dialogs::FileResult chosen = Dialogs::instance().saveFile(saveDialogRequest(QString()));
    if (!chosen.accepted()) {
        m_host.focusEditor();
        return Result::Cancelled;
    }
    const QString path = chosen.file();
    const int filter = chosen.filterIndex >= 1 ? chosen.filterIndex : m_filterIndex;
    QString error;
    bool ok = false;
    {
        WaitCursor wait;
        const Formats::WriteFormat format = Formats::writeFormat(path, filter);
        ok = m_protectionPassword.isEmpty()
            ? DocumentIO::save(m_host.editor(), path, format, true, &error)
            : DocumentIO::saveProtected(m_host.editor(), path, format, true, m_protectionPassword, &error);
    }
    if (ok)
        m_host.recordSavedSelection(path);
    else
        Dialogs::instance().error(error);
    m_host.runChangeHandler();
    m_host.focusEditor();
    return ok ? Result::Saved : Result::Failed;
}
