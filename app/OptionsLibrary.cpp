#include "app/OptionsLibrary.h"

#include "platform/AppPaths.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QLibrary>

OptionsLibrary::OptionsLibrary(QString folder)
    : m_folder(folder.isEmpty() ? AppPaths::executableDir() : std::move(folder))
{ }

QString OptionsLibrary::loadErrorMessage()
{
    return QStringLiteral("Unable to load Options.DLL.");
}

QString OptionsLibrary::locateErrorMessage()
{
    return QStringLiteral("Unable to locate Options.DLL.");
}

QString OptionsLibrary::libraryPath() const
{
    return QDir(m_folder).filePath(QStringLiteral("Options"));
}

OptionsLibrary::Result OptionsLibrary::showForm() const
{
    QLibrary library(libraryPath());
    if (!library.load()) {
        Dialogs::instance().error(loadErrorMessage());
        return Result::NotLoaded;
    }
    using ShowFormProc = void (*)();
    const auto showFormProc = reinterpret_cast<ShowFormProc>(library.resolve("ShowForm"));
    if (!showFormProc) {
        library.unload();
        Dialogs::instance().error(locateErrorMessage());
        return Result::NoShowForm;
    }
    showFormProc();
    library.unload();
    return Result::Shown;
}
