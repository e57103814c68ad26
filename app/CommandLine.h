#pragma once

#include <QString>
#include <QStringList>

// The program's command line: an optional document to open, a batch conversion, or one of the
// informational options.
struct CommandLine
{
    enum class Action { RunEditor, Convert, Print, ShowHelp, ShowVersion, Error };

    Action action = Action::RunEditor;
    QString documentFile; // RunEditor: the first non-option argument
    QString error; // Error: what was wrong

    // Convert: --convert-to FORMAT [--outdir DIR] [--jobs N] FILE...
    QString convertFormat;
    QString outputDir; // empty: the current folder
    int jobs = 0; // --jobs N: documents converted side by side; 0: one per core
    QStringList inputFiles; // Convert and Print

    // Print: --print [--printer NAME] FILE...
    QString printerName; // empty: the default printer

    static CommandLine parse(const QStringList &arguments); // arguments without the program name
    static QString helpText();
    static QString versionText();
};
