#pragma once

#include <QString>
#include <QStringList>

// The program's command line: an optional document to open, or one of the informational options.
struct CommandLine
{
    enum class Action { RunEditor, ShowHelp, ShowVersion, Error };

    Action action = Action::RunEditor;
    QString documentFile; // first non-option argument
    QString error;        // for Action::Error

    static CommandLine parse(const QStringList &arguments); // arguments without the program name
    static QString helpText();
    static QString versionText();
};
