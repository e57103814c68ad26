#pragma once

#include <QString>

// The startup-options editor: a shared library "Options" (libOptions.so) beside the program,
// whose only entry is `extern "C" void ShowForm()`. Each call loads the library, calls ShowForm,
// which shows the editor modally and may rewrite "WordOptions.bin", and unloads it again.
class OptionsLibrary
{
public:
    enum class Result { Shown, NotLoaded, NoShowForm };

    // `folder`: where the library lies; the program's own folder by default.
    explicit OptionsLibrary(QString folder = {});

    static QString loadErrorMessage(); // "Unable to load Options.DLL."
    static QString locateErrorMessage(); // "Unable to locate Options.DLL."

    // The library's path without prefix and suffix, as handed to QLibrary.
    QString libraryPath() const;

    // Loads, calls and unloads the library; a failure is reported in an error box through
    // Dialogs.
    Result showForm() const;

private:
    QString m_folder;
};
